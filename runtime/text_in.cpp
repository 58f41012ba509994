/*
 * Text-mode input over a byte source.
 */
#include "runtime/text_in.h"

#include <errno.h>
#include <string.h>

enum { CTRL_Z = 0x1A };

void text_open(text_in *t, text_reader read, void *ctx, unsigned char *buf)
{
	t->read = read;
	t->ctx = ctx;
	t->buf = buf;
	t->pos = t->end = 0;
	t->back = TEXT_NONE;
	t->at_end = false;
	t->error = 0;
}

void text_ahead(text_in *t, const char *p, size_t n, bool whole)
{
	memcpy(t->buf, p, n);
	t->pos = 0;
	t->end = n;
	t->at_end = whole;
}

/* Makes a raw byte available; false at the end of the data or an error. */
static inline bool fill(text_in *t)
{
	if (t->pos < t->end)
		return true;
	if (t->at_end || t->error)
		return false;
	t->pos = t->end = 0;
	long n = t->read(t->ctx, (char *)t->buf, TEXT_BUF);
	if (n < 0) {
		t->error = errno;
		return false;
	}
	if (n == 0) {
		t->at_end = true;
		return false;
	}
	t->end = (size_t)n;
	return true;
}

/* What text_getc returns once the data has ended or failed. */
static int end_or_error(const text_in *t)
{
	return t->error ? TEXT_ERROR : TEXT_EOF;
}

int text_getc(text_in *t)
{
	if (t->back != TEXT_NONE) {
		int c = t->back;
		t->back = TEXT_NONE;
		return c;
	}
	if (!fill(t))
		return end_or_error(t);
	int c = t->buf[t->pos++];
	if (c == CTRL_Z) {
		t->at_end = true;
		t->pos = t->end;
		return TEXT_EOF;
	}
	if (c == '\r' && fill(t) && t->buf[t->pos] == '\n') {
		t->pos++;
		return '\n';
	}
	return c;
}

void text_ungetc(text_in *t, int c)
{
	if (c >= 0)
		t->back = c;
}
