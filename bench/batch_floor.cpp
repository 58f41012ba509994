// The floors of a batch: for each parameter file, the file operations
// korvex --batch makes, with nothing computed: the file read, an old table
// removed, the new one created and its 1,440 bytes written and synced;
// then, for a group of 32 tables, the folder's sync, and each table named
// in one write.
//   korvex_batch_floor --batch FILE.dat...      one FILE after another, each table synced alone
//   korvex_batch_floor --at-once FILE.dat...    one after another, the group's syncs at once, a thread each
//   korvex_batch_floor --parallel FILE.dat...   the group's 32 FILEs given to 32 threads
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

static char table[1440];

// FILE's table written (and, unless kept, synced and closed): its descriptor, 0, or -1.
static int place(const char *file, bool keep)
{
	char in[4096];
	std::string imp = std::string(file, strlen(file) - 4) + ".imp";
	int fd = open(file, O_RDONLY);
	if (fd < 0 || read(fd, in, sizeof in) < 0 || close(fd) != 0)
		return -1;
	unlink(imp.c_str());
	fd = open(imp.c_str(), O_CREAT | O_EXCL | O_RDWR, 0666);
	if (fd < 0 || write(fd, table, sizeof table) != (ssize_t)sizeof table)
		return -1;
	return keep ? fd : fsync(fd) != 0 || close(fd) != 0 ? -1 : 0;
}

int main(int argc, char **argv)
{
	memset(table, ' ', sizeof table);
	const bool at_once = strcmp(argv[1], "--at-once") == 0, parallel = strcmp(argv[1], "--parallel") == 0;
	for (int at = 2; at < argc; at += 32) {
		int n = argc - at < 32 ? argc - at : 32;
		std::vector<int> fds(n);
		std::vector<std::thread> threads;
		for (int k = 0; k < n; k++)
			if (parallel)
				threads.emplace_back([&fds, k, file = argv[at + k]] { fds[k] = place(file, false); });
			else
				fds[k] = place(argv[at + k], at_once);
		for (int k = 0; at_once && k < n; k++)
			threads.emplace_back([fd = fds[k]] { fsync(fd); });
		for (std::thread &t : threads)
			t.join();
		int dir = open(".", O_RDONLY | O_DIRECTORY);
		if (dir < 0 || fsync(dir) != 0 || close(dir) != 0)
			return 3;
		for (int k = 0; k < n; k++) {
			std::string line = std::string(argv[at + k], strlen(argv[at + k]) - 4) + ".imp\n";
			if (fds[k] < 0 || (at_once && close(fds[k]) != 0) || write(1, line.data(), line.size()) != (ssize_t)line.size())
				return 3;
		}
	}
	return 0;
}
