/*
 * List-directed READ and WRITE: s_rsle, s_wsle, do_lio, e_rsle, e_wsle.
 * The item's type is not looked at: the program reads REALs only and
 * writes character items only. A record starts with one blank and the items follow each other with no
 * separator, on one record (the program's one line is 65 characters).
 */
#include "runtime/f2c.h"
#include "runtime/fatal.h"
#include "runtime/statement.h"

#include <string.h>

integer s_rsle(cilist *a)
{
	statement_start(a->ciunit, "read start", true, LIST_IO, nullptr);
	lread_start(&io.list);
	return 0;
}

/* What the line holds after the value is never read: no READ follows. */
integer e_rsle(void)
{
	return 0;
}

integer s_wsle(cilist *a)
{
	statement_start(a->ciunit, "startio", false, LIST_IO, "list out");
	return 0;
}

integer e_wsle(void)
{
	statement_end_write(true);
	return 0;
}

static void read_items(ftnint number, char *ptr, ftnlen len)
{
	for (ftnint i = 0; i < number; i++, ptr += len) {
		double v;
		bool assigned;
		switch (lread_item(&io.list, &io.cur->in, &v, &assigned)) {
		case LREAD_OK:
			break;
		case LREAD_END:
			fatal(ERR_END_OF_FILE, "list in", io.cur);
		case LREAD_INVALID:
			fatal(ERR_LIST_INPUT, "invalid number", io.cur);
		case LREAD_EXPONENT:
			fatal(ERR_LIST_INPUT, "exponent field", io.cur);
		case LREAD_REPEAT:
			fatal(ERR_LIST_INPUT, "bad repetition count", io.cur);
		case LREAD_IOERR:
			fatal(io.cur->in.error, "list in", io.cur);
		}
		if (assigned) {
			float f = (float)v;
			memcpy(ptr, &f, sizeof f);
		}
	}
}

static void write_items(ftnint number, char *ptr, ftnlen len)
{
	for (ftnint i = 0; i < number; i++, ptr += len) {
		if (io.column == 0)
			statement_put(" ", 1);
		statement_put(ptr, (size_t)len);
	}
}

integer do_lio(ftnint *, ftnint *number, char *ptr, ftnlen len)
{
	if (io.reading)
		read_items(*number, ptr, len);
	else
		write_items(*number, ptr, len);
	return 0;
}
