// The floor of a batch, korvex_batch_floor --batch FILE.dat...: for each
// parameter file, the file operations korvex --batch makes, with nothing
// computed: the file read, an old table removed, the new one created and
// its 1,440 bytes written and synced; then the folder synced once and
// each table named in one write.
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <string>

int main(int argc, char **argv)
{
	static char table[1440], in[4096];
	memset(table, ' ', sizeof table);
	std::string listing;
	for (int i = 2; i < argc; i++) {
		std::string imp = std::string(argv[i], strlen(argv[i]) - 4) + ".imp";
		int fd = open(argv[i], O_RDONLY);
		if (fd < 0 || read(fd, in, sizeof in) < 0 || close(fd) != 0)
			return 3;
		unlink(imp.c_str());
		fd = open(imp.c_str(), O_CREAT | O_EXCL | O_RDWR, 0666);
		if (fd < 0 || write(fd, table, sizeof table) != (ssize_t)sizeof table || fsync(fd) != 0 || close(fd) != 0)
			return 3;
		listing += imp + "\n";
	}
	int dir = open(".", O_RDONLY | O_DIRECTORY);
	if (dir < 0 || fsync(dir) != 0 || close(dir) != 0)
		return 3;
	for (size_t at = 0, end; (end = listing.find('\n', at)) != std::string::npos; at = end + 1)
		if (write(1, listing.data() + at, end + 1 - at) != (ssize_t)(end + 1 - at))
			return 3;
	return 0;
}
