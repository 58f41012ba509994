/*
 * The platform layer on Windows: the C run-time's descriptor calls, which
 * MinGW-w64 and Microsoft's compiler share, every one in binary mode (the
 * run-time does its own CR LF and Ctrl-Z); the console control handler;
 * file names through the wide (UTF-16) API. The event rule: platform.h.
 */
#include "runtime/platform.h"

#include <windows.h>

#include <atomic>
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <signal.h>
#include <sys/stat.h>
#include <wchar.h>

const char SYS_CONSOLE_LINE_END[] = "\r\n";
const char *const SYS_HELP_SWITCH = "/?";

static sys_event_answer at_once;

/* All the console handler's thread touches: the first event recorded (its
 * number + 1, or 0), and the main thread. */
static std::atomic<int> recorded;
static HANDLE main_thread;

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
	int none = 0;
	recorded.compare_exchange_strong(none, e + 1);
	/* whatever call holds the main thread is cancelled, again until the
	 * run has answered and ended the process; returning would end it at
	 * once after a close, logoff or shutdown */
	for (;;) {
		CancelSynchronousIo(main_thread);
		Sleep(50);
	}
}

/* A call the handler cancelled is an interrupted one: r, errno EINTR. */
static long interrupted(long r)
{
	if (r < 0 && GetLastError() == ERROR_OPERATION_ABORTED)
		errno = EINTR;
	return r;
}

static void on_signal(int sig)
{
	/* raised by the program itself (abort) or by an instruction */
	at_once(sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT);
}

int sys_start(sys_event_answer a)
{
	for (int fd = 0; fd <= 2; fd++) {
		/* A process started without a console or some standard handle (by
		 * a program with no console of its own, the Task Scheduler,
		 * DETACHED_PROCESS) has descriptors 0-2 marked open with no handle
		 * behind them (-2): the null device takes each such place. */
		if (_get_osfhandle(fd) < 0) {
			int nul = _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
			if (nul < 0 || (nul != fd && (_dup2(nul, fd) != 0 || _close(nul) != 0)))
				return errno;
		}
		_setmode(fd, _O_BINARY);
	}
	at_once = a;
	DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &main_thread, 0, FALSE,
	                DUPLICATE_SAME_ACCESS);
	/* An interrupt that was ignored when the program started (the ignore
	 * flag a parent passed on) stays ignored: the system then calls no
	 * handler for Ctrl-C. */
	SetConsoleCtrlHandler(sys_console_event, TRUE);
	signal(SIGFPE, on_signal);
	signal(SIGABRT, on_signal);
	return 0;
}

int sys_event_recorded(void)
{
	return recorded.load() - 1;
}

/* A read or write of at most 1 GiB; a cancelled one is EINTR. */
static const unsigned IO_MAX = 1u << 30;

long sys_read(int fd, char *buf, size_t cap)
{
	int n = (int)interrupted(_read(fd, buf, cap > IO_MAX ? IO_MAX : (unsigned)cap));
	/* A Ctrl-C ends a console read with nothing read, maybe before its
	 * handler has recorded it: waited for briefly before the read is taken
	 * for the end of the input. */
	DWORD mode;
	bool console_empty = n == 0 && GetConsoleMode((HANDLE)_get_osfhandle(fd), &mode);
	for (int ms = 0; console_empty && ms < 100 && sys_event_recorded() < 0; ms += 10)
		Sleep(10);
	if (n == 0 && sys_event_recorded() >= 0) {
		errno = EINTR;
		return -1;
	}
	return n;
}

long sys_write(int fd, const char *p, size_t n)
{
	return interrupted(_write(fd, p, n > IO_MAX ? IO_MAX : (unsigned)n));
}

int sys_sync(int fd, const char *)
{
	/* with its entry (NTFS logs the folder's change); not a pipe's or NUL's */
	if (FlushFileBuffers((HANDLE)_get_osfhandle(fd)))
		return 0;
	DWORD why = GetLastError();
	return why == ERROR_INVALID_HANDLE || why == ERROR_INVALID_FUNCTION ? 0
	       : why == ERROR_OPERATION_ABORTED                           ? EINTR
	       : why == ERROR_DISK_FULL                                   ? ENOSPC
	                                                                  : EIO;
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
	return (int)interrupted(on_wide_name(name, [](const wchar_t *w) { return _wopen(w, _O_RDONLY | _O_BINARY | _O_NOINHERIT); }));
}

int sys_open_write(const char *name)
{
	return (int)interrupted(on_wide_name(name, [](const wchar_t *w) { return _wopen(w, _O_WRONLY | _O_BINARY | _O_NOINHERIT); }));
}

int sys_create(const char *name)
{
	return (int)interrupted(on_wide_name(name, [](const wchar_t *w) {
		return _wopen(w, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
	}));
}

bool sys_exists(const char *name)
{
	return on_wide_name(name, [](const wchar_t *w) {
		struct _stat64 st;
		return _wstat64(w, &st);
	}) == 0;
}

/* The name freed at once, or the file left whole. Deleted while another
 * program holds it with deletion allowed (a viewer, an indexer), a file
 * may keep its name until that one closes it: so it is moved aside in its
 * folder first, put back if it cannot be deleted (read-only). */
static int remove_wide(const wchar_t *w)
{
	wchar_t aside[WIDE_NAME_MAX + 20];
	size_t n = wcslen(w);
	if (n >= WIDE_NAME_MAX)
		return -1;
	wmemcpy(aside, w, n);
	aside[n++] = L'~';
	for (DWORD id = GetCurrentProcessId(), k = 0; k < 8; k++, id >>= 4)
		aside[n++] = L"0123456789abcdef"[id & 15];
	wcscpy(aside + n, L".deleted");
	if (!MoveFileExW(w, aside, 0))
		return -1;
	if (DeleteFileW(aside))
		return 0;
	MoveFileExW(aside, w, 0);
	return -1;
}

int sys_remove(const char *name)
{
	return on_wide_name(name, remove_wide) == 0 ? 0 : EACCES;
}
