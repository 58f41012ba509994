/*
 * The two kinds of byte source: a file descriptor and a string.
 */
#include "runtime/source.h"

#include <errno.h>
#include <string.h>
#include <unistd.h>

static long read_fd(source *s, char *buf, size_t cap)
{
	for (;;) {
		ssize_t n = read(s->fd, buf, cap);
		if (n >= 0 || errno != EINTR)
			return n;
	}
}

static long read_string(source *s, char *buf, size_t cap)
{
	size_t left = s->size - s->pos;
	if (left == 0 && s->fail_errno) {
		errno = s->fail_errno;
		return -1;
	}
	size_t n = left < cap ? left : cap;
	if (s->chunk && n > s->chunk)
		n = s->chunk;
	memcpy(buf, s->data + s->pos, n);
	s->pos += n;
	return (long)n;
}

void source_fd(source *s, int fd)
{
	*s = source{};
	s->read = read_fd;
	s->fd = fd;
}

void source_string(source *s, const char *data, size_t size, size_t chunk, int fail_errno)
{
	*s = source{};
	s->read = read_string;
	s->fd = -1;
	s->data = data;
	s->size = size;
	s->chunk = chunk;
	s->fail_errno = fail_errno;
}
