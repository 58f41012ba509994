// Fuzz target: arbitrary bytes as <base>.dat through one whole run of the
// main program in this process. A run that stops must leave a complete
// table of 80 records; a run that fails may only fail on the parameters,
// leaving the new table empty.
#include "escape.h"
#include "runtime/f2c.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>

namespace {

// A scratch directory of its own, named by an absolute path short enough
// to be typed as the base name (the fuzzer itself may use relative paths,
// so the working directory stays as it is).
const std::string &scratch_directory()
{
	static std::string dir;
	if (dir.empty()) {
		char tmpl[] = "/tmp/kfz-XXXXXX";
		if (!mkdtemp(tmpl))
			abort();
		dir = tmpl;
		atexit([] { remove_tree(dir); });   // a run that crashes leaves it for a look
	}
	return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	const std::string base = scratch_directory() + "/f";
	const std::string dat = base + ".dat", imp = base + ".imp";
	FILE *f = fopen(dat.c_str(), "wb");
	fwrite(data, 1, size, f);
	fclose(f);
	// every other input finds an old table to replace
	if (size % 2)
		fclose(fopen(imp.c_str(), "wb"));
	else
		unlink(imp.c_str());

	static std::string console;
	console = base + "\n0\n";
	reset_console(console.data(), console.size());
	if (setjmp(escape_point) == 0)
		MAIN__();

	CHECK(access(imp.c_str(), F_OK) == 0);   // the new table exists, whatever happened
	std::string table = slurp(imp);
	if (escape_status != 0) {
		CHECK(table.empty());
		return 0;
	}
	CHECK(table.size() == 1440);
	for (int i = 0; i < 80; i++) {
		char theta[9];
		snprintf(theta, sizeof theta, "%8.2f", 2.0 * (i + 1));
		CHECK(table.compare((size_t)i * 18, 8, theta) == 0);
		CHECK(table.compare((size_t)i * 18 + 16, 2, "\r\n") == 0);
	}
	return 0;
}
