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

int open_named(const char *name, bool create, bool *writing, int *code, bool *named, bool (*again)(long))
{
	/* an existing file is opened at once; only a failure asks whether it exists */
	int fd;
	while (again(fd = create ? sys_create(name) : sys_open_read(name, nullptr))) {
	}
	*code = errno;
	*writing = create;
	*named = fd >= 0 || (create ? *code != EEXIST : sys_exists(name));
	if (!*named)
		*code = create ? ERR_NEW_EXISTS : errno;
	else if (fd < 0 && !create) {
		while (again(fd = sys_open_write(name))) {
		}
		*code = errno;
		*writing = true;
	}
	return fd;
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
	bool scratch = a->osta && (a->osta[0] | 0x20) == 's', writing = true, named = true;
	int err, fd = scratch ? -1 : open_named(name, a->osta && (a->osta[0] | 0x20) == 'n', &writing, &err, &named, events_retry);
	if (named)
		strcpy(u->name, name);
	if (fd < 0 && !scratch)
		fatal(err, "open", u);
	if ((err = unit_attach(u, fd, false, writing)))
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
