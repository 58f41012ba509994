/*
 * What the run-time remembers of the I/O statements: the unit of the
 * statement in progress or last started, the current format, and the
 * direction of the last transfer. The fatal diagnostic reports them.
 */
#ifndef KORVEX_IO_STATE_H
#define KORVEX_IO_STATE_H

#include "runtime/platform.h"
#include "runtime/units.h"

struct io_state {
	unit *cur;           /* unit of the current statement, null if none yet */
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

/* Writes s to standard error; gives up quietly. */
void say(const char *s);

/* Writes the diagnostic for error number code (an errno value below 100,
 * a run-time message from 100 up, or ERR_END_OF_FILE) at place, closes
 * every unit with its buffered output written, and ends the run with
 * "abnormal program termination" and exit status 3. */
[[noreturn]] void fatal(int code, const char *place);

/* The one end of every run (end.cpp). end_hold takes the buffers' lock
 * for good, so that no event handler writes anything from then on; then
 * the message, if any; then end_run closes every unit (strictly for
 * status 0: a unit that cannot be written out is a fatal error), writes
 * "abnormal program termination" for status 3 and ends the process. */
void end_hold(void);
[[noreturn]] void end_run(int status);

/* The run-time's answer to an event from outside, handed to sys_start. */
void end_on_event(sys_event e, bool buffers_stuck);

/* The exit of the process, at once. The program's start-up supplies it;
 * a harness that runs the program in its own process supplies its own. */
[[noreturn]] void end_process(int status);

/* The unit numbered n for a statement starting at place: records it as
 * the current unit and the direction of the transfer; an illegal number
 * or an unconnected unit is fatal. A statement on the console first writes
 * out the files' buffered output. */
unit *statement_unit(long n, const char *place, bool reading);

/* Starts a READ or WRITE on unit n with format (a format text, or LIST_IO):
 * the unit, then the direction it must allow, then the rest of an input
 * line an earlier READ left. Returns the unit. */
unit *statement_start(long n, const char *unit_place, bool reading, const char *format);

/* Ends a WRITE record on io.cur; errors are fatal at place. The console
 * is written out at the end of every write statement. */
void statement_end_write(const char *place, bool line_end);

#endif
