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
#include "runtime/fatal.h"
#include "runtime/file_name.h"
#include "runtime/platform.h"

#include <errno.h>
#include <string.h>

integer f_open(olist *a)
{
	unit *u = unit_at(a->ounit);
	if (!u)
		fatal(ERR_UNIT_NUMBER, "open", nullptr);
	if (u->connected) {
		int err = unit_close(u);
		if (err)
			fatal(err, "open", u);
	}
	/* until the file is there, the unit has no name in a diagnostic */
	u->name[0] = '\0';
	char name[NAME_MAX_BYTES];
	if (!trimmed_name(name, a->ofnm, a->ofnmlen))
		fatal(errno, "open", u);
	bool create = a->osta && (a->osta[0] | 0x20) == 'n';
	bool writing = false;
	/* an existing file is opened at once; only a failure asks whether it exists */
	int fd = create ? sys_create(name) : sys_open_read(name);
	int err = errno;
	if (fd < 0 && (create ? err == EEXIST : !sys_exists(name)))
		fatal(create ? ERR_NEW_EXISTS : errno, "open", u);
	strcpy(u->name, name);
	if (fd < 0 && !create) {
		fd = sys_open_write(name);
		err = errno;
		writing = true;
	}
	if (fd < 0)
		fatal(err, "open", u);
	err = unit_attach(u, fd, false);
	if (err)
		fatal(err, "open", u);
	u->writing = writing;
	u->writable = create || writing;
	return 0;
}
