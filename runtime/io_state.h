/*
 * What the run-time remembers of the I/O statements: the unit of the
 * statement in progress or last started, the current format, and the
 * direction of the last transfer. The fatal diagnostic reports them.
 */
#ifndef KORVEX_IO_STATE_H
#define KORVEX_IO_STATE_H

#include "runtime/units.h"

struct io_state {
	long unit_no;        /* unit of the current statement, -1 if none yet */
	const char *format;  /* current format text, "list io", or null */
	bool reading;        /* the last statement started was a read */
};

extern io_state io;

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
	ERR_END_OF_FILE = -1,
};

/* Writes s[0..n) to standard error with write(2); gives up quietly. */
void say(const char *s, size_t n);

/* Writes the diagnostic for error number code (an errno value below 100,
 * a run-time message from 100 up, or ERR_END_OF_FILE) at place, closes
 * every unit with its buffered output written, and ends the process with
 * "abnormal program termination" and exit status 3. */
[[noreturn]] void fatal(int code, const char *place);

/* Ends the process as fatal does, after the line "msg", for a signal
 * (status 3); used by the floating-point exception and abort handlers. */
[[noreturn]] void abnormal_end(void);

#ifdef KORVEX_COVERAGE
extern "C" void __gcov_dump(void);
/* Coverage builds only: a process that ends with _exit keeps its counts. */
inline void coverage_dump(void) { __gcov_dump(); }
#else
inline void coverage_dump(void) {}
#endif

#ifdef KORVEX_FUZZ
/* Fuzz builds only: where a run that would end (STOP, a fatal error) goes
 * instead, with its exit status; it must not return. Null: really end. */
extern void (*fuzz_escape)(int status);
#endif

/* The unit numbered n for a statement starting at place: records it as
 * the current unit and the direction of the transfer; an illegal number
 * or an unconnected unit is fatal. A read on the console first writes out
 * the files' buffered output. */
unit *statement_unit(long n, const char *place, bool reading);

#endif
