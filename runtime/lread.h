/*
 * The list-directed reader: values, separators, repeat counts, null values
 * and the slash, read from a text-mode stream one item at a time. It keeps
 * constant memory whatever the input: at most 40 significant digits are
 * kept, longer digit strings are only counted.
 */
#ifndef KORVEX_LREAD_H
#define KORVEX_LREAD_H

#include "runtime/text_in.h"

enum lread_status {
	LREAD_OK,        /* *value set when *assigned; unchanged for a null value */
	LREAD_END,       /* end of the data before the item ("list in: end of file") */
	LREAD_INVALID,   /* "invalid number" */
	LREAD_EXPONENT,  /* "exponent field" */
	LREAD_REPEAT,    /* "bad repetition count" */
	LREAD_IOERR,     /* a read error; errno in the stream's error */
};

/* The state of one list-directed READ statement: the values still due
 * from the last item (a repeat group delivers count of them), whether
 * they are null, and their value. */
struct lread {
	long long count;
	bool null;
	bool quit;          /* a slash has ended the list */
	double value;
};

/* Begins a statement. */
void lread_start(lread *r);

/* Reads the next item of the list from t. On LREAD_OK, *assigned tells
 * whether a value was read into *value (false for a null value, or after
 * the slash). */
lread_status lread_item(lread *r, text_in *t, double *value, bool *assigned);

#endif
