/*
 * The platform layer on POSIX.1-2008 systems.
 */
#include "runtime/platform.h"

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
static sigset_t handled, before_lock;
static int lock_depth;

static void on_signal(int sig)
{
	answer(sig == SIGINT ? SYS_INTERRUPT : sig == SIGTERM ? SYS_TERMINATE
	       : sig == SIGFPE ? SYS_FP_EXCEPTION : SYS_ABORT, false);
}

bool sys_start(sys_event_answer a)
{
	for (int fd = 0; fd <= 2; fd++) {
		if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
			continue;
		/* the lowest free number is fd itself */
		if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
			return false;
	}

	answer = a;
	sigemptyset(&handled);
	sigaddset(&handled, SIGINT);
	sigaddset(&handled, SIGTERM);
	sigaddset(&handled, SIGFPE);
	sigaddset(&handled, SIGABRT);
	struct sigaction sa;
	memset(&sa, 0, sizeof sa);
	sa.sa_handler = on_signal;
	sa.sa_mask = handled;
	struct sigaction old;
	/* an interrupt that was ignored when the program started stays ignored */
	if (sigaction(SIGINT, &sa, &old) == 0 && old.sa_handler == SIG_IGN)
		sigaction(SIGINT, &old, nullptr);
	sigaction(SIGTERM, &sa, nullptr);
	sigaction(SIGFPE, &sa, nullptr);
	sigaction(SIGABRT, &sa, nullptr);
	/* A console whose reader has gone is like a full one: its text is
	 * dropped and the run goes on, so that the table is still completed.
	 * A file-size limit makes the write fail, and the failure is reported,
	 * instead of killing the process in silence. */
	signal(SIGPIPE, SIG_IGN);
	signal(SIGXFSZ, SIG_IGN);
	return true;
}

void sys_lock_buffers(void)
{
	sigset_t old;
	sigprocmask(SIG_BLOCK, &handled, &old);
	if (lock_depth++ == 0)
		before_lock = old;
}

void sys_unlock_buffers(void)
{
	if (--lock_depth == 0)
		sigprocmask(SIG_SETMASK, &before_lock, nullptr);
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
		if (k < 0) {
			if (errno == EINTR)
				continue;
			return errno;
		}
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
