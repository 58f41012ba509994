/*
 * The I/O statements' state: one struct, io, for the statement in
 * progress (or the last one started), owned by statement.cpp and reached
 * the same way by every statement function; the fatal diagnostic reports
 * from it. What outlives a statement belongs to its unit (units.h).
 */
#ifndef KORVEX_IO_STATE_H
#define KORVEX_IO_STATE_H

#include "runtime/format.h"
#include "runtime/lread.h"
#include "runtime/units.h"

enum { FORMAT_KEPT_MAX = 64 };

struct statement {
	unit *cur;               /* unit of the current statement, null if none yet */
	const char *format;      /* current format text, LIST_IO, or null */
	bool reading;            /* the last statement started was a read */
	const char *write_place; /* where a failed write is reported */

	/* A formatted statement: its format compiled, and the walk through
	 * it. The compiled format is kept for the next statement with the
	 * same text at the same address (a record written in a loop): its
	 * literals point into that text. */
	fmt_program compiled;
	const char *compiled_at;
	char compiled_text[FORMAT_KEPT_MAX + 1];
	fmt_run walk;

	/* A list-directed statement: a READ's values still due, a WRITE's
	 * characters in the record so far. */
	lread list;
	int column;
};

extern statement io;

/* The text of a list-directed statement's "format". */
extern const char LIST_IO[];

/* Error numbers of the run-time's own messages. */
enum {
	ERR_FORMAT = 100,
	ERR_UNIT_NUMBER = 101,
	ERR_LIST_INPUT = 112,
	ERR_NOT_CONNECTED = 114,
	ERR_VARIABLE_TYPE = 117,
	ERR_CANT_READ = 126,
	ERR_CANT_WRITE = 127,
	ERR_NEW_EXISTS = 128,
	ERR_NAME_TOO_LONG = 140,   /* KORVEX's own */
	ERR_END_OF_FILE = -1,
};

/* Writes s, or s and the console's line end, to standard error; gives up
 * quietly. */
void write_stderr(const char *s);
void write_stderr_line(const char *s);

/* Writes the diagnostic for error number code (an errno value below 100,
 * a run-time message from 100 up, or ERR_END_OF_FILE) at place, and ends
 * the run with status 3 (end.h). */
[[noreturn]] void fatal(int code, const char *place);

/* Starts a READ or WRITE on unit n with format (a format text, or
 * LIST_IO): the unit, recorded as current with the direction (an illegal
 * number or an unconnected unit is fatal at unit_place; a statement on
 * the console first writes out the files' buffered output), then the
 * direction the unit must allow, then the rest of an input line an
 * earlier READ left. A failed write of a WRITE is reported at write_place.
 * Returns the unit. */
unit *statement_start(long n, const char *unit_place, bool reading, const char *format,
                      const char *write_place);

/* Puts n bytes into the current WRITE's record; fatal on failure. */
void statement_put(const char *p, size_t n);

/* Ends the current WRITE's record with a line end; fatal on failure. */
void statement_record_end(void);

/* Ends a WRITE statement: its last record's line end unless suppressed;
 * the console is written out at the end of every write statement. */
void statement_end_write(bool line_end);

#endif
