// The floors of a check, korvex_check_floor --check|--parallel FILE.dat...:
// for each parameter file, the file operations korvex --check makes, with
// nothing computed: FILE.dat read, FILE.imp read and its 1,440 bytes
// compared with the table of the first, and a line written; one FILE
// after another, or (--parallel) a group of 32 FILEs given to 32
// threads, the group's lines then written in FILE order.
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

static char table[1440];

// FILE's line, or "" where a file cannot be read.
static std::string check(const char *file)
{
	std::string base(file, strlen(file) - 4);
	char in[4096], old[1441];
	ssize_t n;
	int fd = open((base + ".dat").c_str(), O_RDONLY);
	if (fd < 0 || read(fd, in, sizeof in) < 0 || close(fd) != 0)
		return "";
	fd = open((base + ".imp").c_str(), O_RDONLY);
	if (fd < 0 || (n = read(fd, old, sizeof old)) < 0 || close(fd) != 0)
		return "";
	return base + ".imp: " + (n == 1440 && memcmp(old, table, 1440) == 0 ? "same\n" : "differs\n");
}

int main(int argc, char **argv)
{
	const int group = strcmp(argv[1], "--parallel") == 0 ? 32 : 1;
	int fd = open((std::string(argv[2], strlen(argv[2]) - 4) + ".imp").c_str(), O_RDONLY);   // the table all are compared with
	if (fd < 0 || read(fd, table, sizeof table) != (ssize_t)sizeof table || close(fd) != 0)
		return 3;
	std::vector<std::string> lines(group);
	for (int at = 2; at < argc; at += group) {
		int n = argc - at < group ? argc - at : group;
		std::vector<std::thread> threads;
		for (int k = 0; k < n; k++)
			if (group == 1)
				lines[k] = check(argv[at + k]);
			else
				threads.emplace_back([&lines, k, base = argv[at + k]] { lines[k] = check(base); });
		for (std::thread &t : threads)
			t.join();
		for (int k = 0; k < n; k++)
			if (lines[k].empty() || write(1, lines[k].data(), lines[k].size()) != (ssize_t)lines[k].size())
				return 3;
	}
	return 0;
}
