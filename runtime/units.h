/*
 * The unit table: numbered units connected to the console or to files,
 * each with a text-mode input stream and a 4096-byte output buffer, plain
 * memory written out with the platform's raw write. A unit takes its
 * buffers from a small pool when it is connected and gives them back when
 * it is closed; only connected units are walked. Events: platform.h.
 */
#ifndef KORVEX_UNITS_H
#define KORVEX_UNITS_H

#include "runtime/f2c.h"
#include "runtime/platform.h"
#include "runtime/text_in.h"

#include <stddef.h>

enum { MAX_UNITS = 100, OUT_BUF = 4096 };

struct unit {
	bool connected;
	bool console;      /* a standard stream: never reopened, write errors ignored,
	                      flushed at the end of every write statement */
	bool writing;      /* the unit is for writing, else for reading */
	bool unsynced;     /* a file written to since it was last put on stable storage */
	int fd;
	char name[NAME_MAX_BYTES];   /* the trimmed file name, "" for none; kept for a
	                                diagnostic until the unit is connected again */
	text_in in;        /* reads into the first TEXT_BUF bytes of its pool slot */
	char *out;         /* the output buffer, the rest of the slot */
	size_t out_len;
	size_t out_done;   /* how much of out[0..out_len) is already written */
	int slot;          /* its slot in the pool */
};

extern unit units[MAX_UNITS];

/* Connects units 0, 5 and 6 to standard error, input and output. */
void units_init(void);

/* The unit numbered n, or null when n is outside the table. */
inline unit *unit_at(long n)
{
	return n >= 0 && n < MAX_UNITS ? &units[n] : nullptr;
}

/* Connects the unconnected u to the open descriptor fd (-1: none, its
 * output kept in its buffer), for writing or for reading, under the name
 * it holds. Returns 0, or EMFILE when every
 * slot of the pool is taken (u stays unconnected). */
int unit_attach(unit *u, int fd, bool console, bool writing);

/* OPEN's system calls, status "new" (create) or "old", on any thread:
 * the descriptor, *writing whether it is for writing; or -1, *code the
 * error (ERR_NEW_EXISTS for create) and *named whether a unit would have
 * the name by then. again(r): whether a call that returned r is made
 * again. */
int open_named(const char *name, bool create, bool *writing, int *code, bool *named, bool (*again)(long));

/* Appends n bytes to u's output buffer, writing it out whenever it fills.
 * Returns 0 or the errno of a failed write (always 0 for the console). */
int unit_put(unit *u, const char *p, size_t n);

/* Appends a line end (CR LF in a file, the platform's own on the
 * console), or writes out u's buffered output; returns as unit_put. */
int unit_line_end(unit *u);
int unit_flush(unit *u);

/* Writes out and closes the connected unit u, leaving it unconnected.
 * Returns 0 or the errno of the first failure. */
int unit_close(unit *u);

/* Writes out every file unit (not the console), what was written put on
 * stable storage with its folder; or, at the end of a run, closes every
 * unit. Null, or the first unit that failed with *err its errno. */
unit *units_sync_files(int *err);
unit *units_close_all(int *err);

/* Writes the n texts to the standard descriptor fd as the console units
 * write, in one write where they fit OUT_BUF bytes (a line stays whole on a
 * pipe or file others write to too); 0 or the errno of the failure. */
int write_texts(int fd, const char *const *texts, size_t n);

/* The texts and the console's line end, as write_texts writes them. */
template <typename... T> int write_line(int fd, T... texts)
{
	const char *line[] = {texts..., SYS_CONSOLE_LINE_END};
	return write_texts(fd, line, sizeof line / sizeof *line);
}

#endif
