/*
 * The I/O statement in progress (or the last one started): one struct,
 * io, owned by statement.cpp; a diagnostic reports its format and
 * direction. What outlives a statement belongs to its unit (units.h) or
 * to the format cache (sfe.cpp).
 */
#ifndef KORVEX_STATEMENT_H
#define KORVEX_STATEMENT_H

#include "runtime/format.h"
#include "runtime/lread.h"
#include "runtime/units.h"

struct statement {
	unit *cur;               /* unit of the current statement, null if none yet */
	const char *format;      /* current format text, LIST_IO, or null */
	bool reading;            /* the last statement started was a read */
	const char *write_place; /* where a failed write is reported */
	fmt_run walk;            /* a formatted statement's walk through its format */
	lread list;              /* a list-directed READ's values still due */
	int column;              /* a WRITE's characters in the record so far */
};

extern statement io;

/* The text of a list-directed statement's "format". */
extern const char LIST_IO[];

/* Starts a READ or WRITE on unit n with format (a format text, or
 * LIST_IO), a safe point first: a statement on the console first writes
 * out the files and puts them on stable storage; the
 * unit must exist and be connected (else fatal at unit_place) and allow
 * the direction. A WRITE's
 * failed write is reported at write_place. Returns the unit. */
unit *statement_start(long n, const char *unit_place, bool reading, const char *format,
                      const char *write_place);

/* Puts n bytes into the current WRITE's record; fatal on failure. */
void statement_put(const char *p, size_t n);

/* Ends the current WRITE's record with a line end; fatal on failure. */
void statement_record_end(void);

/* Ends a WRITE: its last line end unless suppressed; the console is
 * written out at the end of every WRITE. */
void statement_end_write(bool line_end);

#endif
