// Helpers shared by the tests and the fuzz targets: bytes in memory as a
// unit's input, the seven-value read as the program makes it, temporary
// files and units connected to them, and exact halves.
#ifndef KORVEX_TESTS_SUPPORT_H
#define KORVEX_TESTS_SUPPORT_H

#include "runtime/f2c.h"
#include "runtime/lread.h"
#include "runtime/platform.h"

#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <dirent.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <direct.h>
#endif

#include <string>

// data[0..size) handed out in reads of at most chunk bytes (0: all), then
// the end, or a read error with fail_errno.
struct memory_source {
	const char *data;
	size_t size, pos, chunk;
	int fail_errno;
	unsigned char buf[TEXT_BUF];   // the stream's buffer
};

inline long memory_read(void *ctx, char *buf, size_t cap)
{
	memory_source *m = (memory_source *)ctx;
	size_t left = m->size - m->pos;
	if (left == 0 && m->fail_errno) {
		errno = m->fail_errno;
		return -1;
	}
	size_t n = left < cap ? left : cap;
	if (m->chunk && n > m->chunk)
		n = m->chunk;
	memcpy(buf, m->data + m->pos, n);
	m->pos += n;
	return (long)n;
}

// Makes t read data[0..size) through m.
inline void open_memory(text_in *t, memory_source *m, const char *data, size_t size, size_t chunk = 0,
                        int fail_errno = 0)
{
	*m = memory_source{data, size, 0, chunk, fail_errno, {}};
	text_open(t, memory_read, m, m->buf);
}

// Seven list-directed items read the way the program reads its parameters.
struct seven_values {
	lread_status status = LREAD_OK;
	int items = 0;                 // items read before the status
	double values[7] = {};         // as read (0 where nothing was assigned)
	bool assigned[7] = {};
};

inline seven_values read_seven(const std::string &text, size_t chunk = 0, int fail_errno = 0)
{
	static memory_source m;
	static text_in t;
	open_memory(&t, &m, text.data(), text.size(), chunk, fail_errno);
	lread r;
	lread_start(&r);
	seven_values o;
	for (; o.items < 7; o.items++) {
		o.status = lread_item(&r, &t, &o.values[o.items], &o.assigned[o.items]);
		if (o.status != LREAD_OK)
			break;
		if (!o.assigned[o.items])
			o.values[o.items] = 0;
	}
	return o;
}

// Text as the run-time writes it on the console: each "\n" the platform's
// line end.
inline std::string console_text(const std::string &s)
{
	std::string out;
	for (char c : s)
		out += c == '\n' ? std::string(SYS_CONSOLE_LINE_END) : std::string(1, c);
	return out;
}

// Whether |x| * 10^d lies exactly halfway between two integers.
inline bool exact_half(double x, int d)
{
	if (!isfinite(x))
		return false;
	static char text[1200];
	snprintf(text, sizeof text, "%.1100f", fabs(x));
	const char *p = strchr(text, '.') + 1 + d;
	if (*p++ != '5')
		return false;
	while (*p == '0')
		p++;
	return *p == '\0';
}

// The whole content of a file ("" if there is none).
inline std::string slurp(const std::string &path)
{
	FILE *f = fopen(path.c_str(), "rb");
	if (!f)
		return "";
	std::string s;
	char buf[4096];
	size_t n;
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		s.append(buf, n);
	fclose(f);
	return s;
}

// Removes path and, if it is a folder (not a link to one), all it holds,
// whatever its permissions.
inline void remove_tree(const std::string &path)
{
	struct stat st;
#ifdef _WIN32
	bool folder = stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#else
	bool folder = lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
	if (!folder) {
		unlink(path.c_str());
		return;
	}
	chmod(path.c_str(), 0700);
	if (DIR *dir = opendir(path.c_str())) {
		while (const dirent *e = readdir(dir))
			if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
				remove_tree(path + "/" + e->d_name);
		closedir(dir);
	}
	rmdir(path.c_str());
}

// A folder of this process's own in the system's temporary folder, made
// at its first use and removed with all it holds when the process that
// made it exits: the tests leave nothing behind and meet no one else's
// files. A death test's child (forked, or on Windows started anew, with
// the folder's name in its environment) uses its parent's and leaves it.
inline const std::string &temp_directory()
{
	static std::string dir;
	static int owner;
	if (dir.empty() && getenv("KORVEX_TESTS_FOLDER"))
		dir = getenv("KORVEX_TESTS_FOLDER");
	if (dir.empty()) {
		const char *base = getenv("TMPDIR") ? getenv("TMPDIR") : getenv("TEMP") ? getenv("TEMP") : "/tmp";
		std::string name = std::string(base) + "/korvex-tests-XXXXXX";
#ifdef _WIN32
		if (!_mktemp(&name[0]) || _mkdir(name.c_str()) != 0)
#else
		if (!mkdtemp(&name[0]))
#endif
			abort();
		dir = name;
		owner = getpid();
#ifdef _WIN32
		_putenv_s("KORVEX_TESTS_FOLDER", dir.c_str());
#else
		setenv("KORVEX_TESTS_FOLDER", dir.c_str(), 1);
#endif
		atexit([] {
			if (getpid() == owner)
				remove_tree(dir);
		});
	}
	return dir;
}

// A name for a file that does not exist yet, in that folder.
inline std::string temp_name()
{
	static int made;
	return temp_directory() + "/t" + std::to_string(getpid()) + "-" + std::to_string(++made);
}

// OPEN of path on unit with status.
inline void connect(integer unit, const std::string &path, const char *status)
{
	olist o = {0, unit, (char *)path.c_str(), (ftnlen)path.size(), (char *)status, nullptr, nullptr, 0, nullptr};
	f_open(&o);
}

#endif
