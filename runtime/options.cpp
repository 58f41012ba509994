/*
 * The command line: only --help (-h, and /? on Windows) and --version
 * (-V) as the first argument change anything; they answer on standard
 * output, touch no file and end with status 0. Every other argument is
 * ignored, and a run without one is the program's dialogue.
 */
#include "runtime/options.h"

#include "runtime/platform.h"

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
	"",
	"In a script, give the name and the closing number on two lines of",
	"standard input, for example from a file: korvex < answers.txt",
	"Status 0: the complete table is in <base>.imp; 1: interrupted; 3: an error.",
	"The manual: man korvex (on Windows korvex.txt, beside korvex.exe).",
};

static void put_line(const char *s)
{
	sys_write_all(1, s, strlen(s));
	sys_write_all(1, SYS_CONSOLE_LINE_END, strlen(SYS_CONSOLE_LINE_END));
}

bool answer_option(int argc, char **argv)
{
	if (argc < 2)
		return false;
	const char *a = argv[1];
	if (strcmp(a, "--version") == 0 || strcmp(a, "-V") == 0) {
		put_line("korvex " KORVEX_VERSION);
		return true;
	}
	if (strcmp(a, "--help") != 0 && strcmp(a, "-h") != 0 && !(SYS_HELP_SWITCH && strcmp(a, SYS_HELP_SWITCH) == 0))
		return false;
	for (const char *line : usage)
		put_line(line);
	return true;
}
