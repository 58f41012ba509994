/*
 * The platform layer on POSIX.1-2008 systems: Linux (glibc and musl),
 * macOS and the BSDs. Each call relies only on what POSIX says of it,
 * and says so where the systems differ. The event rule: platform.h.
 */
#include "runtime/platform.h"

#include <atomic>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

const char SYS_CONSOLE_LINE_END[] = "\n";
const char *const SYS_HELP_SWITCH = nullptr;

static sys_event_answer at_once;

std::atomic<int> sys_recorded;
static_assert(std::atomic<int>::is_always_lock_free, "a handler may only touch a lock-free atomic");

/* Sent by a process (kill, sigqueue, raise, tgkill, a timer): the codes
 * POSIX names, each system's values (Linux: SI_USER 0, SI_TKILL -6; macOS:
 * SI_USER 0x10001). macOS's kernel gives kill and pthread_kill code 0 and
 * no sender (so its abort: code 0, pid 0): there a SIGABRT another process
 * sends is answered at once, as the program's own abort must be. */
static bool sent(const siginfo_t *info)
{
	int c = info->si_code;
	return c == SI_USER || c == SI_QUEUE || c == SI_TIMER || c == SI_MESGQ || c == SI_ASYNCIO
#ifdef SI_TKILL
	       || c == SI_TKILL
#endif
	    ;
}

/* Every second once an event came: a wait it interrupts ends (EINTR). */
static void on_alarm(int)
{
	alarm(1);
}

static void on_signal(int sig, siginfo_t *info, void *)
{
	sys_event e = sig == SIGINT ? SYS_INTERRUPT : sig == SIGTERM ? SYS_TERMINATE
	              : sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT;
	int none = 0;
	sys_recorded.compare_exchange_strong(none, e + 1);
	struct sigaction sa = {};
	sa.sa_handler = on_alarm;   /* no SA_RESTART */
	sigaction(SIGALRM, &sa, nullptr);
	alarm(1);
	/* a trap, which returning would raise again; the program's own abort
	 * (glibc, musl: SI_TKILL and this pid), raised again once this returns */
	if ((sig == SIGFPE && !sent(info)) || (sig == SIGABRT && (!sent(info) || info->si_pid == getpid())))
		at_once(e);
}

/* Whether 0-2 are open, the null device put in each gap; else errno. */
static bool standard_descriptors_open(void)
{
	int fd;
	while ((fd = open("/dev/null", O_RDWR)) < 0 && errno == EINTR) {
	}
	/* too many open: each looked at (not poll: macOS gives no POLLNVAL without events) */
	if (fd < 0 && errno == EMFILE && fcntl(0, F_GETFD) >= 0 && fcntl(1, F_GETFD) >= 0 && fcntl(2, F_GETFD) >= 0)
		return true;
	if (fd > 2)
		close(fd);
	return fd > 2 || (fd >= 0 && standard_descriptors_open());
}

int sys_start(sys_event_answer a)
{
	if (!standard_descriptors_open())
		return errno;
	at_once = a;
	struct sigaction sa;
	memset(&sa, 0, sizeof sa);
	sa.sa_sigaction = on_signal;
	sa.sa_flags = SA_SIGINFO;   /* no SA_RESTART */
	sigemptyset(&sa.sa_mask);   /* a second event may interrupt an answer given at once */
	/* an interrupt that was ignored when the program started stays ignored */
	struct sigaction old;
	if (sigaction(SIGINT, &sa, &old) == 0 && old.sa_handler == SIG_IGN)
		sigaction(SIGINT, &old, nullptr);
	sigaction(SIGTERM, &sa, nullptr);
	sigaction(SIGFPE, &sa, nullptr);
	sigaction(SIGABRT, &sa, nullptr);
	/* A console whose reader has gone is like a full one: the run goes on.
	 * A file-size limit fails the write, reported, not a silent kill. */
	signal(SIGPIPE, SIG_IGN);
	signal(SIGXFSZ, SIG_IGN);
	/* an inherited mask would hold them back; unblocked once handled, so
	 * that one pending since before the start is answered, not fatal */
	sigset_t handled;
	sigemptyset(&handled);
	static const int signals[] = {SIGINT, SIGTERM, SIGFPE, SIGABRT, SIGALRM};
	for (int sig : signals)
		sigaddset(&handled, sig);
	sigprocmask(SIG_UNBLOCK, &handled, nullptr);
	return 0;
}

