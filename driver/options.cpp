/*
 * The command line: only the first argument is looked at. --batch (-b)
 * makes the tables of the FILEs after it, --check (-c) compares them with
 * the tables there; --help (-h, /? on Windows) and
 * --version (-V) answer on standard output (status 0, or
 * 1 where the text cannot be written); an unknown option (starting with
 * '-', on Windows also '/') is refused on standard error (status 2). Any
 * other argument is ignored (Windows' "Open with" passes a path); without
 * one, or with "--", the run is the program's dialogue.
 */
#include "driver/options.h"

#include "runtime/platform.h"
#include "runtime/units.h"

#include <string.h>

static const char *const usage[] = {
	"KORVEX tabulates a background polynomial: it asks for a base name, reads",
	"six coefficients and an origin from <base>.dat and writes the 80 records",
	"of the curve at 2-theta = 2, 4, ..., 160 to <base>.imp, replacing an older",
	"table after a warning; then it waits for any number.",
	"",
	"Usage: korvex              the dialogue (so does korvex --)",
	"       korvex --batch FILE...  the table of each FILE (<base>.dat or <base>)",
	"                           into <base>.imp beside it, without the dialogue,",
	"                           each named once it is on the disk (also -b); a",
	"                           FILE that cannot be read keeps its old table",
	"       korvex --check FILE...  compare the <base>.imp beside each FILE with",
	"                           the table it would make, touching no file: a line",
	"                           a FILE, \"<base>.imp: \" and same, differs, missing",
	"                           or not a table (also -c)",
	"       korvex --help       this text (also -h; on Windows also /?)",
	"       korvex --version    the version and the licence (also -V)",
	"Only the first argument is looked at (then, after --batch or --check, the",
	"FILEs); any other argument is ignored.",
	"",
	"A base name is at most 20 bytes; a longer one is refused, never cut short.",
	"Status 0: the complete table is in <base>.imp (every table, in a batch;",
	"in a check, every table the same); 1: interrupted; 2: an unknown option;",
	"3: an error (in a batch or a check: any FILE); 4: in a check, a table",
	"differs, is missing or is not a table, and no FILE failed.",
	nullptr,   /* the manual, as the platform has it */
};
static const char *const version[] = {
	("korvex " KORVEX_VERSION),
	"Copyright (C) 2026 Vellumarix",
	"License MIT: <https://opensource.org/licenses/MIT>.",
	"This is free software: you are free to change and redistribute it.",
	"There is NO WARRANTY, to the extent permitted by law.",
};

/* Writes the lines of a text on standard output: 0, or 1 with a word on
 * standard error where they cannot be written (a full disk, a closed
 * pipe), so that a script never takes a lost text for one written. */
static int answer(const char *const *lines, size_t n)
{
	int err = 0;
	for (size_t i = 0; i < n && !err; i++)
		err = write_line(1, lines[i] ? lines[i] : SYS_HELP_SWITCH ? "The manual: korvex.txt and README.txt, beside korvex.exe."
		                                                           : "The manual: man korvex.");
	if (!err)
		return 0;
	write_line(2, "korvex: write error: ", strerror(err));
	return 1;
}

int answer_option(int argc, char **argv)
{
	const char *a = argc < 2 ? "--" : argv[1];
	if (strcmp(a, "--") == 0)
		return -1;   /* the end of the options: the dialogue */
	bool batch = strcmp(a, "--batch") == 0 || strcmp(a, "-b") == 0;
	if (batch || strcmp(a, "--check") == 0 || strcmp(a, "-c") == 0) {
		if (argc > 2)
			return batch ? OPTION_BATCH : OPTION_CHECK;
		write_line(2, "korvex: ", batch ? "--batch" : "--check", " needs a FILE (korvex --help lists the options)");
		return 2;
	}
	if (strcmp(a, "--version") == 0 || strcmp(a, "-V") == 0)
		return answer(version, sizeof version / sizeof *version);
	if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0 || (SYS_HELP_SWITCH && strcmp(a, SYS_HELP_SWITCH) == 0))
		return answer(usage, sizeof usage / sizeof *usage);
	/* the platform's switch character is the first of its help switch */
	if (a[0] != '-' && !(SYS_HELP_SWITCH && a[0] == SYS_HELP_SWITCH[0]))
		return -1;
	write_line(2, "korvex: unknown option ", a, " (korvex --help lists the options)");
	return 2;
}
