/*
 * The one way a run fails (fatal.cpp): the run-time's error numbers, the
 * diagnostic, and the plain writes to the standard descriptors it and the
 * other messages use.
 */
#ifndef KORVEX_FATAL_H
#define KORVEX_FATAL_H

#include "runtime/units.h"

/* Error numbers of the run-time's own messages; below 100 an errno. */
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

/* Writes s, or s and the console's line end, to descriptor fd; gives up
 * quietly. */
void write_text(int fd, const char *s);
void write_line(int fd, const char *s);

/* Writes the diagnostic for error number code at place on unit u (null:
 * no unit), with the format and direction of the statement last started
 * (statement.h), and ends the run with status 3 (end.h). */
[[noreturn]] void fatal(int code, const char *place, const unit *u);

#endif
