// The floors of a batch: for each parameter file, the file operations
// korvex --batch makes, with nothing computed: the file read, an old table
// removed, the new one created and its 1,440 bytes written; then, for a
// group of 32 tables, their syncs and the folder's, and each table named
// in one write.
//   korvex_batch_floor --batch FILE.dat...     each table synced alone, as it is written
//   korvex_batch_floor --at-once FILE.dat...   the group's tables synced at once, a thread each
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

int main(int argc, char **argv)
{
	static char table[1440], in[4096];
	memset(table, ' ', sizeof table);
	bool at_once = strcmp(argv[1], "--at-once") == 0;
	std::string listing;
	std::vector<int> group;   // at once: the tables written, not yet synced
	int n = 0;
	for (int i = 2; i < argc; i++) {
		std::string imp = std::string(argv[i], strlen(argv[i]) - 4) + ".imp";
		int fd = open(argv[i], O_RDONLY);
		if (fd < 0 || read(fd, in, sizeof in) < 0 || close(fd) != 0)
			return 3;
		unlink(imp.c_str());
		fd = open(imp.c_str(), O_CREAT | O_EXCL | O_RDWR, 0666);
		if (fd < 0 || write(fd, table, sizeof table) != (ssize_t)sizeof table ||
		    (at_once ? (group.push_back(fd), false) : fsync(fd) != 0 || close(fd) != 0))
			return 3;
		listing += imp + "\n";
		if (++n % 32 != 0 && i + 1 < argc)
			continue;
		std::vector<std::thread> syncs;
		for (int kept : group)
			syncs.emplace_back([kept] { fsync(kept); });
		for (std::thread &t : syncs)
			t.join();
		for (int kept : group)
			if (close(kept) != 0)
				return 3;
		int dir = open(".", O_RDONLY | O_DIRECTORY);
		if (dir < 0 || fsync(dir) != 0 || close(dir) != 0)
			return 3;
		for (size_t at = 0, end; (end = listing.find('\n', at)) != std::string::npos; at = end + 1)
			if (write(1, listing.data() + at, end + 1 - at) != (ssize_t)(end + 1 - at))
				return 3;
		listing.clear();
		group.clear();
	}
	return 0;
}
