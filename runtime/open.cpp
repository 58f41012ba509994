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
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

/* Opens name for reading, refusing a directory. Returns the descriptor,
 * or -1 with errno set. */
static int open_for_reading(const char *name)
{
	int fd = open(name, O_RDONLY | O_NOCTTY | O_CLOEXEC);
	if (fd < 0)
		return -1;
	struct stat st;
	fstat(fd, &st);
	if (S_ISDIR(st.st_mode)) {
		close(fd);
		errno = EISDIR;
		return -1;
	}
	return fd;
}

integer f_open(olist *a)
{
	unit *u = unit_at(a->ounit);
	if (!u)
		fatal(ERR_UNIT_NUMBER, "open");
	io.unit_no = a->ounit;
	if (u->connected) {
		int err = unit_close(u);
		if (err)
			fatal(err, "open");
	}
	free(u->name);
	u->name = nullptr;

	char *name = trimmed_name(a->ofnm, a->ofnmlen);
	if (!name)
		fatal(errno, "open");
	char status = a->osta ? (char)(a->osta[0] | 0x20) : 'u';
	struct stat st;
	if (status == 'o' && stat(name, &st) != 0) {
		int err = errno;
		free(name);
		fatal(err, "open");
	}
	if (status != 'o') {
		/* "new" creates the file and refuses an existing one in one call */
		int fd = open(name, O_CREAT | (status == 'n' ? O_EXCL : 0) | O_RDONLY | O_NOCTTY | O_CLOEXEC, 0666);
		if (fd >= 0) {
			close(fd);
		} else if (errno == EEXIST) {
			free(name);
			fatal(ERR_NEW_EXISTS, "open");
		} else if (status == 'n') {
			u->name = name;
			fatal(errno, "open");
		}
	}
	u->name = name;

	bool writing = false;
	int fd = open_for_reading(name);
	if (fd < 0) {
		fd = open(name, O_WRONLY | O_NOCTTY | O_CLOEXEC);
		writing = true;
	}
	if (fd < 0)
		fatal(errno, "open");
	unit_attach(u, fd, name, false);
	u->writing = writing;
	return 0;
}
