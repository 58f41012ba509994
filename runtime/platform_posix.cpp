/*
 * The platform layer on POSIX.1-2008 systems: Linux (glibc and musl),
 * macOS and the BSDs. Each call relies only on what POSIX says of it,
 * and says so where the systems differ.
 */
#include "runtime/platform.h"

#include <atomic>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

const char SYS_CONSOLE_LINE_END[] = "\n";
const char *const SYS_HELP_SWITCH = nullptr;

static sys_event_answer at_once;

/* The first event recorded (its number + 1), or 0: all a handler changes. */
static std::atomic<int> recorded;
static_assert(std::atomic<int>::is_always_lock_free, "a handler may only touch a lock-free atomic");

/* A trap raised by an instruction; a SIGFPE sent has a code of its own
 * (SI_USER: 0 on Linux, 0x10001 on the BSDs and macOS). */
static bool trapped(int c)
{
	return c == FPE_INTDIV || c == FPE_INTOVF || c == FPE_FLTDIV || c == FPE_FLTOVF || c == FPE_FLTUND ||
	       c == FPE_FLTRES || c == FPE_FLTINV || c == FPE_FLTSUB;
}

/* Once an event came, every second: the wait it interrupts ends (EINTR). */
static void on_alarm(int)
{
	alarm(1);
}

static void on_signal(int sig, siginfo_t *info, void *)
{
	sys_event e = sig == SIGINT ? SYS_INTERRUPT : sig == SIGTERM ? SYS_TERMINATE
	              : sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT;
	int none = 0;
	recorded.compare_exchange_strong(none, e + 1);
	struct sigaction sa = {};
	sa.sa_handler = on_alarm;   /* no SA_RESTART */
	sigaction(SIGALRM, &sa, nullptr);
	alarm(1);
	/* What cannot wait: a trap, which returning would raise again, and the
	 * program's own abort (si_pid: the sender, if another process), which
	 * the C library raises again, fatally, once the handler returns. */
	if ((sig == SIGFPE && trapped(info->si_code)) || (sig == SIGABRT && (!info->si_pid || info->si_pid == getpid())))
		at_once(e);
}

bool sys_start(sys_event_answer a)
{
	/* A closed standard descriptor: open returns the lowest free number
	 * (POSIX), so the null device fills each gap in 0-2 in turn; the first
	 * above 2 stays open, unused (one call where none is closed). Not
	 * poll: macOS reports no POLLNVAL where no events are asked. */
	int fd;
	while ((fd = open("/dev/null", O_RDWR)) >= 0 && fd <= 2) {
	}
	if (fd < 0)
		return false;

	at_once = a;
	struct sigaction sa;
	memset(&sa, 0, sizeof sa);
	sa.sa_sigaction = on_signal;
	sa.sa_flags = SA_SIGINFO;   /* no SA_RESTART: a blocking call returns to a safe point */
	sigemptyset(&sa.sa_mask);   /* a second event may interrupt an answer given at once */
	/* an interrupt that was ignored when the program started stays ignored */
	struct sigaction old;
	if (sigaction(SIGINT, nullptr, &old) != 0 || old.sa_handler != SIG_IGN)
		sigaction(SIGINT, &sa, nullptr);
	sigaction(SIGTERM, &sa, nullptr);
	sigaction(SIGFPE, &sa, nullptr);
	sigaction(SIGABRT, &sa, nullptr);
	/* A console whose reader has gone is like a full one: the run goes on.
	 * A file-size limit fails the write, reported, not a silent kill. */
	signal(SIGPIPE, SIG_IGN);
	signal(SIGXFSZ, SIG_IGN);
	return true;
}

int sys_event_recorded(void)
{
	return recorded.load() - 1;
}

long sys_read(int fd, char *buf, size_t cap)
{
	ssize_t n = read(fd, buf, cap);
	/* Set not to block (by whoever handed it over; a FIFO opened without
	 * waiting reads as ended until a writer comes): wait for input or an
	 * end. select, not poll: on macOS poll answers a terminal with
	 * POLLNVAL at once, and the wait would spin. */
	if ((n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) || (n == 0 && (fcntl(fd, F_GETFL) & O_NONBLOCK))) {
		fd_set readable;
		FD_ZERO(&readable);
		FD_SET(fd, &readable);
		if (select(fd + 1, &readable, nullptr, nullptr, nullptr) < 0)
			return -1;
		n = read(fd, buf, cap);
	}
	return n;
}

long sys_write(int fd, const char *p, size_t n)
{
	return write(fd, p, n);
}

/* fd on stable storage (macOS: F_FULLFSYNC, fsync leaves the drive's cache). */
static int sync_fd(int fd)
{
#ifdef F_FULLFSYNC
	if (fcntl(fd, F_FULLFSYNC) == 0)
		return 0;
#endif
	return fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
}

int sys_sync(int fd, const char *name)
{
	/* the file, then its folder (unless it cannot be opened: no read permission) */
	char folder[4096];
	const char *slash = strrchr(name, '/');
	size_t n = !slash || slash == name ? 1 : (size_t)(slash - name);
	if (n >= sizeof folder)
		return ENAMETOOLONG;   /* longer than any unit's name */
	memcpy(folder, slash ? name : ".", n);
	folder[n] = '\0';
	int err = sync_fd(fd), dir = err ? -1 : open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (dir >= 0) {
		err = sync_fd(dir);
		close(dir);
	}
	return err;
}

int sys_close(int fd)
{
	return close(fd) == 0 ? 0 : errno;
}

int sys_open_read(const char *name)
{
	/* a FIFO or a device opens at once; reads wait in sys_read */
	int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
	struct stat st;
	if (fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
		close(fd);
		errno = EISDIR;
		return -1;
	}
	return fd;
}

int sys_open_write(const char *name)
{
	return open(name, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

int sys_create(const char *name)
{
	/* O_EXCL follows no link: a link in the name's place is EEXIST */
	return open(name, O_CREAT | O_EXCL | O_RDWR | O_NOCTTY | O_CLOEXEC, 0666);
}

bool sys_exists(const char *name)
{
	struct stat st;
	return stat(name, &st) == 0;
}

int sys_remove(const char *name)
{
	return unlink(name) == 0 ? 0 : errno;
}
