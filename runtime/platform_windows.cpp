/*
 * The platform layer on Windows, with the C run-time's descriptor calls
 * (_open, _read, _write, ...) and the console control handler; the same
 * calls exist in MinGW-w64 and in Microsoft's compiler. File names are
 * passed as they were typed (the ANSI API).
 *
 * Every descriptor is in binary mode: the run-time does its own text-mode
 * handling (CR LF, Ctrl-Z), the C run-time must not do it a second time.
 */
#include "runtime/platform.h"
#include "runtime/signals.h"

#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

const char SYS_CONSOLE_LINE_END[] = "\r\n";

/* Held by whoever writes a buffer out. A console control handler runs on
 * a thread of its own: it takes the lock before it empties the buffers and
 * never gives it back (the process ends), so that nothing is written twice
 * or torn; it waits a bounded time only, then ends without writing. */
static HANDLE buffers_lock;
enum { HANDLER_WAIT_MS = 3000 };

extern "C" BOOL WINAPI sys_console_event(DWORD type);

BOOL WINAPI sys_console_event(DWORD type)
{
	run_event e;
	switch (type) {
	case CTRL_C_EVENT:
	case CTRL_BREAK_EVENT:
		e = EVENT_INTERRUPT;
		break;
	case CTRL_CLOSE_EVENT:
	case CTRL_LOGOFF_EVENT:
	case CTRL_SHUTDOWN_EVENT:
		e = EVENT_TERMINATE;
		break;
	default:
		return FALSE;
	}
	if (buffers_lock && WaitForSingleObject(buffers_lock, HANDLER_WAIT_MS) == WAIT_TIMEOUT)
		_exit(1);   /* a write that does not end: leave its buffer alone */
	on_event(e);
}

static void on_signal(int sig)
{
	on_event(sig == SIGFPE ? EVENT_FP : EVENT_ABORT);
}

void sys_start(void)
{
	for (int fd = 0; fd <= 2; fd++) {
		/* the lowest free number is fd itself */
		if (_get_osfhandle(fd) < 0 && _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY) != fd)
			_exit(3);
		_setmode(fd, _O_BINARY);
	}
	buffers_lock = CreateMutexA(nullptr, FALSE, nullptr);
	/* An interrupt that was ignored when the program started (the ignore
	 * flag a parent passed on) stays ignored: the system then calls no
	 * handler for Ctrl-C. */
	SetConsoleCtrlHandler(sys_console_event, TRUE);
	signal(SIGFPE, on_signal);
	signal(SIGABRT, on_signal);
}

void sys_hold_interrupts(void)
{
	if (buffers_lock)
		WaitForSingleObject(buffers_lock, INFINITE);
}

void sys_release_interrupts(void)
{
	if (buffers_lock)
		ReleaseMutex(buffers_lock);
}

long sys_read(int fd, char *buf, size_t cap)
{
	return _read(fd, buf, cap > 1u << 30 ? 1u << 30 : (unsigned)cap);
}

int sys_write_all(int fd, const char *p, size_t n)
{
	while (n > 0) {
		int k = _write(fd, p, n > 1u << 30 ? 1u << 30 : (unsigned)n);
		if (k < 0)
			return errno;
		if (k == 0)
			return ENOSPC;
		p += k;
		n -= (size_t)k;
	}
	return 0;
}

int sys_close(int fd)
{
	return _close(fd) == 0 ? 0 : errno;
}

int sys_open_read(const char *name)
{
	/* a directory cannot be opened: the C library says why */
	return _open(name, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int sys_open_write(const char *name)
{
	return _open(name, _O_WRONLY | _O_BINARY | _O_NOINHERIT);
}

int sys_create(const char *name, bool exclusive)
{
	int fd = _open(name, _O_CREAT | (exclusive ? _O_EXCL : 0) | _O_RDONLY | _O_BINARY | _O_NOINHERIT,
	               _S_IREAD | _S_IWRITE);
	if (fd < 0)
		return errno;
	_close(fd);
	return 0;
}

/* The volume and index that name a file, whatever path led to it. */
static bool identity(int fd, BY_HANDLE_FILE_INFORMATION *info)
{
	HANDLE h = (HANDLE)_get_osfhandle(fd);
	return h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, info);
}

bool sys_same_file(int a, int b)
{
	BY_HANDLE_FILE_INFORMATION ia, ib;
	return identity(a, &ia) && identity(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
	       ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool sys_seek(int fd, long long pos)
{
	return _lseeki64(fd, pos, SEEK_SET) >= 0;
}

bool sys_exists(const char *name)
{
	struct _stat64 st;
	return _stat64(name, &st) == 0;
}

int sys_remove(const char *name)
{
	return _unlink(name) == 0 ? 0 : errno;
}

const char *sys_error_text(int err)
{
	return strerror(err);
}

void sys_exit(int status)
{
	_exit(status);
}
