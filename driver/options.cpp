/*
 * The command line: only the first argument is looked at. --help (-h, /?
 * on Windows) and --version (-V) answer on standard output (status 0); an
 * unknown option (starting with '-', on Windows also '/') is refused on
 * standard error (status 2). Any other argument is ignored (Windows' "Open
 * with" passes a path); without one the run is the program's dialogue.
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
	"Usage: korvex              the dialogue",
	"       korvex --help       this text (also -h)",
	"       korvex --version    the version (also -V)",
	"Only the first argument is looked at; one that is not an option is ignored.",
	"",
	"A base name is at most 20 bytes; a longer one is refused, never cut short.",
	"In a script, give the name and the closing number on two lines of",
	"standard input, for example from a file: korvex < answers.txt",
	"Status 0: the complete table is in <base>.imp; 1: interrupted;",
	"2: an unknown option; 3: an error.",
	"The manual: man korvex (on Windows korvex.txt, beside korvex.exe).",
};

int answer_option(int argc, char **argv)
{
	if (argc < 2)
		return -1;
	const char *a = argv[1];
	if (strcmp(a, "--version") == 0 || strcmp(a, "-V") == 0) {
		write_line(1, "korvex " KORVEX_VERSION);
		return 0;
	}
	if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0 || (SYS_HELP_SWITCH && strcmp(a, SYS_HELP_SWITCH) == 0)) {
		for (const char *line : usage)
			write_line(1, line);
		return 0;
	}
	/* the platform's switch character is the first of its help switch */
	if (a[0] != '-' && !(SYS_HELP_SWITCH && a[0] == SYS_HELP_SWITCH[0]))
		return -1;
	write_text(2, "korvex: unknown option ");
	write_text(2, a);
	write_line(2, " (korvex --help lists the options)");
	return 2;
}
