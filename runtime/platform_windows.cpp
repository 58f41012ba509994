/*
 * The platform layer on Windows: the C run-time's descriptor calls, which
 * MinGW-w64 and Microsoft's compiler share, every one in binary mode (the
 * run-time does its own CR LF and Ctrl-Z); the console control handler;
 * file names through the wide (UTF-16) API.
 */
#include "runtime/platform.h"

#include <windows.h>

#include <atomic>
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <signal.h>
#include <sys/stat.h>

const char SYS_CONSOLE_LINE_END[] = "\r\n";
const char *const SYS_HELP_SWITCH = "/?";

static sys_event_answer answer, leave;

/* The lock on the units (platform.h), held for good by the end of a run;
 * made by its first taker, on the main thread, before any handler waits. */
static CRITICAL_SECTION buffers_lock;
static bool lock_made;
static std::atomic<bool> held_for_good;

/* How long a console handler waits for the lock. A write out takes far
 * less; a longer one does not end (a pipe nobody reads), and the system
 * ends the process some 5 s after a close event: the handler leaves first,
 * with the event's message and status, the buffers as they are. */
enum { HANDLER_WAIT_MS = 3000, HANDLER_POLL_MS = 10 };

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
	for (int waited = 0; !TryEnterCriticalSection(&buffers_lock); waited += HANDLER_POLL_MS) {
		if (waited >= HANDLER_WAIT_MS && held_for_good)
			return TRUE;   /* the run is ending already (its end ends the process) */
		if (waited >= HANDLER_WAIT_MS)
			leave(e);
		Sleep(HANDLER_POLL_MS);
	}
	answer(e);
	return TRUE;
}

static void on_signal(int sig)
{
	sys_lock_buffers();
	answer(sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT);
}

bool sys_start(sys_event_answer a, sys_event_answer l)
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
	leave = l;
	sys_lock_buffers();   /* made now */
	sys_unlock_buffers();
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
	if (!lock_made) {
		InitializeCriticalSection(&buffers_lock);
		lock_made = true;
	}
	EnterCriticalSection(&buffers_lock);
}

void sys_unlock_buffers(void)
{
	LeaveCriticalSection(&buffers_lock);
}

void sys_hold_buffers(void)
{
	sys_lock_buffers();
	held_for_good = true;
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

/* op on a file name as typed, in bytes, turned into the UTF-16 name the
 * wide API takes, so that the file opened is the one Explorer shows: in
 * the console's input code page when standard input is a console, else as
 * UTF-8 when it is valid UTF-8 (Notepad, most scripts), else in the ANSI
 * code page. op's result, or -1 with errno set for a name too long. */
enum { WIDE_NAME_MAX = 1024 };

static int on_wide_name(const char *name, int (*op)(const wchar_t *))
{
	DWORD mode;
	UINT cp = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) ? GetConsoleCP()
	          : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0) > 0 ? CP_UTF8
	                                                                                       : CP_ACP;
	wchar_t wide[WIDE_NAME_MAX];
	if (MultiByteToWideChar(cp, 0, name, -1, wide, WIDE_NAME_MAX) > 0)
		return op(wide);
	errno = ENAMETOOLONG;
	return -1;
}

int sys_open_read(const char *name)
{
	/* a directory cannot be opened: the C library says why */
	return on_wide_name(name, [](const wchar_t *w) { return _wopen(w, _O_RDONLY | _O_BINARY | _O_NOINHERIT); });
}

int sys_open_write(const char *name)
{
	return on_wide_name(name, [](const wchar_t *w) { return _wopen(w, _O_WRONLY | _O_BINARY | _O_NOINHERIT); });
}

int sys_create(const char *name)
{
	return on_wide_name(name, [](const wchar_t *w) {
		return _wopen(w, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
	});
}

bool sys_exists(const char *name)
{
	return on_wide_name(name, [](const wchar_t *w) {
		struct _stat64 st;
		return _wstat64(w, &st);
	}) == 0;
}

int sys_remove(const char *name)
{
	return on_wide_name(name, _wunlink) == 0 ? 0 : errno;
}
