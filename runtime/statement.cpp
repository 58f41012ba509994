/*
 * The statement in progress: where it starts, how its bytes reach its
 * unit, and how a WRITE ends.
 */
#include "runtime/statement.h"

#include "runtime/events.h"
#include "runtime/fatal.h"

statement io;
const char LIST_IO[] = "list io";

unit *statement_start(long n, const char *unit_place, bool reading, const char *format,
                      const char *write_place)
{
	events_safe_point();
	unit *u = unit_at(n);
	if (u && u->connected && u->console) {
		/* Before anything is said to a person or asked of one, the files
		 * are on stable storage: whatever ends the run from then on, a power
		 * cut too, loses nothing. A failure is the files' write failing. */
		int err;
		unit *failed = units_sync_files(&err);
		if (failed)
			fatal(err, "write sfe", failed);
	}
	io.reading = reading;
	if (!u)
		fatal(ERR_UNIT_NUMBER, unit_place, nullptr);
	io.cur = u;
	if (!u->connected)
		fatal(ERR_NOT_CONNECTED, unit_place, u);
	io.format = format;
	io.write_place = write_place;
	io.column = 0;
	/* A unit is for writing or for reading, from its OPEN on: a new file
	 * is written, never read; an existing one is read, or written if it
	 * cannot be read. */
	if (u->writing != !reading)
		fatal(reading ? ERR_CANT_READ : ERR_CANT_WRITE, reading ? "read start" : "write start", u);
	return u;
}

void statement_put(const char *p, size_t n)
{
	if (int err = unit_put(io.cur, p, n))
		fatal(err, io.write_place, io.cur);
	io.column += (int)n;
}

void statement_record_end(void)
{
	if (int err = unit_line_end(io.cur))
		fatal(err, io.write_place, io.cur);
	io.column = 0;
}

void statement_end_write(bool line_end)
{
	if (line_end)
		statement_record_end();
	if (io.cur->console)
		unit_flush(io.cur);
}
