/*
 * List-directed READ and WRITE: s_rsle, s_wsle, do_lio, e_rsle, e_wsle.
 * Output writes character items only: a record starts with one blank and
 * the items follow each other with no separator.
 */
#include "runtime/f2c.h"
#include "runtime/io_state.h"
#include "runtime/lread.h"

#include <string.h>

enum { RECORD_WIDTH = 80 };

static lread reader;
static int column;   /* characters in the output record so far */

integer s_rsle(cilist *a)
{
	statement_start(a->ciunit, "read start", true, LIST_IO);
	lread_start(&reader);
	return 0;
}

integer e_rsle(void)
{
	io.cur->skip_line = true;
	return 0;
}

integer s_wsle(cilist *a)
{
	statement_start(a->ciunit, "startio", false, LIST_IO);
	column = 0;
	return 0;
}

integer e_wsle(void)
{
	statement_end_write("list out", true);
	return 0;
}

static void read_items(ftnint type, ftnint number, char *ptr, ftnlen len)
{
	if (type != TYREAL && type != TYDREAL)
		fatal(ERR_VARIABLE_TYPE, "list in");
	for (ftnint i = 0; i < number; i++, ptr += len) {
		double v;
		bool assigned;
		switch (lread_item(&reader, &io.cur->in, &v, &assigned)) {
		case LREAD_OK:
			break;
		case LREAD_END:
			fatal(ERR_END_OF_FILE, "list in");
		case LREAD_INVALID:
			fatal(ERR_LIST_INPUT, "invalid number");
		case LREAD_EXPONENT:
			fatal(ERR_LIST_INPUT, "exponent field");
		case LREAD_REPEAT:
			fatal(ERR_LIST_INPUT, "bad repetition count");
		case LREAD_IOERR:
			fatal(io.cur->in.error, "list in");
		}
		if (!assigned)
			continue;
		if (type == TYREAL) {
			float f = (float)v;
			memcpy(ptr, &f, sizeof f);
		} else {
			memcpy(ptr, &v, sizeof v);
		}
	}
}

static void put(const char *p, size_t n)
{
	int err = unit_put(io.cur, p, n);
	if (err)
		fatal(err, "list out");
	column += (int)n;
}

static void write_items(ftnint type, ftnint number, char *ptr, ftnlen len)
{
	if (type != TYCHAR)
		fatal(ERR_VARIABLE_TYPE, "list out");
	for (ftnint i = 0; i < number; i++, ptr += len) {
		if (column > 1 && column + len >= RECORD_WIDTH) {
			int err = unit_line_end(io.cur);
			if (err)
				fatal(err, "list out");
			column = 0;
		}
		if (column == 0)
			put(" ", 1);
		put(ptr, (size_t)len);
	}
}

integer do_lio(ftnint *type, ftnint *number, char *ptr, ftnlen len)
{
	if (io.reading)
		read_items(*type, *number, ptr, len);
	else
		write_items(*type, *number, ptr, len);
	return 0;
}
