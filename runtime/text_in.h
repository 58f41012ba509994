/*
 * Text-mode input: a unit's bytes as a text stream. CR LF arrives as one
 * line end ('\n'), a lone CR is an ordinary character, and a byte 0x1A
 * ends the data as if the file ended there. The end of the data and a
 * read error are sticky. The bytes come from a read function and its
 * opaque pointer; the stream never looks behind them.
 */
#ifndef KORVEX_TEXT_IN_H
#define KORVEX_TEXT_IN_H

#include <stddef.h>

enum { TEXT_BUF = 4096 };
enum { TEXT_EOF = -1, TEXT_ERROR = -2, TEXT_NONE = -3 };

/* Reads up to cap bytes into buf: the count, 0 at the end, or -1 with errno. */
typedef long (*text_reader)(void *ctx, char *buf, size_t cap);

struct text_in {
	text_reader read;
	void *ctx;
	unsigned char *buf;  /* TEXT_BUF bytes */
	size_t pos, end;
	int back;           /* a character handed back by text_ungetc, or TEXT_NONE */
	bool at_end;        /* the data has ended (end of file or 0x1A) */
	int error;          /* errno of a failed read, 0 if none */
};

/* Makes t read through read(ctx, ...) into buf (TEXT_BUF bytes). */
void text_open(text_in *t, text_reader read, void *ctx, unsigned char *buf);

/* Makes p[0..n) (n <= TEXT_BUF) the stream's next bytes, read ahead of
 * it; whole: they are all its data. */
void text_ahead(text_in *t, const char *p, size_t n, bool whole);

/* The next character: a byte 0..255, '\n' for a line end, TEXT_EOF at the
 * end of the data, or TEXT_ERROR after a read error (errno in t->error). */
int text_getc(text_in *t);

/* Hands c back so that the next text_getc returns it again. At most one
 * character can be handed back; TEXT_EOF and TEXT_ERROR need not be. */
void text_ungetc(text_in *t, int c);

#endif
