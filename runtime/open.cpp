/*
 * OPEN (f_open) and INQUIRE by name (f_inqu), of a name without its
 * trailing blanks. Status "new" creates the file, empty, refusing any
 * existing name in the same system call, and the unit keeps that call's
 * descriptor: it writes the file it made, whatever happens to the name.
 * Status "old" needs an existing file, opened for reading, or for writing
 * if it cannot be read; never a directory. Status "scratch" (KORVEX's
 * own) connects the unit to no file, for writing: what is written stays
 * in its buffer, up to OUT_BUF bytes, under the name given. INQUIRE answers EXIST= alone:
 * whether the file-status query succeeds (a directory exists).
 */
#include "runtime/f2c.h"
#include "runtime/fatal.h"
#include "runtime/events.h"

#include <errno.h>
#include <string.h>

/* name[0..len) without its trailing blanks, NUL-terminated in out. False
 * with errno set when it does not fit (ENAMETOOLONG) or holds a NUL byte
 * (ENOENT): cut short there it would name another file. */
static bool trimmed_name(char *out, const char *name, ftnlen len)
{
	size_t n = len > 0 ? (size_t)len : 0;
	while (n > 0 && name[n - 1] == ' ')
		n--;
	if (n >= NAME_MAX_BYTES || memchr(name, '\0', n)) {
		errno = n >= NAME_MAX_BYTES ? ENAMETOOLONG : ENOENT;
		return false;
	}
	memcpy(out, name, n);
	out[n] = '\0';
	return true;
}

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
	if (a->osta && (a->osta[0] | 0x20) == 's') {   /* scratch: no file, the output kept in its buffer */
		strcpy(u->name, name);
		if (int err = unit_attach(u, -1, false, true))
			fatal(err, "open", u);
		return 0;
	}
	bool create = a->osta && (a->osta[0] | 0x20) == 'n';
	bool writing = false;
	/* an existing file is opened at once; only a failure asks whether it exists */
	int fd;
	while (events_retry(fd = create ? sys_create(name) : sys_open_read(name))) {
	}
	int err = errno;
	if (fd < 0 && (create ? err == EEXIST : !sys_exists(name)))
		fatal(create ? ERR_NEW_EXISTS : errno, "open", u);
	strcpy(u->name, name);
	if (fd < 0 && !create) {
		while (events_retry(fd = sys_open_write(name))) {
		}
		err = errno;
		writing = true;
	}
	if (fd < 0)
		fatal(err, "open", u);
	err = unit_attach(u, fd, false, create || writing);
	if (err)
		fatal(err, "open", u);
	return 0;
}

integer f_inqu(inlist *a)
{
	char name[NAME_MAX_BYTES];
	if (a->inex)
		*a->inex = trimmed_name(name, a->infile, a->infilen) && sys_exists(name);
	return 0;
}
