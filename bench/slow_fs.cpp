// A slow storage for the figures of a batch and a check: a passthrough of
// a folder whose fsync and fsyncdir each take SYNC_US more, and each
// lookup, open, create, read, unlink, rename and close REQUEST_US more,
// FUSE's threads serving its requests side by side, as a network share
// serves them.
//   korvex_slow_fs FOLDER MOUNTPOINT SYNC_US [REQUEST_US]     (fusermount3 -u MOUNTPOINT ends it)
#define FUSE_USE_VERSION 31
#include <fuse3/fuse.h>

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

static std::string root;
static useconds_t delay_us, request_us;

static std::string real(const char *path) { return root + path; }
static int result(int r) { return r < 0 ? -errno : r; }
static void request() { usleep(request_us); }

static int fs_getattr(const char *p, struct stat *st, fuse_file_info *) { return request(), result(lstat(real(p).c_str(), st)); }
static int fs_unlink(const char *p) { return request(), result(unlink(real(p).c_str())); }
static int fs_rename(const char *from, const char *to, unsigned) { return request(), result(rename(real(from).c_str(), real(to).c_str())); }
static int fs_open(const char *p, fuse_file_info *fi)
{
	request();
	int fd = open(real(p).c_str(), fi->flags);
	return fd < 0 ? -errno : (fi->fh = (uint64_t)fd, 0);
}
static int fs_create(const char *p, mode_t mode, fuse_file_info *fi)
{
	request();
	int fd = open(real(p).c_str(), fi->flags, mode);
	return fd < 0 ? -errno : (fi->fh = (uint64_t)fd, 0);
}
static int fs_read(const char *, char *buf, size_t n, off_t at, fuse_file_info *fi)
{
	request();
	return result((int)pread((int)fi->fh, buf, n, at));
}
static int fs_write(const char *, const char *buf, size_t n, off_t at, fuse_file_info *fi)
{
	return result((int)pwrite((int)fi->fh, buf, n, at));
}
static int fs_flush(const char *, fuse_file_info *) { return request(), 0; }   // close(2) waits for it
static int fs_release(const char *, fuse_file_info *fi) { return result(close((int)fi->fh)); }
static int fs_fsync(const char *, int, fuse_file_info *fi)
{
	usleep(delay_us);
	return result(fsync((int)fi->fh));
}
static int fs_fsyncdir(const char *p, int, fuse_file_info *)
{
	usleep(delay_us);
	int fd = open(real(p).c_str(), O_RDONLY | O_DIRECTORY);
	return fd < 0 ? -errno : result(fsync(fd) | close(fd));
}
static int fs_readdir(const char *p, void *buf, fuse_fill_dir_t fill, off_t, fuse_file_info *, fuse_readdir_flags)
{
	DIR *dir = opendir(real(p).c_str());
	if (!dir)
		return -errno;
	while (dirent *e = readdir(dir))
		fill(buf, e->d_name, nullptr, 0, (fuse_fill_dir_flags)0);
	closedir(dir);
	return 0;
}

int main(int argc, char **argv)
{
	if (argc != 4 && argc != 5)
		return 2;
	root = argv[1];
	delay_us = (useconds_t)atol(argv[3]);
	request_us = argc == 5 ? (useconds_t)atol(argv[4]) : 0;
	fuse_operations ops = {};
	ops.getattr = fs_getattr;
	ops.unlink = fs_unlink;
	ops.rename = fs_rename;
	ops.flush = fs_flush;
	ops.open = fs_open;
	ops.create = fs_create;
	ops.read = fs_read;
	ops.write = fs_write;
	ops.release = fs_release;
	ops.fsync = fs_fsync;
	ops.fsyncdir = fs_fsyncdir;
	ops.readdir = fs_readdir;
	char *args[] = {argv[0], argv[2]};
	return fuse_main(2, args, &ops, nullptr);
}
