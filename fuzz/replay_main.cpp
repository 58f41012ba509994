// Runs a fuzz target over files and directories of inputs, so that its
// corpus (and every input a fuzzer ever found) is an ordinary regression
// test. Builds with any compiler; no libFuzzer needed.
#include <dirent.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static int replay_file(const std::string &path)
{
	FILE *f = fopen(path.c_str(), "rb");
	if (!f) {
		perror(path.c_str());
		return 1;
	}
	std::vector<uint8_t> bytes;
	uint8_t buf[65536];
	size_t n;
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		bytes.insert(bytes.end(), buf, buf + n);
	fclose(f);
	LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
	return 0;
}

static int replay(const std::string &path, int *count)
{
	struct stat st;
	if (stat(path.c_str(), &st) != 0) {
		perror(path.c_str());
		return 1;
	}
	if (!S_ISDIR(st.st_mode)) {
		++*count;
		return replay_file(path);
	}
	DIR *d = opendir(path.c_str());
	int failures = 0;
	while (struct dirent *e = readdir(d)) {
		if (e->d_name[0] != '.')
			failures += replay(path + "/" + e->d_name, count);
	}
	closedir(d);
	return failures;
}

int main(int argc, char **argv)
{
	int failures = 0, count = 0;
	for (int i = 1; i < argc; i++)
		failures += replay(argv[i], &count);
	printf("replayed %d inputs\n", count);
	return failures != 0 || count == 0;
}
