/*
 * Where a unit's bytes come from: a file descriptor, or (for tests and
 * fuzzing) a string in memory. The text layer pulls raw bytes through
 * this one function and never looks behind it.
 */
#ifndef KORVEX_SOURCE_H
#define KORVEX_SOURCE_H

#include <stddef.h>

struct source {
	/* Reads up to cap bytes into buf. Returns the count, 0 at the end
	 * of the data, or -1 with errno set on a read error. */
	long (*read)(source *self, char *buf, size_t cap);
	int fd;             /* for a descriptor source */
	const char *data;   /* for a string source */
	size_t size, pos;
	size_t chunk;       /* string source: most bytes handed out per read (0: all) */
	int fail_errno;     /* string source: after the data, fail with this errno (0: end) */
};

/* A source that reads the descriptor fd. */
void source_fd(source *s, int fd);

/* A source that hands out data[0..size) in reads of at most chunk bytes,
 * then reports the end (fail_errno 0) or a read error with fail_errno. */
void source_string(source *s, const char *data, size_t size, size_t chunk = 0, int fail_errno = 0);

#endif
