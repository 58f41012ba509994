// poll as macOS answers it (its manual: poll "does not support devices"):
// a descriptor with no events asked is never reported, closed or not (no
// POLLNVAL), and a terminal or other device asked for input is POLLNVAL at
// once. Linked into a korvex of its own (--wrap=poll) that the end-to-end
// suite's start-up and waiting rows run: closed standard descriptors are
// still replaced, and a terminal set not to block is waited for without
// spinning.
#include <poll.h>
#include <sys/stat.h>

extern "C" int __real_poll(struct pollfd *fds, nfds_t n, int timeout);

extern "C" int __wrap_poll(struct pollfd *fds, nfds_t n, int timeout)
{
	int devices = 0, asked = 0;
	for (nfds_t i = 0; i < n; i++) {
		struct stat st;
		fds[i].revents = 0;
		asked += fds[i].events != 0;
		if ((fds[i].events & POLLIN) && fstat(fds[i].fd, &st) == 0 && S_ISCHR(st.st_mode)) {
			fds[i].revents = POLLNVAL;
			devices++;
		}
	}
	if (devices || !asked)
		return devices;
	return __real_poll(fds, n, timeout);
}
