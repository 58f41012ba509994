/*
 * The unit table and its buffered, text-mode output.
 */
#include "runtime/units.h"

#include "runtime/platform.h"

#include <errno.h>
#include <string.h>

unit units[MAX_UNITS];

/* The pool: each slot a unit's input and output buffer, its pages touched
 * only once a unit uses it. Its owners are the connected units, in the
 * list every walk goes through. */
enum { POOL_SLOTS = 16 };
static char pool[POOL_SLOTS][TEXT_BUF + OUT_BUF];
static unit *owner[POOL_SLOTS];

static long read_unit(void *ctx, char *buf, size_t cap)
{
	return sys_read(((unit *)ctx)->fd, buf, cap);
}

int unit_attach(unit *u, int fd, bool console, bool writing)
{
	if (u->connected)
		unit_close(u);   /* connected afresh (a harness's next run) */
	sys_lock_buffers();
	int slot = 0;
	while (slot < POOL_SLOTS && owner[slot])
		slot++;
	if (slot < POOL_SLOTS) {
		owner[slot] = u;
		u->connected = true;
		u->console = console;
		u->writing = writing;
		u->skip_line = false;
		u->fd = fd;
		text_open(&u->in, read_unit, u, (unsigned char *)pool[slot]);
		u->out = pool[slot] + TEXT_BUF;
		u->out_len = 0;
		u->slot = slot;
	}
	sys_unlock_buffers();
	return slot < POOL_SLOTS ? 0 : EMFILE;
}

void units_init(void)
{
	unit_attach(&units[0], 2, true, true);
	unit_attach(&units[5], 0, true, false);
	unit_attach(&units[6], 1, true, true);
}

int unit_flush(unit *u)
{
	sys_lock_buffers();
	int err = u->out_len ? sys_write_all(u->fd, u->out, u->out_len) : 0;
	u->out_len = 0;
	sys_unlock_buffers();
	return u->console ? 0 : err;   /* console trouble never ends the run */
}

int unit_put(unit *u, const char *p, size_t n)
{
	int err = 0;
	sys_lock_buffers();
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
	sys_unlock_buffers();
	return err;
}

int unit_line_end(unit *u)
{
	const char *end = u->console ? SYS_CONSOLE_LINE_END : "\r\n";
	return unit_put(u, end, strlen(end));
}

unit *units_flush_files(int *err)
{
	for (unit *u : owner)
		if (u && !u->console && (*err = unit_flush(u)) != 0)
			return u;
	return nullptr;
}

int unit_close(unit *u)
{
	sys_lock_buffers();
	int err = unit_flush(u);
	if (!u->console) {
		int closing = sys_close(u->fd);
		if (!err)
			err = closing;
	}
	owner[u->slot] = nullptr;
	u->connected = false;
	u->fd = -1;
	sys_unlock_buffers();
	return err;
}

unit *units_close_all(int *err)
{
	sys_hold_buffers();
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
