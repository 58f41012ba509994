/*
 * The current statement: its unit, its format and its direction, and the
 * steps every READ and WRITE starts and ends with.
 */
#include "runtime/io_state.h"

io_state io;
const char LIST_IO[] = "list io";

unit *statement_unit(long n, const char *place, bool reading)
{
	unit *u = unit_at(n);
	if (u && u->connected && u->console) {
		/* Before anything is said to a person or asked of one, the files'
		 * output is on disk: the closing lines never appear before the
		 * table is complete, and whatever ends the run from then on loses
		 * nothing. A failure is the files' pending write failing, reported
		 * as such, and nothing is said on the console. */
		int err;
		unit *failed = units_flush_files(&err);
		if (failed) {
			io.cur = failed;
			fatal(err, "write sfe");
		}
	}
	io.reading = reading;
	if (!u)
		fatal(ERR_UNIT_NUMBER, place);
	io.cur = u;
	if (!u->connected)
		fatal(ERR_NOT_CONNECTED, place);
	return u;
}

unit *statement_start(long n, const char *unit_place, bool reading, const char *format)
{
	unit *u = statement_unit(n, unit_place, reading);
	io.format = format;
	if (!reading) {
		if (!unit_start_writing(u))
			fatal(ERR_CANT_WRITE, "write start");
		return u;
	}
	if (u->writing)
		fatal(ERR_CANT_READ, "read start");
	/* A READ takes what it needs of a line and leaves the rest; the rest
	 * is discarded only when the next READ starts, so that a console READ
	 * never waits for more typing after its own line has ended. */
	if (u->skip_line) {
		u->skip_line = false;
		text_skip_line(&u->in);
	}
	return u;
}

void statement_end_write(const char *place, bool line_end)
{
	int err = line_end ? unit_line_end(io.cur) : 0;
	if (err)
		fatal(err, place);
	if (io.cur->console)
		unit_flush(io.cur);
}
