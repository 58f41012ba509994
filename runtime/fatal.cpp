/*
 * The one way a run ends in failure: the four-line diagnostic on standard
 * error, every unit closed with its buffered output written, then
 * "abnormal program termination" and exit status 3. Only write(2) is used,
 * so the signal handlers can share the ending.
 */
#include "runtime/io_state.h"

#include <signal.h>
#include <string.h>
#include <unistd.h>

io_state io = {-1, nullptr, false};
const char LIST_IO[] = "list io";

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

void say(const char *s, size_t n)
{
	while (n > 0) {
		ssize_t k = write(2, s, n);
		if (k <= 0)
			return;
		s += k;
		n -= (size_t)k;
	}
}

static void say(const char *s)
{
	say(s, strlen(s));
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

#ifdef KORVEX_FUZZ
void (*fuzz_escape)(int status);
static sigset_t mask_before;
#endif

void abnormal_end(void)
{
	units_close_all_quietly();
	say("\nabnormal program termination\n");
#ifdef KORVEX_FUZZ
	if (fuzz_escape) {
		sigprocmask(SIG_SETMASK, &mask_before, nullptr);
		fuzz_escape(3);
	}
#endif
	coverage_dump();
	_exit(3);
}

void fatal(int code, const char *place)
{
	sigset_t all, *before = nullptr;
#ifdef KORVEX_FUZZ
	before = &mask_before;
#endif
	sigfillset(&all);
	sigprocmask(SIG_BLOCK, &all, before);

	say(place);
	if (code == ERR_END_OF_FILE) {
		say(": end of file\n");
	} else if (code >= 0 && code < FIRST_MESSAGE) {
		say(": ");
		say(strerror(code));
		say("\n");
	} else if (code >= FIRST_MESSAGE && code <= LAST_MESSAGE) {
		say(": ");
		say(messages[code - FIRST_MESSAGE]);
		say("\n");
	} else {
		say(": illegal error number ");
		say_number(code);
		say("\n");
	}

	unit *u = unit_at(io.unit_no);
	if (u) {
		say("apparent state: unit ");
		say_number(io.unit_no);
		if (u->name) {
			say(" named ");
			say(u->name);
			say("\n");
		} else {
			say(" (unnamed)\n");
		}
	} else {
		say("apparent state: internal I/O\n");
	}
	if (io.format) {
		say("last format: ");
		say(io.format);
		say("\n");
	}
	say(io.reading ? "lately reading" : "lately writing");
	say(" sequential formatted external IO\n");
	abnormal_end();
}

unit *statement_unit(long n, const char *place, bool reading)
{
	unit *u = unit_at(n);
	if (reading && u && u->connected && u->console) {
		/* Before the program waits for a person, the files' output is on
		 * disk: whatever ends the wait, nothing written is lost. A failure
		 * is the files' pending write failing, reported as such. */
		int err;
		unit *failed = units_flush_files(&err);
		if (failed) {
			io.unit_no = failed - units;
			fatal(err, "write sfe");
		}
	}
	io.reading = reading;
	if (!u)
		fatal(ERR_UNIT_NUMBER, place);
	io.unit_no = n;
	if (!u->connected)
		fatal(ERR_NOT_CONNECTED, place);
	return u;
}
