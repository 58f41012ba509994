/*
 * CLOSE (f_clos). With status "delete" the stream is closed first and the
 * file then removed; a failed removal is not reported. Otherwise buffered
 * output that cannot be written out is a fatal error.
 */
#include "runtime/f2c.h"
#include "runtime/io_state.h"
#include "runtime/platform.h"

#include <stdlib.h>

integer f_clos(cllist *a)
{
	unit *u = unit_at(a->cunit);
	if (!u || !u->connected)
		return 0;
	io.cur = u;
	bool erase = a->csta && (a->csta[0] | 0x20) == 'd';
	int err = unit_close(u);
	if (erase) {
		if (u->name)
			sys_remove(u->name);
	} else if (err) {
		fatal(err, "close");
	}
	free(u->name);
	u->name = nullptr;
	return 0;
}
