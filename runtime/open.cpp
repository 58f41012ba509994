/*
 * OPEN (f_open): connect a unit to a named file.
 *
 * The name is the given text without its trailing blanks. Status "new"
 * creates the file at once, empty, refusing an existing one (a directory
 * included) in the same system call, and the unit keeps the descriptor
 * that call returned: the file it made is the file it writes, whatever
 * happens to the name afterwards. Any other status (the program uses
 * only "old") needs an existing file, which is opened for reading, or
 * for writing if it cannot be read; a directory is never connected.
 */
#include "runtime/f2c.h"
#include "runtime/file_name.h"
#include "runtime/io_state.h"
#include "runtime/platform.h"

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
	bool create = a->osta && (a->osta[0] | 0x20) == 'n';
	int fd = create ? sys_create(name) : sys_exists(name) ? 0 : -1;
	int err = errno;
	if (fd < 0 && (!create || err == EEXIST)) {
		free(name);
		fatal(err == EEXIST ? ERR_NEW_EXISTS : err, "open");
	}
	u->name = name;
	if (fd < 0)
		fatal(err, "open");   /* a file that could not be created */

	bool writing = false;
	if (!create) {
		fd = sys_open_read(name);
		if (fd < 0) {
			fd = sys_open_write(name);
			writing = true;
		}
		if (fd < 0)
			fatal(errno, "open");
	}
	unit_attach(u, fd, name, false);
	u->writing = writing;
	u->writable = create || writing;
	return 0;
}
