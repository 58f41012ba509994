/*
 * The one way a run fails: the diagnostic of up to four lines on standard
 * error, then the end of the run with status 3 (end.cpp).
 */
#include "runtime/io_state.h"

#include <string.h>

static const char *const messages[] = {
	"error in format",                /* 100 */
	"illegal unit number",            /* 101 */
	"formatted io not allowed",       /* 102 */
	"unformatted io not allowed",     /* 103 */
	"direct io not allowed",          /* 104 */
	"sequential io not allowed",      /* 105 */
	"can't backspace file",           /* 106 */
	"null file name",                 /* 107 */
	"can't stat file",                /* 108 */
	"unit not connected",             /* 109 */
	"off end of record",              /* 110 */
	"truncation failed in endfile",   /* 111 */
	"incomprehensible list input",    /* 112 */
	"out of free space",              /* 113 */
	"unit not connected",             /* 114 */
	"read unexpected character",      /* 115 */
	"bad logical input field",        /* 116 */
	"bad variable type",              /* 117 */
	"bad namelist name",              /* 118 */
	"variable not in namelist",       /* 119 */
	"no end record",                  /* 120 */
	"variable count incorrect",       /* 121 */
	"subscript for scalar variable",  /* 122 */
	"invalid array section",          /* 123 */
	"substring out of bounds",        /* 124 */
	"subscript out of bounds",        /* 125 */
	"can't read file",                /* 126 */
	"can't write file",               /* 127 */
	"'new' file exists",              /* 128 */
};
enum { FIRST_MESSAGE = 100, LAST_MESSAGE = FIRST_MESSAGE + sizeof messages / sizeof *messages - 1 };

void say(const char *s)
{
	sys_write_all(2, s, strlen(s));
}

static void say_line(const char *s)
{
	say(s);
	say(SYS_CONSOLE_LINE_END);
}

static void say_number(long v)
{
	char buf[24];
	char *p = buf + sizeof buf;
	*--p = '\0';
	unsigned long u = v < 0 ? 0UL - (unsigned long)v : (unsigned long)v;
	do
		*--p = (char)('0' + u % 10);
	while (u /= 10);
	if (v < 0)
		*--p = '-';
	say(p);
}

void fatal(int code, const char *place)
{
	end_hold();

	say(place);
	if (code == ERR_END_OF_FILE) {
		say(": end of file");
	} else if (code >= 0 && code < FIRST_MESSAGE) {
		say(": ");
		say(strerror(code));
	} else if (code >= FIRST_MESSAGE && code <= LAST_MESSAGE) {
		say(": ");
		say(messages[code - FIRST_MESSAGE]);
	} else {
		say(": illegal error number ");
		say_number(code);
	}
	say(SYS_CONSOLE_LINE_END);

	if (io.cur) {
		say("apparent state: unit ");
		say_number(io.cur - units);
		say(io.cur->name ? " named " : " (unnamed)");
		say_line(io.cur->name ? io.cur->name : "");
	} else {
		say_line("apparent state: internal I/O");
	}
	if (io.format) {
		say("last format: ");
		say_line(io.format);
	}
	say(io.reading ? "lately reading" : "lately writing");
	say_line(" sequential formatted external IO");
	end_run(3);
}
