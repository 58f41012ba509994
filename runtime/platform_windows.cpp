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
#include <shellapi.h>
#include <stdlib.h>
#include <wchar.h>

const char SYS_CONSOLE_LINE_END[] = "\r\n";
const char *const SYS_HELP_SWITCH = "/?";

static sys_event_answer at_once;

/* All the console handler's thread touches: the first event recorded (its
 * number + 1, or 0), and the main thread. */
std::atomic<int> sys_recorded;
static HANDLE main_thread;

/* Called by the system on a thread of its own. Not static: the tests call
 * it so, as no console exists there to send a real event. */
BOOL WINAPI sys_console_event(DWORD type);

BOOL WINAPI sys_console_event(DWORD type)
{
	/* Ctrl-C and Ctrl-Break; a close, logoff or shutdown (3 and 4 are not used) */
	if (type > CTRL_SHUTDOWN_EVENT || type == 3 || type == 4)
		return FALSE;
	sys_event e = type <= CTRL_BREAK_EVENT ? SYS_INTERRUPT : SYS_TERMINATE;
	int none = 0;
	sys_recorded.compare_exchange_strong(none, e + 1);
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
	if (fd < 0 || FlushFileBuffers((HANDLE)_get_osfhandle(fd)))
		return 0;
	DWORD why = GetLastError();
	return why == ERROR_INVALID_HANDLE || why == ERROR_INVALID_FUNCTION ? 0
	       : why == ERROR_OPERATION_ABORTED                           ? EINTR
	       : why == ERROR_DISK_FULL                                   ? ENOSPC
	                                                                  : EIO;
}

int sys_spare_descriptors(void)
{
	return 2048 - 3;   /* the C library's descriptors */
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

static bool names_utf8;   /* the names come from the wide command line */

static int on_wide_name(const char *name, int (*op)(const wchar_t *))
{
	DWORD mode;
	UINT cp = names_utf8 ? CP_UTF8 : GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) ? GetConsoleCP()
	          : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0) > 0 ? CP_UTF8
	                                                                                       : CP_ACP;
	wchar_t wide[WIDE_NAME_MAX];
	if (MultiByteToWideChar(cp, 0, name, -1, wide, WIDE_NAME_MAX) > 0)
		return op(wide);
	errno = ENAMETOOLONG;
	return -1;
}

int sys_open_read(const char *name, long long *size)
{
	/* a handle the C library's open would not share for deletion (a
	 * dialogue removing an old table moves it aside first) */
	int fd = on_wide_name(name, [](const wchar_t *w) {
		HANDLE h = CreateFileW(w, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
		                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
		if (h == INVALID_HANDLE_VALUE) {   /* why, as the C library says it */
			DWORD why = GetLastError(), is = GetFileAttributesW(w);
			errno = why == ERROR_OPERATION_ABORTED ? EINTR : is == INVALID_FILE_ATTRIBUTES ? ENOENT
			        : is & FILE_ATTRIBUTE_DIRECTORY ? EISDIR : EACCES;
			return -1;
		}
		int fd = _open_osfhandle((intptr_t)h, _O_RDONLY | _O_BINARY);
		if (fd < 0)
			CloseHandle(h);
		return fd;
	});
	HANDLE h = fd >= 0 && size ? (HANDLE)_get_osfhandle(fd) : nullptr;
	LARGE_INTEGER n;
	if (h)
		*size = GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &n) ? n.QuadPart : -1;
	return fd;
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

/* w in UTF-8, appended to the list at *list (n names so far). */
static void add_utf8(char ***list, int *n, const wchar_t *w)
{
	int size = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
	*list = (char **)realloc(*list, sizeof(char *) * (size_t)(*n + 1));
	(*list)[*n] = (char *)malloc((size_t)size);
	WideCharToMultiByte(CP_UTF8, 0, w, -1, (*list)[(*n)++], size, nullptr, nullptr);
}

int sys_file_arguments(int, char **, int first, char ***files)
{
	int argc, n = 0;
	wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
	names_utf8 = true;
	*files = nullptr;
	for (int i = first; i < argc; i++) {
		/* as Windows programs do (cmd passes a pattern as typed); FindFirstFile
		 * also matches short names (notes.data as NOTES~1.DAT): not taken */
		WIN32_FIND_DATAW found;
		const wchar_t *a = argv[i];
		HANDLE h = wcspbrk(a, L"*?") ? FindFirstFileW(a, &found) : INVALID_HANDLE_VALUE;
		size_t dir = wcslen(a), given = (size_t)n;
		while (dir > 0 && !wcschr(L"\\/:", a[dir - 1]))
			dir--;
		for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &found)) {
			size_t k = wcslen(found.cFileName);
			wchar_t path[WIDE_NAME_MAX];
			if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && k >= 4 && dir + k < WIDE_NAME_MAX &&
			    _wcsicmp(found.cFileName + k - 4, L".dat") == 0) {
				wmemcpy(path, a, dir);
				wcscpy(path + dir, found.cFileName);
				add_utf8(files, &n, path);
			}
		}
		if (h != INVALID_HANDLE_VALUE)
			FindClose(h);
		if ((size_t)n == given)   /* nothing matched: the name as given, which says so */
			add_utf8(files, &n, a);
	}
	return n;
}

void sys_console_pause(void)
{
	DWORD ids[2];
	if (GetConsoleProcessList(ids, 2) != 1)
		return;
	static const char ask[] = "Press Enter to close this window.\r\n";
	char c;
	if (_write(1, ask, sizeof ask - 1) > 0)
		while (_read(0, &c, 1) == 1 && c != '\n') {
		}
}
