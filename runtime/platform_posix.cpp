/*
 * The platform layer on POSIX.1-2008 systems.
 */
#include "runtime/platform.h"

#include <atomic>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

const char SYS_CONSOLE_LINE_END[] = "\n";
const char *const SYS_HELP_SWITCH = nullptr;

static sys_event_answer answer;

/* The lock: how often the one thread holds it, and an event that came
 * while it was held (its number + 1, or 0). Lock-free, for the handler. */
static std::atomic<int> lock_depth, pending;

static void answer_now(sys_event e)
{
	lock_depth++;   /* for good: the answer ends the run */
	answer(e);
}

static void on_signal(int sig, siginfo_t *info, void *)
{
	sys_event e = sig == SIGINT ? SYS_INTERRUPT : sig == SIGTERM ? SYS_TERMINATE
	              : sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT;
	/* A fault the program raises itself (si_code above 0) cannot wait:
	 * returning would raise it again. A signal sent waits for the lock. */
	if (lock_depth > 0 && info->si_code <= 0) {
		int none = 0;
		pending.compare_exchange_strong(none, e + 1);
		return;
	}
	answer_now(e);
}

bool sys_start(sys_event_answer a, sys_event_answer)
{
	/* a closed descriptor: the lowest free number is its own */
	struct pollfd std[3] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
	poll(std, 3, 0);
	for (int fd = 0; fd <= 2; fd++) {
		if ((std[fd].revents & POLLNVAL) && open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
			return false;
	}

	answer = a;
	struct sigaction sa;
	memset(&sa, 0, sizeof sa);
	sa.sa_sigaction = on_signal;
	sa.sa_flags = SA_SIGINFO;
	sigfillset(&sa.sa_mask);
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

void sys_lock_buffers(void)
{
	lock_depth++;
}

void sys_unlock_buffers(void)
{
	if (--lock_depth == 0 && pending != 0)
		answer_now((sys_event)(pending - 1));
}

void sys_hold_buffers(void)
{
	lock_depth++;
}

long sys_read(int fd, char *buf, size_t cap)
{
	for (;;) {
		ssize_t n = read(fd, buf, cap);
		if (n >= 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
			return n;
		if (errno != EINTR) {
			/* a descriptor set not to block (by whoever handed it over):
			 * wait until there is something to read */
			struct pollfd p = {fd, POLLIN, 0};
			poll(&p, 1, -1);
		}
	}
}

int sys_write_all(int fd, const char *p, size_t n)
{
	while (n > 0) {
		ssize_t k = write(fd, p, n);
		if (k < 0 && errno == EINTR)
			continue;
		if (k <= 0)
			return k < 0 ? errno : ENOSPC;
		p += k;
		n -= (size_t)k;
	}
	return 0;
}

int sys_close(int fd)
{
	return close(fd) == 0 ? 0 : errno;
}

int sys_open_read(const char *name)
{
	int fd = open(name, O_RDONLY | O_NOCTTY | O_CLOEXEC);
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
	return open(name, O_WRONLY | O_NOCTTY | O_CLOEXEC);
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
