/*
 * The platform layer on POSIX.1-2008 systems.
 */
#include "runtime/platform.h"
#include "runtime/signals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

const char SYS_CONSOLE_LINE_END[] = "\n";

static sigset_t handled, before_hold;

static void on_signal(int sig)
{
	on_event(sig == SIGINT ? EVENT_INTERRUPT : sig == SIGTERM ? EVENT_TERMINATE
	         : sig == SIGFPE ? EVENT_FP : EVENT_ABORT);
}

void sys_start(void)
{
	for (int fd = 0; fd <= 2; fd++) {
		if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
			continue;
		/* the lowest free number is fd itself */
		if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
			_exit(3);
	}

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
	/* a console whose reader has gone is like a full one: its text is
	 * dropped and the run goes on, so that the table is still completed */
	signal(SIGPIPE, SIG_IGN);
}

void sys_hold_interrupts(void)
{
	sigprocmask(SIG_BLOCK, &handled, &before_hold);
}

void sys_release_interrupts(void)
{
	sigprocmask(SIG_SETMASK, &before_hold, nullptr);
}

long sys_read(int fd, char *buf, size_t cap)
{
	for (;;) {
		ssize_t n = read(fd, buf, cap);
		if (n >= 0 || errno != EINTR)
			return n;
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

int sys_create(const char *name, bool exclusive)
{
	int fd = open(name, O_CREAT | (exclusive ? O_EXCL : 0) | O_RDONLY | O_NOCTTY | O_CLOEXEC, 0666);
	if (fd < 0)
		return errno;
	close(fd);
	return 0;
}

bool sys_same_file(int a, int b)
{
	struct stat sa, sb;
	return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool sys_seek(int fd, long long pos)
{
	return lseek(fd, (off_t)pos, SEEK_SET) >= 0;
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

const char *sys_error_text(int err)
{
	return strerror(err);
}

void sys_exit(int status)
{
	_exit(status);
}
