/*
 * The unit table: numbered units connected to the console or to files,
 * each with a text-mode input stream and a 4096-byte output buffer. The
 * buffers are plain memory written out with the platform's raw write, so
 * that a signal handler can empty them without stdio.
 */
#ifndef KORVEX_UNITS_H
#define KORVEX_UNITS_H

#include "runtime/text_in.h"

#include <stddef.h>

enum { MAX_UNITS = 100, OUT_BUF = 4096 };

struct unit {
	bool connected;
	bool console;      /* a standard stream: never reopened, write errors ignored,
	                      flushed at the end of every write statement */
	bool writing;      /* the unit is writing, else reading */
	bool writable;     /* the descriptor is open for writing as well */
	bool skip_line;    /* the rest of the current input line is still to be discarded */
	int fd;
	char *name;        /* the trimmed file name, or null */
	text_in in;
	char out[OUT_BUF];
	volatile size_t out_len;
};

extern unit units[MAX_UNITS];

/* Connects units 0, 5 and 6 to standard error, input and output. */
void units_init(void);

/* The unit numbered n, or null when n is outside the table. */
unit *unit_at(long n);

/* Connects u to the open descriptor fd, reading, with name (owned by the
 * unit from now on; may be null). u must not be connected. */
void unit_attach(unit *u, int fd, char *name, bool console);

/* Appends n bytes to u's output buffer, writing it out whenever it fills.
 * Returns 0 or the errno of a failed write (always 0 for the console). */
int unit_put(unit *u, const char *p, size_t n);

/* Appends a line end: CR LF in a file, the platform's own on the console.
 * Returns as unit_put. */
int unit_line_end(unit *u);

/* Writes out u's buffered output. Returns as unit_put. */
int unit_flush(unit *u);

/* Writes out the buffered output of every file unit (not the console).
 * Returns null, or the first unit that failed with *err set to its errno. */
unit *units_flush_files(int *err);

/* Writes out and closes the connected unit u, leaving it unconnected; the
 * name stays for a diagnostic until the unit is connected again. Returns 0
 * or the errno of the first failure. */
int unit_close(unit *u);

/* Switches a unit that is reading over to writing, on the descriptor it
 * is connected to, at its start. Returns false when that descriptor is
 * not open for writing, or the unit has read from it. */
bool unit_start_writing(unit *u);

#endif
