/*
 * The one way a run fails (fatal.cpp): the error numbers and the diagnostic.
 */
#ifndef KORVEX_FATAL_H
#define KORVEX_FATAL_H

#include "runtime/units.h"

/* Error numbers of the run-time's own messages: the library's numbers
 * above ERR_BASE, apart from every errno (Linux's reach 133: EDQUOT is 122). */
enum {
	ERR_BASE = 1000,
	ERR_FORMAT = ERR_BASE + 100,
	ERR_UNIT_NUMBER = ERR_BASE + 101,
	ERR_LIST_INPUT = ERR_BASE + 112,
	ERR_NOT_CONNECTED = ERR_BASE + 114,
	ERR_CANT_READ = ERR_BASE + 126,
	ERR_CANT_WRITE = ERR_BASE + 127,
	ERR_NEW_EXISTS = ERR_BASE + 128,
	ERR_NAME_TOO_LONG = ERR_BASE + 140,   /* KORVEX's own */
	ERR_END_OF_FILE = -1,
};

/* Writes the diagnostic for error number code at place on unit u (null:
 * no unit), with the format and direction of the statement last started
 * (statement.h), and ends the run with status 3 (end.h); or, where
 * fatal_resume is set (a batch), closes every unit and goes there. */
[[noreturn]] void fatal(int code, const char *place, const unit *u);
extern void (*fatal_resume)(void);

/* Where set (a batch's FILE), the diagnostic's first line: the subject
 * and the outcome (": no table"). */
extern const char *fatal_subject, *fatal_outcome;

#endif
