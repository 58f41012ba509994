/*
 * OPEN (f_open): connect a unit to a named file.
 *
 * The name is the given text without its trailing blanks. Status "old"
 * needs an existing file; status "new" creates it at once, empty, and
 * refuses an existing one (a directory included) in the same system call;
 * otherwise the file is created if it is missing. The file is then opened
 * for reading, or for writing if it cannot be read; a directory is never
 * connected. The first WRITE reopens the file for writing.
 */
#include "runtime/f2c.h"
#include "runtime/file_name.h"
#include "runtime/io_state.h"

#include <errno.h>
#include <stdlib.h>

integer f_open(olist *a)
{
	unit *u = unit_at(a->ounit);
	if (!u)
		fatal(ERR_UNIT_NUMBER, "open");
	io.cur = u;
	if (u->connected) {
		int err = unit_close(u);
		if (err)
			fatal(err, "open");
	}
	free(u->name);
	u->name = nullptr;

	/* until the file is there, the unit has no name in a diagnostic */
	char *name = trimmed_name(a->ofnm, a->ofnmlen);
	if (!name)
		fatal(errno, "open");
	char status = a->osta ? (char)(a->osta[0] | 0x20) : 'u';
	if (status == 'o' && !sys_exists(name)) {
		int err = errno;
		free(name);
		fatal(err, "open");
	}
	int err = status == 'o' ? 0 : sys_create(name, status == 'n');
	if (err == EEXIST) {
		free(name);
		fatal(ERR_NEW_EXISTS, "open");
	}
	u->name = name;
	if (err && status == 'n')
		fatal(err, "open");

	bool writing = false;
	int fd = sys_open_read(name);
	if (fd < 0) {
		fd = sys_open_write(name);
		writing = true;
	}
	if (fd < 0)
		fatal(errno, "open");
	unit_attach(u, fd, name, false);
	u->writing = writing;
	return 0;
}
