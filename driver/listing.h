/*
 * The lines of a batch's and a check's listing on standard output
 * (listing.cpp): each one write, so that listings side by side never break
 * a line; one that cannot be written is said on standard error.
 */
#ifndef KORVEX_LISTING_H
#define KORVEX_LISTING_H

#include "runtime/units.h"

#include <string.h>

enum { TABLE_BYTES = 80 * 18 };   /* a table: 80 records */

/* A line of the listing; false where it cannot be written (said, with the reason). */
template <typename... T> bool listed(T... texts)
{
	int err = write_line(1, texts...);
	if (err)
		write_line(2, "korvex: write error: ", strerror(err));
	return !err;
}

/* A check's verdict on the table made beside the archived one (null:
 * none there) of size bytes (-1: no regular file; its TABLE_BYTES read
 * where it has them): "<imp>: same", "differs: record N: archived ...,
 * made ...", "missing" or "not a table: ..."; *same whether they are the
 * same. False where it cannot be listed. */
bool listed_verdict(const char *imp, const char *made, const char *archived, long long size, bool *same);

#endif
