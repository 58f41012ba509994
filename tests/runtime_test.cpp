// The run-time's statements misused or failing, and events: each row is one
// action and the exact first line of what it must end with (status 3 unless given).
#include "runtime/end.h"
#include "runtime/events.h"
#include "runtime/f2c.h"
#include "runtime/fatal.h"
#include "runtime/statement.h"
#include "tests/support.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/syscall.h>
#endif

#include <functional>
#include <string>

namespace {

integer one = 1, real_type = TYREAL, char_type = TYCHAR;
char fmt_f82[] = "(f8.2)";
char fmt_a[] = "(a)";
char fmt_slash_a[] = "(/a2)";

// Unit 30 reading bytes from memory, failing with fail_errno after them.
void memory_unit(const char *bytes, int fail_errno)
{
	static memory_source m;
	unit *u = &units[30];
	if (u->connected)
		unit_close(u);
	unit_attach(u, -1, false, false);
	open_memory(&u->in, &m, bytes, strlen(bytes), 0, fail_errno);
}

void write_f(integer unit, float x)
{
	cilist ci = {0, unit, 0, fmt_f82, 0};
	s_wsfe(&ci);
	do_fio(&one, (char *)&x, (ftnlen)sizeof x);
	e_wsfe();
}

void read_list(integer unit, integer *type, char *p, ftnlen len)
{
	cilist ci = {0, unit, 0, nullptr, 0};
	s_rsle(&ci);
	do_lio(type, &one, p, len);
	e_rsle();
}

// One formatted READ of a character item from bytes in memory.
void read_field(const char *bytes, int fail_errno, char *format, ftnlen len)
{
	static char item[16];
	memory_unit(bytes, fail_errno);
	cilist ci = {0, 30, 0, format, 0};
	s_rsfe(&ci);
	do_fio(&one, item, len);
	e_rsfe_name();
}

struct death_row {
	const char *what;
	std::function<void()> action;
	std::string first_line;
	int status = 3;
};

#ifdef __linux__
// Signal sig arrives, with si_code code, from process pid, between two safe
// points: it is answered at the next one, or at once.
void signal_from(int sig, int code, pid_t pid)
{
	events_start(end_on_event);
	siginfo_t info = {};
	info.si_signo = sig;
	info.si_code = code;   // any code and sender, as the process sends it to itself
	info.si_pid = pid;
	syscall(SYS_rt_tgsigqueueinfo, getpid(), syscall(SYS_gettid), sig, &info);
	if (write(2, "held\n", 5) != 5)
		_exit(8);
	events_safe_point();
	_exit(9);   // the event was lost
}
#endif

TEST(RuntimeDeathTest, Diagnostics)
{
	static float f;
	static char text[8];
	const death_row rows[] = {
		{"unit number out of range", [] { write_f(100, 1.f); }, "startio: illegal unit number"},
		{"negative unit number", [] { write_f(-1, 1.f); }, "startio: illegal unit number"},
		{"unit not connected", [] { write_f(40, 1.f); }, "startio: unit not connected"},
		{"write on the console input", [] { units_init(); write_f(5, 1.f); }, "write start: can't write file"},
		{"formatted read of the console output",
		 [] { units_init(); cilist ci = {0, 6, 0, fmt_a, 0}; s_rsfe(&ci); }, "read start: can't read file"},
		{"F editing of a two-byte item",
		 [] {
			 units_init();
			 cilist ci = {0, 6, 0, fmt_f82, 0};
			 s_wsfe(&ci);
			 do_fio(&one, text, 2);
		 },
		 "fmt: error in format"},
		{"read error in a list", [] { memory_unit("12", EIO); read_list(30, &real_type, (char *)&f, 4); },
		 "list in: " + std::string(strerror(EIO))},
		{"read error in a field", [] { read_field("ab", EIO, fmt_a, 4); }, "fmt: " + std::string(strerror(EIO))},
		{"a slash in an input format", [] { read_field("x\ny\n", 0, fmt_slash_a, 2); }, "fmt: error in format"},
		{"literal in an input format",
		 [] {
			 static char fmt[] = "(a1,'x')";
			 memory_unit("ab\n", 0);
			 cilist ci = {0, 30, 0, fmt, 0};
			 s_rsfe(&ci);
			 do_fio(&one, text, 1);
			 e_rsfe_name();
		 },
		 "fmt: error in format"},
		{"OPEN of an illegal unit", [] { connect(100, "/tmp/x", "old"); }, "open: illegal unit number"},
		{"OPEN old of a missing file", [] { connect(31, "/nonexistent/x", "old"); }, "open: No such file or directory"},
		{"OPEN new where nothing can be created", [] { connect(31, "/nonexistent/x", "new"); },
		 "open: No such file or directory"},
		{"an error number the run-time does not know", [] { fatal(5000, "place", nullptr); }, "place: illegal error number 5000"},
		{"an errno of 100 or more", [] { fatal(ECONNRESET, "p", nullptr); }, "p: " + std::string(strerror(ECONNRESET))},
		{"the program's own abort", [] { events_start(end_on_event); abort(); }, "IOT Trap"},
#ifdef __linux__
		// a signal sent waits for the next safe point; a trap or the program's own abort cannot
		{"SIGINT sent", [] { signal_from(SIGINT, SI_USER, 1); }, "held", 1},
		{"SIGINT typed in a terminal", [] { signal_from(SIGINT, SI_KERNEL, 0); }, "held", 1},
		{"SIGABRT sent by another process", [] { signal_from(SIGABRT, SI_USER, 1); }, "held"},
		{"SIGABRT sent from outside the PID namespace", [] { signal_from(SIGABRT, SI_USER, 0); }, "held"},
		{"SIGTERM queued from outside it", [] { signal_from(SIGTERM, SI_QUEUE, 0); }, "held", 1},
		{"SIGABRT queued by this process", [] { signal_from(SIGABRT, SI_QUEUE, getpid()); }, "IOT Trap"},
		{"a trap with a code of its own", [] { signal_from(SIGFPE, 42, 0); }, "Floating Exception"},
		{"SIGFPE sent", [] { signal_from(SIGFPE, SI_USER, 1); }, "held"},
		{"a division by zero", [] { signal_from(SIGFPE, FPE_INTDIV, 0); }, "Floating Exception"},
		{"the program's own abort, raised", [] { signal_from(SIGABRT, SI_TKILL, getpid()); }, "IOT Trap"},
#endif
	};
	// (a death test reads the child's standard error in text mode: in binary
	// mode, after sys_start, the CR of a line end is gone by then)
	for (const death_row &r : rows)
		EXPECT_EXIT(r.action(), testing::ExitedWithCode(r.status), "^" + r.first_line + "\r?\n") << r.what;
}

// Unit 31 writing to /dev/full.
void full_unit()
{
	unit_attach(&units[31], open("/dev/full", O_WRONLY), false, true);
}

// Output that the device refuses.
TEST(RuntimeDeathTest, FullDevice)
{
	if (!sys_exists("/dev/full"))
		GTEST_SKIP() << "this system has no /dev/full";
	const death_row rows[] = {
		{"table larger than the device", [] {
			 full_unit();
			 for (int i = 0; i < 600; i++)
				 write_f(31, 1.f);
		 },
		 "write sfe: No space left on device"},
		{"list output larger than the device", [] {
			 full_unit();
			 static char line[100];
			 memset(line, 'x', sizeof line);
			 cilist ci = {0, 31, 0, nullptr, 0};
			 for (int i = 0; i < 100; i++) {
				 s_wsle(&ci);
				 do_lio(&char_type, &one, line, 70);
				 e_wsle();
			 }
		 },
		 "list out: No space left on device"},
		{"CLOSE with output the device refuses", [] {
			 full_unit();
			 write_f(31, 1.f);
			 cllist c = {0, 31, (char *)"keep"};
			 f_clos(&c);
		 },
		 "close: No space left on device"},
		{"STOP with output the device refuses", [] {
			 full_unit();
			 write_f(31, 1.f);
			 s_stop((char *)"", 0);
		 },
		 "close: No space left on device"},
	};
	for (const death_row &r : rows)
		EXPECT_EXIT(r.action(), testing::ExitedWithCode(3), "^" + console_text(r.first_line + "\n")) << r.what;
}

TEST(RuntimeDeathTest, NoUnitYet)
{
	EXPECT_EXIT({ io.format = nullptr; fatal(ERR_FORMAT, "p", nullptr); }, testing::ExitedWithCode(3),
	            "^" + console_text("p: error in format\napparent state: internal I/O\nlately \\w+ sequential"));
}

TEST(RuntimeDeathTest, StopEndsTheRunWithStatusZero)
{
	EXPECT_EXIT(s_stop((char *)"", 0), testing::ExitedWithCode(0), "^$");
}


// OPEN and INQUIRE: connection, reconnection and the inquiry's answers.
TEST(Runtime, OpenInquireClose)
{
	std::string path = temp_name();
	integer exists = -1;
	inlist by_name = {};
	std::string padded = path + "   ";
	by_name.infile = padded.data();
	by_name.infilen = (ftnlen)padded.size();
	by_name.inex = &exists;
	f_inqu(&by_name);
	EXPECT_EQ(exists, 0);

	connect(32, path, "new");   // created, empty
	struct stat st;
	ASSERT_EQ(stat(path.c_str(), &st), 0);
	EXPECT_EQ(st.st_size, 0);
	write_f(32, 2.5f);
	connect(32, path, "old");   // reconnecting writes out the first connection
	ASSERT_EQ(stat(path.c_str(), &st), 0);
	EXPECT_EQ(st.st_size, 10);
	f_inqu(&by_name);
	EXPECT_EQ(exists, 1);

	cllist c = {0, 32, (char *)"delete"};
	f_clos(&c);
	EXPECT_NE(stat(path.c_str(), &st), 0);
	f_clos(&c);   // closing an unconnected unit, or no unit at all, does nothing
	cllist none = {0, 500, nullptr};
	f_clos(&none);
	f_inqu(&by_name);
	EXPECT_EQ(exists, 0);

	// a name of blanks only is the empty name, which never exists
	char blanks[] = "    ";
	inlist blank = {};
	blank.infile = blanks;
	blank.infilen = 4;
	blank.inex = &exists;
	f_inqu(&blank);
	EXPECT_EQ(exists, 0);
	blank.inex = nullptr;   // nothing asked, nothing answered
	f_inqu(&blank);
}

// CLOSE with no status keeps the file.
TEST(Runtime, CloseKeepsByDefault)
{
	std::string path = temp_name();
	connect(33, path, "new");
	write_f(33, 1.f);
	cllist c = {0, 33, nullptr};
	f_clos(&c);
	struct stat st;
	ASSERT_EQ(stat(path.c_str(), &st), 0);
	EXPECT_EQ(st.st_size, 10);
	unlink(path.c_str());

	// a scratch unit: named, its records kept in its buffer, no file made
	connect(33, path, "scratch");
	write_f(33, 1.f);
	EXPECT_EQ(std::string(unit_at(33)->out, unit_at(33)->out_len), "    1.00\r\n");
	EXPECT_STREQ(unit_at(33)->name, path.c_str());
	unit_at(33)->out_len = 0;
	f_clos(&c);
	EXPECT_NE(stat(path.c_str(), &st), 0);
}

// Concatenation into a fixed-length target: truncated or blank-filled.
TEST(Runtime, Concatenation)
{
	struct { std::vector<std::string> pieces; int target; std::string want; } rows[] = {
		{{"abc", ".dat"}, 10, "abc.dat   "},
		{{"abc", ".dat"}, 5, "abc.d"},
		{{"", ".imp"}, 4, ".imp"},
		{{"x"}, 300, "x" + std::string(299, ' ')},
	};
	for (auto &r : rows) {
		std::vector<char *> p;
		std::vector<integer> n;
		for (auto &s : r.pieces) {
			p.push_back(s.data());
			n.push_back((integer)s.size());
		}
		integer count = (integer)p.size();
		std::string out((size_t)r.target, '#');
		s_cat(out.data(), p.data(), n.data(), &count, r.target);
		EXPECT_EQ(out, r.want);
	}
	// a target that is also the first piece
	char buf[12] = "name      ";
	char *pieces[2] = {buf, (char *)".dat"};
	integer lengths[2] = {4, 4}, count = 2;
	s_cat(buf, pieces, lengths, &count, 10);
	EXPECT_EQ(std::string(buf, 10), "name.dat  ");
}

} // namespace
