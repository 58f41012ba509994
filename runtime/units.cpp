/*
 * The unit table and its buffered, text-mode output.
 */
#include "runtime/units.h"

#include "runtime/platform.h"

#include <atomic>
#include <string.h>

unit units[MAX_UNITS];

static long read_unit(void *ctx, char *buf, size_t cap)
{
	return sys_read(((unit *)ctx)->fd, buf, cap);
}

void unit_attach(unit *u, int fd, char *name, bool console)
{
	u->connected = true;
	u->console = console;
	u->writing = u->writable = false;
	u->skip_line = false;
	u->fd = fd;
	u->name = name;
	u->out_len = 0;
	text_open(&u->in, read_unit, u);
}

void units_init(void)
{
	unit_attach(&units[0], 2, nullptr, true);
	unit_attach(&units[5], 0, nullptr, true);
	unit_attach(&units[6], 1, nullptr, true);
	units[0].writing = units[6].writing = units[0].writable = units[6].writable = true;
}

unit *unit_at(long n)
{
	return n >= 0 && n < MAX_UNITS ? &units[n] : nullptr;
}

int unit_flush(unit *u)
{
	if (u->out_len == 0)
		return 0;
	/* the event handlers wait while a buffer is written out, so that no
	 * byte is written twice */
	sys_lock_buffers();
	int err = sys_write_all(u->fd, u->out, u->out_len);
	u->out_len = 0;
	sys_unlock_buffers();
	return u->console ? 0 : err;   /* console trouble never ends the run */
}

int unit_put(unit *u, const char *p, size_t n)
{
	for (;;) {
		size_t len = u->out_len;
		size_t k = n < OUT_BUF - len ? n : OUT_BUF - len;
		memcpy(u->out + len, p, k);
		/* On Windows the console handler empties the buffers from a
		 * thread of its own, at any moment: the bytes must be in place
		 * before the length that publishes them, or it could write out
		 * bytes not yet copied. */
		std::atomic_thread_fence(std::memory_order_release);
		u->out_len = len + k;
		if ((n -= k) == 0)
			return 0;
		p += k;
		int err = unit_flush(u);   /* the buffer is full */
		if (err)
			return err;
	}
}

int unit_line_end(unit *u)
{
	if (u->console)
		return unit_put(u, SYS_CONSOLE_LINE_END, strlen(SYS_CONSOLE_LINE_END));
	return unit_put(u, "\r\n", 2);
}

unit *units_flush_files(int *err)
{
	for (unit &u : units) {
		if (u.connected && !u.console && (*err = unit_flush(&u)) != 0)
			return &u;
	}
	return nullptr;
}

int unit_close(unit *u)
{
	int err = unit_flush(u);
	u->connected = false;
	if (!u->console) {
		int closing = sys_close(u->fd);
		if (!err)
			err = closing;
	}
	u->fd = -1;
	return err;
}

bool unit_start_writing(unit *u)
{
	if (u->writing)
		return true;
	/* Never a reopen by name: the name may meanwhile stand for another
	 * file, and only the file the unit is connected to is written. Output
	 * starts where the descriptor is, so not after a read (the program
	 * never reads the file it writes). */
	if (!u->writable || u->in.start + (long long)u->in.end > 0)
		return false;
	u->writing = true;
	return true;
}
