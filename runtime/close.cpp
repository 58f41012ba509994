/*
 * CLOSE (f_clos). With status "delete" the stream is closed first and the
 * file then removed; a failed removal is not reported. Otherwise buffered
 * output that cannot be written out is a fatal error (the program's one
 * CLOSE deletes; a CLOSE that keeps its file must not lose output quietly).
 */
#include "runtime/f2c.h"
#include "runtime/fatal.h"
#include "runtime/platform.h"


integer f_clos(cllist *a)
{
	unit *u = unit_at(a->cunit);
	if (!u || !u->connected)
		return 0;
	bool erase = a->csta && (a->csta[0] | 0x20) == 'd';
	int err = unit_close(u);
	if (erase) {
		if (u->name[0])
			sys_remove(u->name);
	} else if (err) {
		fatal(err, "close", u);
	}
	u->name[0] = '\0';
	return 0;
}