int sys_file_arguments(int argc, char **argv, int first, char ***files)
{
	*files = argv + first;
	return argc - first;
}

void sys_console_pause(void)
{
}

/* Waits until fd can be read or written without blocking: select (macOS's
 * poll answers a terminal with POLLNVAL: it would spin); one beyond
 * select's set looked at every 10 ms. 0, or -1 with errno. */
static int wait_ready(int fd, bool writing)
{
	if (fd >= FD_SETSIZE) {
		struct timespec pause = {0, 10000000};
		return nanosleep(&pause, nullptr);
	}
	fd_set set;
	FD_ZERO(&set);
	FD_SET(fd, &set);
	return select(fd + 1, writing ? nullptr : &set, writing ? &set : nullptr, nullptr, nullptr) < 0 ? -1 : 0;
}

long sys_read(int fd, char *buf, size_t cap)
{
	/* set not to block by whoever handed it over (EAGAIN, even after a
	 * readiness); a FIFO opened so reads as ended until a writer comes */
	bool waited = false;
	for (;;) {
		ssize_t n = read(fd, buf, cap);
		bool again = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
		if (!again && (n != 0 || waited || !(fcntl(fd, F_GETFL) & O_NONBLOCK)))
			return n;
		if (wait_ready(fd, false) < 0)
			return -1;
		waited = !again;
	}
}

long sys_write(int fd, const char *p, size_t n)
{
	for (;;) {
		ssize_t k = write(fd, p, n);
		if (k >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
			return k;
		if (wait_ready(fd, true) < 0)
			return -1;
	}
}

/* fd on stable storage (macOS: F_FULLFSYNC, fsync leaves the drive's cache). */
static int sync_fd(int fd)
{
#ifdef F_FULLFSYNC
	if (fcntl(fd, F_FULLFSYNC) == 0)
		return 0;
	if (errno == EINTR)
		return EINTR;
#endif
	return fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
}

int sys_sync(int fd, const char *name)
{
	/* the file, then its folder where it opens (a unit's name fits) */
	int err = fd < 0 ? 0 : sync_fd(fd), dir;
	if (!name || err)
		return err;
	char folder[4096];
	const char *slash = strrchr(name, '/');
	size_t n = !slash || slash == name ? 1 : (size_t)(slash - name);
	memcpy(folder, slash ? name : ".", n);
	folder[n] = '\0';
	if ((dir = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0 && errno == EINTR)
		return EINTR;
	if (dir >= 0) {
		err = sync_fd(dir);
		close(dir);
	}
	return err;
}

int sys_spare_descriptors(void)
{
	struct rlimit r;
	return getrlimit(RLIMIT_NOFILE, &r) != 0 || r.rlim_cur > 4096 ? 4096 : (int)r.rlim_cur - 3;
}

int sys_close(int fd)
{
	/* EINTR: closed all the same (Linux; POSIX 2024's posix_close) */
	return close(fd) == 0 || errno == EINTR ? 0 : errno;
}

int sys_open_read(const char *name, long long *size)
{
	/* a FIFO or a device opens at once; reads wait in sys_read */
	int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
	struct stat st;
	bool known = fd >= 0 && fstat(fd, &st) == 0;
	if (known && S_ISDIR(st.st_mode)) {
		close(fd);
		errno = EISDIR;
		return -1;
	}
	if (size)
		*size = known && S_ISREG(st.st_mode) ? (long long)st.st_size : -1;
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
