/*
 * The unit table and its buffered, text-mode output.
 */
#include "runtime/units.h"

#include "runtime/events.h"

#include <errno.h>
#include <string.h>

unit units[MAX_UNITS];

/* The pool: each slot a unit's input and output buffer, its pages touched
 * only once a unit uses it. Its owners are the connected units, in the
 * list every walk goes through. */
enum { POOL_SLOTS = 16 };
static char pool[POOL_SLOTS][TEXT_BUF + OUT_BUF];
static unit *owner[POOL_SLOTS];

/* The console took no more output while the run was ending. */
static bool console_stuck;

/* Reads for u's input stream. */
static long read_unit(void *ctx, char *buf, size_t cap)
{
	long n;
	while (events_retry(n = sys_read(((unit *)ctx)->fd, buf, cap))) {
	}
	return n;
}

/* The one write path: p[*done..n) to fd, *done advanced after each write
 * (platform.h). While the run ends, an interrupted console write is given
 * up with all that follow. 0 or the errno of the failure. */
static int write_out(int fd, bool console, const char *p, size_t n, size_t *done)
{
	while (*done < n) {
		bool ending = events_safe_point();
		if (console && ending && console_stuck)
			return 0;
		long k = sys_write(fd, p + *done, n - *done);
		if (k > 0)
			*done += (size_t)k;
		else if (k == 0 || errno != EINTR)
			return k == 0 ? ENOSPC : errno;   /* 0: a device that takes nothing and says nothing */
		else if (console && ending)
			console_stuck = true;
	}
	return 0;
}

int write_texts(int fd, const char *const *texts, size_t n)
{
	char buf[OUT_BUF];
	size_t len = 0, done = 0;
	int err = 0;
	for (size_t i = 0; i < n && !err; i++)
		for (const char *s = texts[i]; *s && !err;) {
			if (len == sizeof buf)
				err = write_out(fd, true, buf, len, &done), len = done = 0;
			size_t k = strnlen(s, sizeof buf - len);
			memcpy(buf + len, s, k);
			len += k;
			s += k;
		}
	return err ? err : write_out(fd, true, buf, len, &done);
}

int unit_attach(unit *u, int fd, bool console, bool writing)
{
	int slot = 0;
	while (slot < POOL_SLOTS && owner[slot])
		slot++;
	if (slot == POOL_SLOTS)
		return EMFILE;
	owner[slot] = u;
	u->connected = true;
	u->console = console;
	u->writing = writing;
	u->unsynced = false;
	u->fd = fd;
	text_open(&u->in, read_unit, u, (unsigned char *)pool[slot]);
	u->out = pool[slot] + TEXT_BUF;
	u->out_len = u->out_done = 0;
	u->slot = slot;
	return 0;
}

void units_init(void)
{
	unit_attach(&units[0], 2, true, true);
	unit_attach(&units[5], 0, true, false);
	unit_attach(&units[6], 1, true, true);
}

int unit_flush(unit *u)
{
	int err = write_out(u->fd, u->console, u->out, u->out_len, &u->out_done);
	u->unsynced |= !u->console && u->out_done > 0;
	u->out_len = u->out_done = 0;
	events_safe_point();
	return u->console ? 0 : err;   /* console trouble never ends the run */
}

int unit_put(unit *u, const char *p, size_t n)
{
	int err = 0;
	while (n > OUT_BUF - u->out_len && !err) {   /* the buffer fills: write it out */
		size_t k = OUT_BUF - u->out_len;
		memcpy(u->out + u->out_len, p, k);
		u->out_len = OUT_BUF;
		p += k;
		n -= k;
		err = unit_flush(u);
	}
	if (!err) {
		memcpy(u->out + u->out_len, p, n);
		u->out_len += n;
	}
	return err;
}

int unit_line_end(unit *u)
{
	const char *end = u->console ? SYS_CONSOLE_LINE_END : "\r\n";
	return unit_put(u, end, strlen(end));
}

unit *units_sync_files(int *err)
{
	for (unit *u : owner) {
		if (u && !u->console && !(*err = unit_flush(u)) && u->unsynced) {
			while ((*err = sys_sync(u->fd, u->name)) == EINTR)
				events_safe_point();
			u->unsynced = false;
		}
		if (u && !u->console && *err)
			return u;
	}
	return nullptr;
}

int unit_close(unit *u)
{
	int err = unit_flush(u), closing = u->console || u->fd < 0 ? 0 : sys_close(u->fd);
	owner[u->slot] = nullptr;
	u->connected = false;
	u->fd = -1;
	return err ? err : closing;
}

unit *units_close_all(int *err)
{
	unit *failed = nullptr;
	for (unit *u : owner) {
		int e = u ? unit_close(u) : 0;
		if (e && !failed) {
			failed = u;
			*err = e;
		}
	}
	return failed;
}
