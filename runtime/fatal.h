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

/* What failed, as a diagnostic tells it: the error number, the place, the
 * unit's number (-1: none) and name (null: unnamed), and the format
 * (null: none) and direction of the statement last started. */
struct run_failure {
	int code;
	const char *place;
	int unit;
	const char *name, *format;
	bool reading;
};

/* Writes the diagnostic for error number code at place on unit u (null:
 * no unit), with the format and direction of the statement last started
 * (statement.h), and ends the run with status 3 (end.h); or, inside
 * fatal_protected, closes every unit and ends the steps there. */
[[noreturn]] void fatal(int code, const char *place, const unit *u);

/* f's diagnostic on standard error, in one write, headed by a line of
 * subject and outcome where subject is given ("sample: no table"). */
void fatal_report(const run_failure &f, const char *subject, const char *outcome);

/* Runs steps(arg): true, or false where a fatal error ended them, with
 * *failed what failed (its name the unit's, until it is connected again). */
bool fatal_protected(void (*steps)(void *), void *arg, run_failure *failed);

#endif
