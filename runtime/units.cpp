/*
 * The unit table and its buffered, text-mode output.
 */
#include "runtime/units.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

unit units[MAX_UNITS];

void unit_attach(unit *u, int fd, char *name, bool console)
{
	u->connected = true;
	u->console = console;
	u->crlf = !console;
	u->writing = false;
	u->skip_line = false;
	u->fd = fd;
	u->name = name;
	u->out_len = 0;
	source_fd(&u->src, fd);
	text_open(&u->in, &u->src);
}

void units_init(void)
{
	unit_attach(&units[0], 2, nullptr, true);
	unit_attach(&units[5], 0, nullptr, true);
	unit_attach(&units[6], 1, nullptr, true);
	units[0].writing = units[6].writing = true;
}

unit *unit_at(long n)
{
	return n >= 0 && n < MAX_UNITS ? &units[n] : nullptr;
}

/* Writes all n bytes at p to fd; returns 0 or the errno of the failure. */
static int write_all(int fd, const char *p, size_t n)
{
	while (n > 0) {
		ssize_t k = write(fd, p, n);
		if (k < 0) {
			if (errno == EINTR)
				continue;
			return errno;
		}
		p += k;
		n -= (size_t)k;
	}
	return 0;
}

/* The signals whose handlers empty the buffers; they are held back while
 * a buffer is being written out, so that no byte is written twice. */
static void hold_signals(sigset_t *old)
{
	sigset_t set;
	sigemptyset(&set);
	sigaddset(&set, SIGINT);
	sigaddset(&set, SIGTERM);
	sigaddset(&set, SIGFPE);
	sigaddset(&set, SIGABRT);
	sigprocmask(SIG_BLOCK, &set, old);
}

int unit_flush(unit *u)
{
	if (u->out_len == 0)
		return 0;
	sigset_t old;
	hold_signals(&old);
	int err = write_all(u->fd, u->out, u->out_len);
	u->out_len = 0;
	sigprocmask(SIG_SETMASK, &old, nullptr);
	return u->console ? 0 : err;
}

int unit_put_slow(unit *u, const char *p, size_t n)
{
	while (n > 0) {
		if (u->out_len == OUT_BUF) {
			int err = unit_flush(u);
			if (err)
				return err;
		}
		size_t room = OUT_BUF - u->out_len;
		size_t k = n < room ? n : room;
		memcpy(u->out + u->out_len, p, k);
		unit_commit(u, k);
		p += k;
		n -= k;
	}
	return 0;
}

char *unit_reserve(unit *u, size_t n, int *err)
{
	if (n > OUT_BUF - u->out_len && (*err = unit_flush(u)) != 0)
		return nullptr;
	return u->out + u->out_len;
}

int unit_line_end(unit *u)
{
	return u->crlf ? unit_put(u, "\r\n", 2) : unit_put(u, "\n", 1);
}

int unit_close(unit *u)
{
	int err = unit_flush(u);
	u->connected = false;
	if (!u->console && close(u->fd) != 0 && !err)
		err = errno;
	u->fd = -1;
	return u->console ? 0 : err;
}

unit *units_flush_files(int *err)
{
	for (unit &u : units) {
		if (u.connected && !u.console && (*err = unit_flush(&u)) != 0)
			return &u;
	}
	return nullptr;
}

void units_close_all_quietly(void)
{
	for (unit &u : units) {
		if (!u.connected)
			continue;
		if (u.out_len)
			write_all(u.fd, u.out, u.out_len);
		u.out_len = 0;
		if (!u.console)
			close(u.fd);
		u.connected = false;
	}
}

bool unit_start_writing(unit *u)
{
	if (u->writing)
		return true;
	if (u->console)
		return false;
	long long pos = text_offset(&u->in);
	int fd = open(u->name, O_WRONLY | O_NOCTTY | O_CLOEXEC);
	if (fd < 0)
		return false;
	/* the name may meanwhile stand for another file (a link put in its
	 * place): write only into the file the unit is connected to */
	struct stat was, now;
	if (fstat(u->fd, &was) != 0 || fstat(fd, &now) != 0 || was.st_dev != now.st_dev ||
	    was.st_ino != now.st_ino) {
		close(fd);
		return false;
	}
	lseek(fd, (off_t)pos, SEEK_SET);   /* cannot fail on a file that was read */
	close(u->fd);
	u->fd = fd;
	u->writing = true;
	return true;
}

void unit_skip_line(unit *u)
{
	if (!u->skip_line)
		return;
	u->skip_line = false;
	int c;
	do
		c = text_getc(&u->in);
	while (c >= 0 && c != '\n');
}
