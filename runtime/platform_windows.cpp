/*
 * The platform layer on Windows, with the C run-time's descriptor calls
 * (_open, _read, _write, ...) and the console control handler; the same
 * calls exist in MinGW-w64 and in Microsoft's compiler. File names go to
 * the wide (UTF-16) API.
 *
 * Every descriptor is in binary mode: the run-time does its own text-mode
 * handling (CR LF, Ctrl-Z), the C run-time must not do it a second time.
 */
#include "runtime/platform.h"

#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

const char SYS_CONSOLE_LINE_END[] = "\r\n";
const char *const SYS_HELP_SWITCH = "/?";

static sys_event_answer answer;

/* Held by whoever writes a buffer out, and for good by whoever ends the
 * run. A console control handler runs on a thread of its own: it takes the
 * lock before it answers, so that nothing is written twice or torn. */
static HANDLE buffers_lock;

/* How long a console handler waits for the lock. A buffer is written out
 * in far less; a write that takes longer does not end (a pipe nobody
 * reads), and the system itself ends the process some 5 s after a close
 * event, so the handler must decide before then. */
enum { HANDLER_WAIT_MS = 3000 };

/* Called by the system on a thread of its own. Not static: the tests call
 * it so, as no console exists there to send a real event. */
BOOL WINAPI sys_console_event(DWORD type);

BOOL WINAPI sys_console_event(DWORD type)
{
	sys_event e;
	switch (type) {
	case CTRL_C_EVENT:
	case CTRL_BREAK_EVENT:
		e = SYS_INTERRUPT;
		break;
	case CTRL_CLOSE_EVENT:
	case CTRL_LOGOFF_EVENT:
	case CTRL_SHUTDOWN_EVENT:
		e = SYS_TERMINATE;
		break;
	default:
		return FALSE;
	}
	bool stuck = WaitForSingleObject(buffers_lock, HANDLER_WAIT_MS) == WAIT_TIMEOUT;
	answer(e, stuck);
	return TRUE;
}

static void on_signal(int sig)
{
	sys_lock_buffers();
	answer(sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT, false);
}

bool sys_start(sys_event_answer a)
{
	for (int fd = 0; fd <= 2; fd++) {
		/* A process started without a console or some standard handle (by
		 * a program with no console of its own, the Task Scheduler,
		 * DETACHED_PROCESS) has descriptors 0-2 marked open with no handle
		 * behind them (-2): the null device takes each such place. */
		if (_get_osfhandle(fd) < 0) {
			int nul = _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
			if (nul < 0 || (nul != fd && (_dup2(nul, fd) != 0 || _close(nul) != 0)))
				return false;
		}
		_setmode(fd, _O_BINARY);
	}
	answer = a;
	buffers_lock = CreateMutexA(nullptr, FALSE, nullptr);
	if (!buffers_lock)
		return false;
	/* An interrupt that was ignored when the program started (the ignore
	 * flag a parent passed on) stays ignored: the system then calls no
	 * handler for Ctrl-C. */
	SetConsoleCtrlHandler(sys_console_event, TRUE);
	signal(SIGFPE, on_signal);
	signal(SIGABRT, on_signal);
	return true;
}

void sys_lock_buffers(void)
{
	WaitForSingleObject(buffers_lock, INFINITE);
}

void sys_unlock_buffers(void)
{
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

/* A file name as typed, in bytes, as the UTF-16 name the wide file API
 * takes, so that the file opened is the one Explorer shows: decoded in the
 * console's input code page when standard input is a console (the name
 * was typed there), else as UTF-8 when it is valid UTF-8 (a file saved by
 * Notepad, most scripts), else in the ANSI code page. ASCII is the same
 * in all of them. False with errno set for a name too long. */
enum { WIDE_NAME_MAX = 1024 };

static bool wide_name(const char *name, wchar_t *wide)
{
	DWORD mode;
	UINT cp = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) ? GetConsoleCP()
	          : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0) > 0 ? CP_UTF8
	                                                                                       : CP_ACP;
	if (MultiByteToWideChar(cp, 0, name, -1, wide, WIDE_NAME_MAX) > 0)
		return true;
	errno = ENAMETOOLONG;
	return false;
}

int sys_open_read(const char *name)
{
	/* a directory cannot be opened: the C library says why */
	wchar_t w[WIDE_NAME_MAX];
	return wide_name(name, w) ? _wopen(w, _O_RDONLY | _O_BINARY | _O_NOINHERIT) : -1;
}

int sys_open_write(const char *name)
{
	wchar_t w[WIDE_NAME_MAX];
	return wide_name(name, w) ? _wopen(w, _O_WRONLY | _O_BINARY | _O_NOINHERIT) : -1;
}

int sys_create(const char *name)
{
	wchar_t w[WIDE_NAME_MAX];
	return wide_name(name, w) ? _wopen(w, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE)
	                          : -1;
}

bool sys_exists(const char *name)
{
	wchar_t w[WIDE_NAME_MAX];
	struct _stat64 st;
	return wide_name(name, w) && _wstat64(w, &st) == 0;
}

int sys_remove(const char *name)
{
	wchar_t w[WIDE_NAME_MAX];
	if (!wide_name(name, w))
		return errno;
	return _wunlink(w) == 0 ? 0 : errno;
}
