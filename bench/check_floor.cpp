// The floor of a check, korvex_check_floor --check BASE...: for each
// parameter file, the file operations korvex --check makes, with nothing
// computed: BASE.dat read, BASE.imp read and its 1,440 bytes compared
// with the table of the first, and a line written.
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <string>

int main(int argc, char **argv)
{
	static char table[1440], in[4096], old[1441];
	for (int i = 2; i < argc; i++) {
		std::string base = argv[i];
		ssize_t n;
		int fd = open((base + ".dat").c_str(), O_RDONLY);
		if (fd < 0 || read(fd, in, sizeof in) < 0 || close(fd) != 0)
			return 3;
		fd = open((base + ".imp").c_str(), O_RDONLY);
		if (fd < 0 || (n = read(fd, old, sizeof old)) < 0 || close(fd) != 0)
			return 3;
		if (i == 2)
			memcpy(table, old, sizeof table);
		std::string line = base + ".imp: " + (n == 1440 && memcmp(old, table, 1440) == 0 ? "same\n" : "differs\n");
		if (write(1, line.data(), line.size()) != (ssize_t)line.size())
			return 3;
	}
	return 0;
}
