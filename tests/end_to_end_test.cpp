// End-to-end runs of the built program: exact console text, diagnostics,
// exit status and files on disk.
#include "run_program.h"
#include "tests/support.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace {

const std::string kSampleDat = "250.5 -120.25 30 -4.5 1.25 -0.5\n40\n";

std::string golden_table()
{
	return slurp(std::string(KORVEX_SOURCE_DIR) + "/tests/data/sample.imp");
}

std::string warning_line(const std::string &file_name)
{
	std::string padded = file_name + std::string(24 - file_name.size(), ' ');
	return " warning, this old file will be deleted :" + padded + "\n";
}

bool running_as_root() { return geteuid() == 0; }

// How many files a directory holds.
size_t dir_entries(const std::string &path)
{
	size_t n = 0;
	DIR *dir = opendir(path.c_str());
	while (const dirent *e = dir ? readdir(dir) : nullptr)
		n += strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0;
	if (dir)
		closedir(dir);
	return n;
}

// Why a check cannot be made on the Windows build under Wine, or null.
const char *not_under_wine(const char *why) { return target_is_windows() ? why : nullptr; }

TEST(Run, NormalRunWritesTheTableAndStops)
{
	temp_dir d;
	d.write("sample.dat", kSampleDat);
	run_result r = run_korvex(d, with_input("sample\n0\n"));
	EXPECT_EQ(r.out, kGreeting + kClosing);
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(d.read("sample.imp"), golden_table());
	// at the closing pause it holds the standard descriptors and its two files, nothing more
	if (!target_is_windows() && !getenv("KORVEX_LAUNCHER")) {
		run_options o = with_input("sample\n");
		o.signal_after = kClosing;
		o.late_input = "0\n";
		EXPECT_EQ(run_korvex(d, o).fds, "0 1 2 3 4 ");
	}
}

TEST(Run, OldTableIsAnnouncedAndReplaced)
{
	temp_dir d;
	d.write("sample.dat", kSampleDat);
	d.write("sample.imp", "stale contents\r\n");
	run_result r = run_korvex(d, with_input("sample\n0\n"));
	EXPECT_EQ(r.out, kGreeting + warning_line("sample.imp") + kClosing);
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(d.read("sample.imp"), golden_table());

	// an old FIFO: its removal opens it without waiting for a writer
	if (target_is_windows())
		return;
	unlink(d.file("sample.imp").c_str());
	mkfifo(d.file("sample.imp").c_str(), 0644);
	r = run_korvex(d, with_input("sample\n0\n"));
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(d.read("sample.imp"), golden_table());
}

// The typed name: at most 20 bytes, trailing blanks dropped, leading and
// inner blanks kept; blanks and tabs may follow the 20th byte, anything
// else refuses the name before any file is touched (refused: the file a
// cut name would give is there, and must stay untouched). Where the name
// on disk differs on Windows (under Wine, whose names on disk are UTF-8),
// the last column gives it: a name that is valid UTF-8 is read as UTF-8,
// any other in the ANSI code page (1252 here), so that the file opened is
// the one Explorer shows.
TEST(Run, NameEntry)
{
	struct row { const char *typed, *base, *windows_base; bool refused = false; } rows[] = {
		{"abcdefghijklmnopqrstu\n0\n", "abcdefghijklmnopqrst", nullptr, true},
		{"abcdefghijklmnopqrst    x\n0\n", "abcdefghijklmnopqrst", nullptr, true},
		{"\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\n0\n",
		 "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc", nullptr, true},
		{"abcdefghijklmnopqrst\n0\n", "abcdefghijklmnopqrst", nullptr},
		{"abcdefghijklmnopqrst  \t \n0\n", "abcdefghijklmnopqrst", nullptr},
		{"  lead\n0\n", "  lead", nullptr},
		{"in ner   \n0\n", "in ner", nullptr},
		{"\n0\n", "", nullptr},
		{"tab\there\n0\n", "tab\there", nullptr},
		{"crlf\r\n0\r\n", "crlf", nullptr},
		{"m\xc3\xbcller\n0\n", "m\xc3\xbcller", nullptr},
		{"m\xfcller\n0\n", "m\xfcller", "m\xc3\xbcller"},
		{"\xce\xb8\xce\xb8-\xe6\xb8\xac\xe5\xae\x9a\n0\n", "\xce\xb8\xce\xb8-\xe6\xb8\xac\xe5\xae\x9a", nullptr},
	};
	for (const row &w : rows) {
		SCOPED_TRACE(w.typed);
		if (target_is_windows() && strchr(w.base, '\t'))
			continue;   // a Windows file name holds no tab
		const std::string base = target_is_windows() && w.windows_base ? w.windows_base : w.base;
		temp_dir d;
		d.write(base + ".dat", kSampleDat);
		if (w.refused)
			d.write(base + ".imp", "old");
		run_result r = run_korvex(d, with_input(w.typed));
		if (w.refused) {
			EXPECT_EQ(r.out, kGreeting);
			EXPECT_EQ(r.err, diagnostic("fmt: name longer than 20 bytes", 5, "", "(a20)", true));
			EXPECT_EQ(r.status, 3);
			EXPECT_EQ(d.read(base + ".imp"), "old");
			EXPECT_EQ(dir_entries(d.path), 2u);
			continue;
		}
		EXPECT_EQ(r.status, 0) << r.err;
		EXPECT_EQ(d.read(base + ".imp").size(), 1440u);
	}
}

// --help and --version answer on standard output, an unknown option is
// refused on standard error; neither touches a file. Only the first
// argument is looked at, and one that is no option is ignored.
TEST(Run, CommandLine)
{
	const bool windows = target_is_windows();
	const std::string usage = "KORVEX tabulates a background polynomial";
	auto refused = [](const std::string &a) {
		return "korvex: unknown option " + a + " (korvex --help lists the options)\n";
	};
	struct row { std::vector<std::string> args; std::string out_starts, err; int status; } rows[] = {
		{{"--version"}, "korvex " KORVEX_VERSION "\nCopyright (C) 2026 Vellumarix\nLicense MIT: ", "", 0},
		{{"-V"}, "korvex " KORVEX_VERSION "\n", "", 0},
		{{"--"}, kGreeting, "", 0},
		{{"--help"}, usage, "", 0},
		{{"-h", "extra"}, usage, "", 0},
		{{"/?"}, windows ? usage : kGreeting, "", 0},
		{{"--other"}, "", refused("--other"), 2},
		{{"-help"}, "", refused("-help"), 2},
		{{"--HELP"}, "", refused("--HELP"), 2},
		{{"-"}, "", refused("-"), 2},
		{{"/x"}, windows ? "" : kGreeting, windows ? refused("/x") : "", windows ? 2 : 0},
		{{"sample"}, kGreeting, "", 0},
		{{"sample", "--bogus"}, kGreeting, "", 0},
		{{"--batch"}, "", "korvex: --batch needs a FILE (korvex --help lists the options)\n", 2},
		{{"-b", "sample"}, "sample.imp\n", "", 0},
		{{"--batch", "sample.dat"}, "sample.imp\n", "", 0},
		{{"--check"}, "", "korvex: --check needs a FILE (korvex --help lists the options)\n", 2},
		{{"-c", "sample"}, "sample.imp: missing\n", "", 4},
	};
	for (const row &w : rows) {
		SCOPED_TRACE(w.args[0]);
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		run_options o = with_input("sample\n0\n");
		o.args = w.args;
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.out.substr(0, w.out_starts.empty() ? std::string::npos : w.out_starts.size()), w.out_starts);
		EXPECT_EQ(r.err, w.err);
		EXPECT_EQ(r.status, w.status);
		EXPECT_EQ(d.exists("sample.imp"), w.out_starts == kGreeting || w.out_starts == "sample.imp\n");
	}
	// a text that cannot be written is never taken for one written
	for (const char *a : {"--help", "--version"}) {
		temp_dir d;
		run_options o;
		o.args = {a};
		o.stdout_path = "/dev/full";
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.err, "korvex: write error: " + std::string(strerror(ENOSPC)) + "\n") << a;
		EXPECT_EQ(r.status, 1) << a;
	}
}

// A batch of parameter files, each beside an old table, each table and
// each failure's report compared with what the dialogue gives for that
// file alone: the listing names the tables made, in order; standard error
// each failure, in order; a file that fails leaves its old table whole.
void expect_batch_as_the_dialogue(const std::vector<std::pair<std::string, std::string>> &files)
{
	temp_dir batch;
	run_options o;
	o.args = {"--batch"};
	std::string listing, failures;
	for (const auto &f : files) {
		batch.write(f.first + ".dat", f.second);
		batch.write(f.first + ".imp", "the old table of " + f.first + "\r\n");
		o.args.push_back(f.first);
	}
	run_result r = run_korvex(batch, o);
	for (const auto &f : files) {
		SCOPED_TRACE(f.first + ".dat: " + f.second);
		temp_dir alone;
		alone.write(f.first + ".dat", f.second);
		run_result a = run_korvex(alone, with_input(f.first + "\n0\n"));
		if (a.status == 0)
			listing += f.first + ".imp\n";
		else
			failures += f.first + ": no table\n" + a.err.substr(0, a.err.size() - 30);   // no abnormal end
		EXPECT_EQ(batch.read(f.first + ".imp"),
		          a.status == 0 ? alone.read(f.first + ".imp") : "the old table of " + f.first + "\r\n");
	}
	EXPECT_EQ(r.out, listing);
	EXPECT_EQ(r.err, failures.empty() ? "" : failures + "\nabnormal program termination\n");
	EXPECT_EQ(r.status, failures.empty() ? 0 : 3);
}

// --batch: each FILE's table as the dialogue makes it from that file
// alone, named once it is on stable storage, a line a write; each failure
// named and reported as the dialogue reports it, the rest made; a name
// that cannot be listed is a failure; an interrupt ends it at once
TEST(Run, Batch)
{
	auto lines = [](const std::string &s) { return s.substr(0, s.size() - 30); };   // no abnormal end
	temp_dir d;
	d.write("sample.dat", kSampleDat);
	d.write("sample.imp", "old");
	d.write("bad.dat", "1 2 x\n");
	d.write("short.dat", "1 2 3 4 5 6\n");
	d.write("short.imp", "archived");
	mkdir(d.file("a folder").c_str(), 0755);
	d.write("a folder/measurement_2024_run2.dat", kSampleDat);
	run_options o;
	o.args = {"--batch", "sample", "bad.dat", "missing", "a folder/measurement_2024_run2.dat", "short"};
	run_result r = run_korvex(d, o);
	EXPECT_EQ(r.out, "sample.imp\na folder/measurement_2024_run2.imp\n");
	EXPECT_EQ(r.err, "bad.dat: no table\n" +
	                     lines(diagnostic("invalid number: incomprehensible list input", 11, "bad.dat", "list io", true)) +
	                     "missing: no table\n" + lines(diagnostic("open: No such file or directory", 11, "", "", true)) +
	                     "short: no table\n" + diagnostic("list in: end of file", 11, "short.dat", "list io", true));
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(d.read("sample.imp"), golden_table());
	EXPECT_EQ(d.read("a folder/measurement_2024_run2.imp"), golden_table());
	EXPECT_FALSE(d.exists("bad.imp"));   // a file that cannot be read touches no table
	EXPECT_EQ(d.read("short.imp"), "archived");
	EXPECT_FALSE(d.exists("missing.imp"));

	// what a file leaves unread is zero, whatever the files before it set
	expect_batch_as_the_dialogue({{"full", kSampleDat}, {"null", "1,,3 4 5 6 80\n"}, {"full2", kSampleDat},
	                              {"slash", "1 2 3 /\n"}, {"full3", "9 8 7 6 5 4 30\n"}, {"nulls", "3*, 4 5 6 80\n"},
	                              {"full4", kSampleDat}, {"six", "1 2 3 4 5 6\n"}, {"full5", kSampleDat},
	                              {"faulty", "1 2 x\n"}, {"full6", kSampleDat}, {"origin", "1 2 3 4 5 6 ,\n"}});

	// the listing cannot be written: said with the reason, status 3, the tables made
	o.args = {"--batch", "sample", "a folder/measurement_2024_run2"};
	o.stdout_path = "/dev/full";
	r = run_korvex(d, o);
	EXPECT_EQ(r.err, "korvex: write error: " + std::string(strerror(ENOSPC)) + "\n\nabnormal program termination\n");
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(d.read("sample.imp"), golden_table());
	EXPECT_EQ(d.read("a folder/measurement_2024_run2.imp"), golden_table());
	o.stdout_path.clear();

	if (target_is_windows())
		return;   // no FIFO to hold the batch; no folder to sync; no strace
	// a FILE of any length named whole, its report in as many writes as it takes
	const std::string longest(5000, 'x');
	o.args = {"--batch", longest};
	r = run_korvex(d, o);
	EXPECT_EQ(r.err, longest + ": no table\n" + diagnostic("open: " + std::string(strerror(ENAMETOOLONG)), 11, "", "", true));
	o.args = {"--batch", "sample", "a folder/measurement_2024_run2"};
	if (!getenv("KORVEX_LAUNCHER") && system("strace -V >/dev/null 2>&1") == 0) {
		// a table's sync fails, or its folder's, or a FILE's read while the
		// group's are in flight: that FILE reported as the dialogue reports
		// it, the others listed in order; and the first write of all (once a
		// thread's notice) fails: reported, never waited for
		const std::string eio = std::string(strerror(EIO));
		const std::string sync_failed = diagnostic("write sfe: " + eio, 13, "sample.imp", "", false);
		struct { std::vector<std::string> files, trace; std::string err; } fails[] = {
			{o.args, {"-P", d.file("sample.imp"), "-e", "trace=fsync", "-e", "inject=fsync:error=EIO"}, sync_failed},
			{o.args, {"-P", d.path, "-e", "trace=fsync", "-e", "inject=fsync:error=EIO"}, sync_failed},
			{o.args, {"-P", d.file("sample.dat"), "-e", "trace=read", "-e", "inject=read:error=EIO"},
			 diagnostic("list in: " + eio, 11, "sample.dat", "list io", true)},
			{{"--batch", "sample"}, {"-e", "trace=write", "-e", "inject=write:error=EIO:when=1"}, ""}};   // (each thread's first)
		for (const auto &w : fails) {
			SCOPED_TRACE(w.trace[1]);
			run_options f = o;
			f.args = w.files;
			f.wrapper = {"strace", "-f", "-qq", "-o", "/dev/null"};
			f.wrapper.insert(f.wrapper.end(), w.trace.begin(), w.trace.end());
			r = run_korvex(d, f);
			EXPECT_EQ(r.out, w.files.size() > 2 ? "a folder/measurement_2024_run2.imp\n" : "");
			EXPECT_EQ(r.err, w.err.empty() ? "\nabnormal program termination\n" : "sample: no table\n" + w.err);
			EXPECT_EQ(r.status, 3);
		}
		// an interrupt while a request of the second group is held (a .dat's
		// open, a table's sync): the batch ends at once, every table listed
		// by then complete
		temp_dir g;
		run_options held;
		held.args = {"--batch"};
		for (int i = 10; i < 50; i++) {
			g.write("t" + std::to_string(i) + ".dat", kSampleDat);
			held.args.push_back("t" + std::to_string(i));
		}
		for (const char *call : {"open,openat", "fsync"}) {   // (musl opens with open)
			SCOPED_TRACE(call);
			held.wrapper = {"strace", "-f", "-qq", "-o", "/dev/null", "-P", call[0] == 'o' ? "t45.dat" : g.file("t45.imp"),
			                "-e", std::string("trace=") + call, "-e", std::string("inject=") + call + ":delay_enter=3000000"};
			held.signal = SIGINT;
			held.signal_after = "t41.imp\n";   // the first group of 32 listed
			held.signal_innermost = true;
			r = run_korvex(g, held);
			EXPECT_NE(r.err.find("Interrupt\n"), std::string::npos);   // (strace may say what it did)
			EXPECT_EQ(r.status, 1);
			for (size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1)
				EXPECT_EQ(g.read(r.out.substr(at, end - at)), golden_table());
			EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 32);
			for (int i = 42; i < 50; i++)
				unlink(g.file("t" + std::to_string(i) + ".imp").c_str());
		}
		// a write of the listing fails: the names before it listed, the tables made
		struct row { int err, when; const char *listed; } rows[] = {
			{EIO, 1, ""}, {EIO, 2, "sample.imp\n"}, {ENOSPC, 2, "sample.imp\n"}, {EPIPE, 1, ""}};
		for (const row &w : rows) {
			SCOPED_TRACE(w.when);
			unlink(d.file("listing").c_str());
			d.write("listing", "");
			o.stdout_path = d.file("listing");
			o.wrapper = {"strace", "-qq", "-o", "/dev/null", "-P", o.stdout_path, "-e", "trace=write", "-e",
			             "inject=write:error=" + std::to_string(w.err) + ":when=" + std::to_string(w.when)};
			r = run_korvex(d, o);
			EXPECT_EQ(d.read("listing"), w.listed);
			EXPECT_EQ(r.err, "korvex: write error: " + std::string(strerror(w.err)) + "\n\nabnormal program termination\n");
			EXPECT_EQ(r.status, 3);
			EXPECT_EQ(d.read("a folder/measurement_2024_run2.imp"), golden_table());
		}
		o.wrapper.clear();
		o.stdout_path.clear();
	}
	// a FIFO among regular files is read in its turn, never waited for ahead
	// of it; a table named thrice, replaced, as one FILE after the other
	temp_dir e;
	e.write("sample.dat", kSampleDat);
	mkfifo(e.file("fed.dat").c_str(), 0644);
	std::thread writer([&e] {
		int fd = open(e.file("fed.dat").c_str(), O_WRONLY);
		EXPECT_EQ(write(fd, kSampleDat.data(), kSampleDat.size()), (ssize_t)kSampleDat.size());
		close(fd);
	});
	o.args = {"--batch", "sample", "./sample", "fed", ".//sample.dat", "sample.dat"};
	r = run_korvex(e, o);
	int released = open(e.file("fed.dat").c_str(), O_RDONLY | O_NONBLOCK);   // should it never have been opened
	writer.join();
	close(released);
	EXPECT_EQ(r.out, "sample.imp\n./sample.imp\nfed.imp\n.//sample.imp\nsample.imp\n");
	EXPECT_EQ(e.read("fed.imp"), golden_table());
	mkfifo(e.file("held.dat").c_str(), 0644);   // nobody writes it: the batch waits there
	o.args = {"--batch", "sample", "held", "sample"};
	o.signal = SIGINT;
	r = run_korvex(e, o);
	EXPECT_EQ(r.out, "");   // written, not yet on stable storage: not named
	EXPECT_EQ(r.err, "Interrupt\n");
	EXPECT_EQ(r.status, 1);
}

// Parameter files of every form the reader takes, and faulty ones, made at
// random (the same each run) and tabulated in one batch: each table and
// each report is the dialogue's for that file alone.
TEST(Run, BatchOfGeneratedFiles)
{
	unsigned long long state = 20261210;
	auto pick = [&state](unsigned n) {
		state = state * 6364136223846793005ull + 1442695040888963407ull;
		return (unsigned)(state >> 33) % n;
	};
	static const char *const separators[] = {" ", ",", " , ", "\n", "\t", "\r\n", "\n\n"};
	static const char *const values[] = {"1", "-2.5", "0.75", "3e1", "1.5D-2", "2+1", "-.5", "40", "80.", "125.25"};
	static const char *const odd[] = {"", "/", "3*", "2*,", "x", "1.5q", "7e", "0*1", "+"};
	std::vector<std::pair<std::string, std::string>> files;
	const int n = getenv("KORVEX_LAUNCHER") ? 100 : 300;   // each file's dialogue too, through the launcher
	for (int i = 0; i < n; i++) {
		std::string text;
		for (unsigned k = 0, items = 6 + pick(5); k < items; k++) {
			text += pick(6) ? values[pick(10)] : odd[pick(9)];
			text += separators[pick(7)];
		}
		files.push_back({"g" + std::to_string(i), text});
	}
	expect_batch_as_the_dialogue(files);
}

// Batches side by side on one pipe (xargs -P): every listing line whole,
// every failure's report whole.
TEST(Run, BatchesSideBySide)
{
	if (system("xargs --version >/dev/null 2>&1") != 0)
		GTEST_SKIP() << "no xargs";
	temp_dir d;
	const int n = getenv("KORVEX_LAUNCHER") ? 48 : 600;
	run_options o;
	std::vector<std::string> listed, expected, reports;
	for (int i = 0; i < n; i++) {
		std::string name = "table_number_" + std::to_string(i);
		bool faulty = i % 10 == 3;
		d.write(name + ".dat", faulty ? "1 2 x\n" : kSampleDat);
		o.input += name + "\n";
		if (!faulty)
			expected.push_back(name + ".imp");
		std::string report = diagnostic("invalid number: incomprehensible list input", 11, name + ".dat", "list io", true);
		if (faulty)   // without the batch's abnormal end
			reports.push_back(name + ": no table\n" + report.substr(0, report.size() - 30));
	}
	o.wrapper = {"xargs", "-P", "8", "-n", getenv("KORVEX_LAUNCHER") ? "6" : "10"};
	o.args = {"--batch"};
	run_result r = run_korvex(d, o);
	EXPECT_EQ(r.status, 123);   // xargs: a batch ended with status 3
	for (size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1)
		listed.push_back(r.out.substr(at, end - at));
	std::sort(listed.begin(), listed.end());
	std::sort(expected.begin(), expected.end());
	EXPECT_EQ(listed, expected);
	std::string rest = r.err;
	for (const std::string &report : reports) {
		size_t at = rest.find(report);
		ASSERT_NE(at, std::string::npos) << report;
		rest.erase(at, report.size());
	}
	for (size_t at; (at = rest.find("\nabnormal program termination\n")) != std::string::npos;)
		rest.erase(at, 30);
	EXPECT_EQ(rest, "");
}

// Everything a check could touch in a folder: each entry's name, mode,
// size, times of change and contents, its subfolders' too.
std::string folder_state(const std::string &path)
{
	std::vector<std::string> names;
	DIR *dir = opendir(path.c_str());
	while (const dirent *e = dir ? readdir(dir) : nullptr)
		if (strcmp(e->d_name, "..") != 0)
			names.push_back(e->d_name);
	if (dir)
		closedir(dir);
	std::sort(names.begin(), names.end());
	std::string state;
	for (const std::string &name : names) {
		struct stat st;
		std::string p = path + "/" + name;
		lstat(p.c_str(), &st);
		state += name + " " + std::to_string(st.st_mode) + " " + std::to_string(st.st_size) + " " +
		         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + " " +
		         std::to_string(st.st_ctim.tv_sec) + "." + std::to_string(st.st_ctim.tv_nsec) + "\n";
		if (S_ISREG(st.st_mode))
			state += slurp(p);
		else if (S_ISDIR(st.st_mode) && name != ".")
			state += folder_state(p);
	}
	return state;
}

// --check: each archived table against the one its file makes, a verdict
// a line, the status; a file that cannot be read reported as a batch
// reports it; the folder, run after run, exactly as it was
TEST(Run, Check)
{
	const std::string table = golden_table();
	auto changed = [&table](size_t at, char c) { std::string t = table; t[at] = c; return t; };
	std::string lf;
	for (char c : table)
		if (c != '\r')
			lf += c;
	struct row { const char *name; std::string archived, verdict; } rows[] = {
		{"same", table, "same"},
		{"first", changed(7, '1'), "differs: record 1: archived \"    2.01  397.08\", made \"    2.00  397.08\""},
		{"middle", changed(39 * 18 + 12, '\xe9'), "differs: record 40: archived \"   80.00  15\\xe9.50\", made \"   80.00  156.50\""},
		{"last", changed(79 * 18 + 16, '\n'), "differs: record 80: archived \"  160.00   18.00\\x0a\\x0a\", made \"  160.00   18.00\""},
		{"quoted", changed(18, '"'), "differs: record 2: archived \"\\x22   4.00  387.42\", made \"    4.00  387.42\""},
		{"short", table.substr(0, 1422), "not a table: 1422 bytes"},
		{"lf", lf, "not a table: 1360 bytes"},
		{"longer", table + "\x1a", "not a table: 1441 bytes"},
		{"missing", "", "missing"},
		{"folder", "", "not a table: not a regular file"},
		{"fifo", "", "not a table: not a regular file"},   // never waited for
	};
	temp_dir d;
	run_options o;
	o.args = {"--check"};
	std::string listing;
	for (const row &w : rows) {
		std::string name = w.name;
		if (name == "fifo" && target_is_windows())
			continue;   // Windows has no FIFO
		d.write(name + ".dat", kSampleDat);
		if (name == "folder")
			mkdir(d.file("folder.imp").c_str(), 0755);
		else if (name == "fifo")
			mkfifo(d.file("fifo.imp").c_str(), 0644);
		else if (name != "missing")
			d.write(name + ".imp", w.archived);
		o.args.push_back(name == "same" ? "same.dat" : name);
		listing += name + ".imp: " + w.verdict + "\n";
	}
	d.write("faulty.dat", "1 2 x\n");
	d.write("faulty.imp", "archived");
	const std::string before = folder_state(d.path);
	for (int twice = 0; twice < 2; twice++) {
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.out, listing);
		EXPECT_EQ(r.err, "");
		EXPECT_EQ(r.status, 4);
		EXPECT_EQ(folder_state(d.path), before);
	}
	// a faulty file among good ones: reported, the rest checked, status 3
	o.args = {"--check", "same", "faulty", "nowhere", "same"};
	for (int twice = 0; twice < 2; twice++) {
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.out, "same.imp: same\nsame.imp: same\n");
		std::string report = diagnostic("invalid number: incomprehensible list input", 11, "faulty.dat", "list io", true);
		EXPECT_EQ(r.err, "faulty: not checked\n" + report.substr(0, report.size() - 30) + "nowhere: not checked\n" +
		                     diagnostic("open: No such file or directory", 11, "", "", true));
		EXPECT_EQ(r.status, 3);
		EXPECT_EQ(folder_state(d.path), before);
	}
	o.args = {"-c", "same", "same.dat"};
	run_result r = run_korvex(d, o);
	EXPECT_EQ(r.out, "same.imp: same\nsame.imp: same\n");
	EXPECT_EQ(r.status, 0);
	// what a read-only medium would refuse is never asked: every file opened
	// for reading only (the null device aside; a call a thread's trace splits
	// has its flags in its first half), nothing removed, renamed or synced
	if (!target_is_windows() && !getenv("KORVEX_LAUNCHER") && system("strace -V >/dev/null 2>&1") == 0) {
		temp_dir trace;
		run_options traced = o;
		traced.args = {"--check", "same", "first", "missing", "folder", "faulty"};
		traced.wrapper = {"strace", "-f", "-qq", "-o", trace.file("calls"), "-e",
		                  "trace=open,openat,creat,unlink,unlinkat,rename,renameat,renameat2,fsync,fdatasync,"
		                  "truncate,ftruncate,mkdir,mkdirat,chmod,fchmod,fchmodat,utimensat,link,linkat,symlink"};
		run_korvex(d, traced);
		std::string calls = trace.read("calls"), line;
		for (size_t at = 0, end; (end = calls.find('\n', at)) != std::string::npos; at = end + 1)
			if ((line = calls.substr(at, end - at)).find("O_RDONLY") == std::string::npos &&
			    line.find("\"/dev/null\"") == std::string::npos && line.find(" resumed>") == std::string::npos)
				ADD_FAILURE() << line;
		EXPECT_NE(calls.find("first.imp"), std::string::npos);   // the trace saw the check
		// a FILE's read fails while the others' are in flight: reported, the rest checked
		traced.args = {"--check", "same", "first", "same"};
		traced.wrapper = {"strace", "-f", "-qq", "-o", "/dev/null", "-P", d.file("first.dat"), "-e", "trace=read", "-e",
		                  "inject=read:error=EIO"};
		run_result f = run_korvex(d, traced);
		EXPECT_EQ(f.out, "same.imp: same\nsame.imp: same\n");
		EXPECT_EQ(f.err, "first: not checked\n" + diagnostic("list in: " + std::string(strerror(EIO)), 11, "first.dat", "list io", true));
	}
	// the verdicts cannot be written: said, status 3
	o.stdout_path = "/dev/full";
	r = run_korvex(d, o);
	EXPECT_EQ(r.err, "korvex: write error: " + std::string(strerror(ENOSPC)) + "\n\nabnormal program termination\n");
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(folder_state(d.path), before);
	o.stdout_path.clear();
	if (target_is_windows())
		return;   // no FIFO to hold the check; Windows' read-only attribute does not stop a read
	// an interrupt ends it at once, the verdicts given so far written
	mkfifo(d.file("held.dat").c_str(), 0644);
	o.args = {"--check", "same", "held", "same"};
	o.signal = SIGINT;
	r = run_korvex(d, o);
	EXPECT_EQ(r.out, "same.imp: same\n");
	EXPECT_EQ(r.err, "Interrupt\n");
	EXPECT_EQ(r.status, 1);
	o.signal = 0;
	if (running_as_root())
		return;   // root reads any file
	chmod(d.file("same.imp").c_str(), 0);
	o.args = {"--check", "same", "first"};
	r = run_korvex(d, o);
	EXPECT_EQ(r.out, "first.imp: " + rows[1].verdict + "\n");
	EXPECT_EQ(r.err, "same: not checked\n" + diagnostic("open: " + std::string(strerror(EACCES)), 13, "same.imp", "", false));
	EXPECT_EQ(r.status, 3);
}

TEST(Run, MissingInputTouchesNothing)
{
	temp_dir d;
	d.write("gone.imp", "old");
	run_result r = run_korvex(d, with_input("gone\n0\n"));
	EXPECT_EQ(r.out, kGreeting);
	EXPECT_EQ(r.err, diagnostic("open: No such file or directory", 11, "", "", true));
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(d.read("gone.imp"), "old");
}

// A NUL typed in the name would cut it short: "victim\0x" must not reach
// the file "victim", neither as the parameters nor as an old table.
TEST(Run, NameWithANulByteNamesNoFile)
{
	temp_dir d;
	d.write("victim", "precious");
	d.write("victim.dat", kSampleDat);
	run_result r = run_korvex(d, with_input(std::string("victim\0x\n0\n", 11)));
	EXPECT_EQ(r.out, kGreeting);
	EXPECT_EQ(r.err, diagnostic("open: No such file or directory", 11, "", "", true));
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(d.read("victim"), "precious");
	EXPECT_FALSE(d.exists("victim.imp"));
}

TEST(Run, EndOfInputAtThePrompt)
{
	for (const char *typed : {"", "samp"}) {
		SCOPED_TRACE(typed);
		temp_dir d;
		d.write("samp.dat", kSampleDat);
		run_result r = run_korvex(d, with_input(typed));
		EXPECT_EQ(r.out, kGreeting);
		EXPECT_EQ(r.err, diagnostic("fmt: end of file", 5, "", "(a20)", true));
		EXPECT_EQ(r.status, 3);
		EXPECT_FALSE(d.exists("samp.imp"));
	}
}

// Whatever ends the closing pause, the table is complete on disk.
TEST(Run, ClosingPause)
{
	struct row { const char *typed; int status; const char *first; } rows[] = {
		{"0\n", 0, ""},
		{"\n\n  \n7.5\n", 0, ""},
		{",\n", 0, ""},
		{"/\n", 0, ""},
		{"5", 0, ""},
		{"yes\n", 3, "invalid number: incomprehensible list input"},
		{"done\n", 3, "exponent field: incomprehensible list input"},
		{"\n\n", 3, "list in: end of file"},
		{"", 3, "list in: end of file"},
	};
	// blanks after the name up to the end of the input: the pause meets that end
	temp_dir d0;
	d0.write("sample.dat", kSampleDat);
	run_result r0 = run_korvex(d0, with_input("sample                  "));
	EXPECT_EQ(r0.err, diagnostic("list in: end of file", 5, "", "list io", true));
	EXPECT_EQ(d0.read("sample.imp"), golden_table());

	for (const row &w : rows) {
		SCOPED_TRACE(w.typed);
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		run_result r = run_korvex(d, with_input(std::string("sample\n") + w.typed));
		EXPECT_EQ(r.out, kGreeting + kClosing);
		EXPECT_EQ(r.status, w.status);
		EXPECT_EQ(r.err, *w.first ? diagnostic(w.first, 5, "", "list io", true) : "");
		EXPECT_EQ(d.read("sample.imp"), golden_table());
	}
}

// A bad parameter file: the old table is gone, the new one exists, empty.
TEST(Run, BadInputFile)
{
	struct row { const char *dat, *first; } rows[] = {
		{"1 2 3 4 5 6\n", "list in: end of file"},
		{"", "list in: end of file"},
		{"1 2 x 4 5 6 7\n", "invalid number: incomprehensible list input"},
		{"1 2 3 4 5 6 7e\n", "exponent field: incomprehensible list input"},
		{"0*1 2 3 4 5 6 7\n", "bad repetition count: incomprehensible list input"},
		{"\x7f" "ELF\x02\x01\x01\0\0\0", "invalid number: incomprehensible list input"},
	};
	for (const row &w : rows) {
		SCOPED_TRACE(w.dat);
		temp_dir d;
		d.write("bad.dat", w.dat);
		d.write("bad.imp", "old table");
		run_result r = run_korvex(d, with_input("bad\n0\n"));
		EXPECT_EQ(r.out, kGreeting + warning_line("bad.imp"));
		EXPECT_EQ(r.err, diagnostic(w.first, 11, "bad.dat", "list io", true));
		EXPECT_EQ(r.status, 3);
		EXPECT_TRUE(d.exists("bad.imp"));
		EXPECT_EQ(d.read("bad.imp"), "");
	}
}

// A huge parameter file costs no memory: nothing after the seventh value
// is read, whether it follows on the same line or on later lines.
TEST(Run, HugeInputFileReadInConstantMemory)
{
	const std::string junk(1 << 20, 'j');
	for (const char *after_values : {"\n", " "}) {
		SCOPED_TRACE(after_values);
		temp_dir d;
		{
			FILE *f = fopen(d.file("big.dat").c_str(), "wb");
			fputs("250.5 -120.25 30 -4.5 1.25 -0.5 40", f);
			fputs(after_values, f);
			for (int i = 0; i < 100; i++) {
				fwrite(junk.data(), 1, junk.size(), f);
				fputc(i % 2 ? '\n' : ' ', f);
			}
			fclose(f);
		}
		run_result r = run_korvex(d, with_input("big\n0\n"));
		EXPECT_EQ(r.status, 0) << r.err;
		EXPECT_EQ(d.read("big.imp"), golden_table());
		// the peak counts what the child shared with the test before exec, so
		// the bound is loose; reading the file into memory would be 100 MB
		EXPECT_LT(r.max_rss_kb, 50 * 1024);
	}
}

TEST(Run, DirectoriesAreNeverConnected)
{
	temp_dir d;
	d.write("x.dat", kSampleDat);
	mkdir(d.file("x.imp").c_str(), 0755);
	run_result r = run_korvex(d, with_input("x\n0\n"));
	EXPECT_EQ(r.out, kGreeting + warning_line("x.imp"));
	// Windows' C library cannot open a directory at all
	const std::string is_a_directory = target_is_windows() ? "open: Permission denied" : "open: Is a directory";
	EXPECT_EQ(r.err, diagnostic(is_a_directory, 13, "x.imp", "list io", false));
	EXPECT_EQ(r.status, 3);

	temp_dir e;
	mkdir(e.file("y.dat").c_str(), 0755);
	r = run_korvex(e, with_input("y\n0\n"));
	EXPECT_EQ(r.err, diagnostic(is_a_directory, 11, "y.dat", "", true));
	EXPECT_EQ(r.status, 3);
	EXPECT_FALSE(e.exists("y.imp"));
}

TEST(Run, ReadOnlyOldTableInReadOnlyDirectory)
{
	// on Windows the file's read-only attribute alone keeps it, even for root
	if (running_as_root() && !target_is_windows())
		GTEST_SKIP() << "root may remove files from a read-only directory";
	temp_dir d;
	d.write("ro.dat", kSampleDat);
	d.write("ro.imp", "old");
	chmod(d.file("ro.imp").c_str(), 0444);
	chmod(d.path.c_str(), 0555);
	run_result r = run_korvex(d, with_input("ro\n0\n"));
	chmod(d.path.c_str(), 0755);
	EXPECT_EQ(r.out, kGreeting + warning_line("ro.imp"));
	EXPECT_EQ(r.err, diagnostic("open: 'new' file exists", 13, "", "list io", false));
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(d.read("ro.imp"), "old");
}

TEST(Run, UnreadableInputFile)
{
	if (running_as_root())
		GTEST_SKIP() << "root reads files whatever their permissions";
	temp_dir d;
	d.write("p.dat", kSampleDat);
	chmod(d.file("p.dat").c_str(), 0);
	run_result r = run_korvex(d, with_input("p\n0\n"));
	EXPECT_EQ(r.err, diagnostic("open: Permission denied", 11, "p.dat", "", true));
	EXPECT_EQ(r.status, 3);
}

// The table goes into the file the exclusive create made, through the
// descriptor that create returned, whatever permissions a umask gives it.
TEST(Run, UmaskThatLeavesTheNewTableWithoutPermissions)
{
	for (mode_t mask : {0222, 0777}) {
		SCOPED_TRACE(mask);
		temp_dir d;
		d.write("w.dat", kSampleDat);
		mode_t old = umask(mask);
		run_result r = run_korvex(d, with_input("w\n0\n"));
		umask(old);
		EXPECT_EQ(r.err, "");
		EXPECT_EQ(r.status, 0);
		chmod(d.file("w.imp").c_str(), 0644);
		EXPECT_EQ(d.read("w.imp"), golden_table());
	}
}

// Someone who can write the directory moves the new table aside and puts
// a link to another file in its place between OPEN and the first WRITE
// (the parameter file is a FIFO, so the program waits there): the table
// goes into the file the program created, the other file is never written.
TEST(Run, TableReplacedByALinkIsNotWritten)
{
	if (target_is_windows())
		GTEST_SKIP() << "Windows has no FIFO to hold the program between OPEN and WRITE (Wine reports none)";
	temp_dir d;
	d.write("victim", "precious");
	mkfifo(d.file("p.dat").c_str(), 0644);
	std::thread swapper([&d] {
		int fd = open(d.file("p.dat").c_str(), O_WRONLY);   // waits for the program's OPEN
		for (int i = 0; i < 2000 && !d.exists("p.imp"); i++)
			usleep(1000);
		rename(d.file("p.imp").c_str(), d.file("moved").c_str());
		symlink("victim", d.file("p.imp").c_str());
		if (write(fd, kSampleDat.data(), kSampleDat.size()) < 0) {
			// the program has gone; the test below says why
		}
		close(fd);
	});
	run_result r = run_korvex(d, with_input("p\n0\n"));
	swapper.join();
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(d.read("victim"), "precious");
	EXPECT_EQ(d.read("moved"), golden_table());
}

// Every moment at once: from the exclusive create to the last byte of the
// table, the program never names the table again (no open, stat, link or
// rename of it), and every byte goes to the descriptor the create returned,
// which stays open. So a swap of the name between any two system calls
// cannot reach another file. strace records each call of the run.
TEST(Run, TheTableIsNeverNamedAfterItsCreate)
{
	if (target_is_windows() || getenv("KORVEX_LAUNCHER") || system("strace -V >/dev/null 2>&1") != 0)
		GTEST_SKIP() << "needs strace and a native build";
	temp_dir d;
	d.write("sample.dat", kSampleDat);
	d.write("sample.imp", "old");
	run_options o = with_input("sample\n0\n");
	o.wrapper = {"strace", "-qq", "-s", "0", "-o", d.file("trace"), "-e", "trace=%file,%desc"};
	run_result r = run_korvex(d, o);
	EXPECT_EQ(r.status, 0) << r.err;
	EXPECT_EQ(d.read("sample.imp"), golden_table());

	std::string trace = d.read("trace");
	size_t create = trace.find("\"sample.imp\", O_RDWR|O_CREAT|O_EXCL");
	ASSERT_NE(create, std::string::npos) << trace;
	size_t line_end = trace.find('\n', create);
	std::string created = trace.substr(trace.rfind(" = ", line_end) + 3, line_end - trace.rfind(" = ", line_end) - 3);
	std::string after = trace.substr(line_end + 1);
	EXPECT_EQ(after.find("sample.imp"), std::string::npos) << after;
	size_t table = after.find("write(" + created + ", \"\"..., 1440)");
	EXPECT_EQ(after.substr(table, after.find('\n', table) - table).substr(after.find('\n', table) - table - 4), "1440");
	EXPECT_NE(table, std::string::npos) << after;
	EXPECT_EQ(after.substr(0, table).find("(" + created + ")"), std::string::npos) << "closed before the table: " << after;
	// the table, its name and the old one's removal are on stable storage
	// before the closing lines
	size_t synced = after.find("fsync(" + created + ")"), folder = after.find("\".\", O_RDONLY");
	EXPECT_LT(table, synced) << after;
	EXPECT_LT(synced, folder) << after;
	EXPECT_LT(after.find("fsync(", folder), after.find("write(1, ")) << after;
}

// A table that does not reach stable storage is a failed write, reported
// in place of the closing lines; a file system that cannot sync is none.
// A call interrupted with no event behind it (a network file system) is
// made again: each interruptible call of a plain run, once.
TEST(Run, FailedSync)
{
	if (target_is_windows() || getenv("KORVEX_LAUNCHER") || system("strace -V >/dev/null 2>&1") != 0)
		GTEST_SKIP() << "needs strace and a native build";
	// (a call on a path is counted on that path alone: a dynamic loader's own come first)
	struct row { const char *call, *path, *inject; std::string err; } rows[] = {
		{"fsync", "", "error=EIO:when=1", diagnostic("write sfe: " + std::string(strerror(EIO)), 13, "sample.imp", "", false)},
		{"fsync", "", "error=ENOSPC:when=2", diagnostic("write sfe: No space left on device", 13, "sample.imp", "", false)},
		{"fsync", "", "error=EINVAL", ""},
		{"fsync", "", "error=EINTR:when=1", ""}, {"fsync", "", "error=EINTR:when=2", ""},
		{"openat", "/dev/null", "error=EINTR:when=1", ""}, {"openat", "sample.dat", "error=EINTR:when=1", ""},
		{"openat", "sample.imp", "error=EINTR:when=1", ""}, {"openat", ".", "error=EINTR:when=1", ""},
		{"read", "sample.dat", "error=EINTR:when=1", ""}, {"close", "sample.dat", "error=EINTR:when=1", ""},
		{"close", ".", "error=EINTR:when=1", ""},
		{"write", "", "error=EINTR:when=1", ""}, {"write", "", "error=EINTR:when=3", ""},
	};
	for (const row &w : rows) {
		SCOPED_TRACE(std::string(w.call) + " " + w.path + ":" + w.inject);
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		run_options o = with_input("sample\n0\n");
		std::string path = !*w.path || *w.path == '/' ? w.path : d.file(w.path);
		o.wrapper = {"strace", "-qq", "-o", "/dev/null", "-e", std::string("trace=") + w.call, "-e",
		             std::string("inject=") + w.call + ":" + w.inject};
		if (*w.path)
			o.wrapper.insert(o.wrapper.end(), {"-P", path == d.file(".") ? d.path : path});
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.out, w.err.empty() ? kGreeting + kClosing : kGreeting);
		EXPECT_EQ(r.err, w.err);
		EXPECT_EQ(r.status, w.err.empty() ? 0 : 3);
		EXPECT_EQ(d.read("sample.imp"), golden_table());
	}
}

// Signals while the program waits for input.
TEST(Run, Signals)
{
	const std::string abnormal = "\nabnormal program termination\n";
	const char *wine_kills_itself = not_under_wine("Wine ends itself on this signal; the program never sees it");
	const char *wine_keeps_it = not_under_wine("Wine does not pass this signal on to the program");
	const char *wine_cannot_cancel = not_under_wine("Wine cannot cancel a write blocked on a pipe");
	struct row {
		int sig; std::string after; std::string message; int status; bool table; int killed_by;
		const char *skip = nullptr;
		bool at_once = false;
		bool ignored = false;   // started with the signal ignored
		int stuck_fd = -1;      // a standard descriptor that takes no output
		bool alarm_blocked = false;
	} rows[] = {
		{SIGINT, kClosing, "Interrupt\n", 1, true, 0},
		{SIGTERM, kClosing, "Killed\n", 1, true, 0, wine_kills_itself},
		{SIGINT, kGreeting, "Interrupt\n", 1, false, 0},
		{SIGTERM, kGreeting, "Killed\n", 1, false, 0, wine_kills_itself},
		{SIGFPE, kClosing, "Floating Exception\n" + abnormal, 3, true, 0, wine_keeps_it},
		{SIGABRT, kClosing, "IOT Trap\n" + abnormal, 3, true, 0, wine_keeps_it},
		// signals the run-time leaves alone, sent the moment the closing lines show: the table is on disk
		{SIGHUP, kClosing, "", -1, true, SIGHUP, wine_kills_itself, true},
		{SIGQUIT, kClosing, "", -1, true, SIGQUIT, wine_kills_itself, true},
		{SIGKILL, kClosing, "", -1, true, SIGKILL, nullptr, true},
		{SIGINT, kClosing, "Interrupt\n", 1, true, 0, nullptr, true},
		// an interrupt ignored at start stays ignored: the pause ends at the end of input
		{SIGINT, kClosing, diagnostic("list in: end of file", 5, "", "list io", true), 3, true, 0,
		 not_under_wine("Wine does not pass an ignored SIGINT on as Windows' inherited ignore flag"), false, true},
		// a console that takes nothing (a pipe nobody reads, a paused terminal) holds no answer
		{SIGINT, "", "Interrupt\n", 1, false, 0, wine_cannot_cancel, false, false, 1},
		{SIGTERM, "", "Killed\n", 1, false, 0, wine_kills_itself, false, false, 1},
		{SIGINT, kClosing, "", 1, true, 0, wine_cannot_cancel, false, false, 2},
		// nor does an inherited mask that holds the alarm back
		{SIGTERM, kClosing, "", 1, true, 0, wine_kills_itself, false, false, 2, true},
	};
	for (const row &w : rows) {
		SCOPED_TRACE(w.message + std::to_string(w.table));
		if (w.skip) {
			printf("skipped, signal %d: %s\n", w.sig, w.skip);
			continue;
		}
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		d.write("sample.imp", "old");
		run_options o;
		o.input = w.table || w.stuck_fd == 1 ? "sample\n" : "";
		o.keep_input_open = true;
		o.signal = w.sig;
		o.signal_after = w.after;
		o.signal_at_once = w.at_once;
		o.ignore_sigint = w.ignored;
		o.stuck_fd = w.stuck_fd;
		o.alarm_blocked = w.alarm_blocked;
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.err, w.message);
		EXPECT_EQ(r.status, w.status);
		EXPECT_EQ(r.killed_by, w.killed_by);
		EXPECT_EQ(d.read("sample.imp"), w.table ? golden_table() : "old");
	}
	// an interrupt sent while the parent held it blocked, pending at start: answered
	if (!target_is_windows()) {   // Wine would take it for itself
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		run_options o = with_input("sample\n0\n");
		o.interrupt_pending = true;
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.out, "");
		EXPECT_EQ(r.err, "Interrupt\n");
		EXPECT_EQ(r.status, 1);
		EXPECT_FALSE(d.exists("sample.imp"));
	}

	// SIGABRT from outside the run's PID namespace (as a container's host
	// sends it: no sender's pid) while the table's write is held: answered
	// after that write, the table never doubled
	if (geteuid() != 0 || target_is_windows() || getenv("KORVEX_LAUNCHER") ||
	    system("unshare --pid --fork true 2>/dev/null && strace -V >/dev/null 2>&1") != 0) {
		printf("skipped, SIGABRT from outside a PID namespace: needs root, unshare, strace and a native build\n");
		return;
	}
	temp_dir d;
	d.write("sample.dat", kSampleDat);
	run_options o = with_input("sample\n");
	o.keep_input_open = true;
	o.wrapper = {"unshare", "--pid", "--fork", "strace", "-qq", "-o", "/dev/null", "-e", "trace=write",
	             "-e", "inject=write:delay_exit=1500000:when=3"};
	o.signal = SIGABRT;
	o.signal_after = kGreeting;
	o.signal_innermost = true;
	run_result r = run_korvex(d, o);
	EXPECT_EQ(r.err, "IOT Trap\n" + abnormal);
	EXPECT_EQ(r.status, 3);
	std::string table = d.read("sample.imp");
	EXPECT_EQ(table, golden_table().substr(0, table.size()));
}

// Standard input set not to block (as some job runners hand it over), the
// answer coming later: the program waits for it, at the prompt and at the
// closing pause.
TEST(Run, NonBlockingInputWaits)
{
	struct row { const char *input; std::string after; const char *late; bool terminal = false; } rows[] = {
		{"", kGreeting, "sample\n0\n"},
		{"sample\n", kClosing, "0\n"},
		{"", kGreeting, "sample\n0\n", true},   // a terminal: waited for, never spun on
	};
	for (const row &w : rows) {
		SCOPED_TRACE(w.late);
		if (w.terminal && (target_is_windows() || getenv("KORVEX_LAUNCHER"))) {
			printf("skipped, a terminal as standard input: a native POSIX build only\n");
			continue;
		}
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		run_options o = with_input(w.input);
		o.nonblocking_input = true;
		o.terminal_input = w.terminal;
		o.signal_after = w.after;
		o.late_input = w.late;
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.out, kGreeting + kClosing);
		EXPECT_EQ(r.err, "");
		EXPECT_EQ(r.status, 0);
		EXPECT_EQ(d.read("sample.imp"), golden_table());
		EXPECT_LT(r.cpu_ms, 100) << "the wait of 200 ms spun";
	}
}

// A table that cannot be written is never reported as success.
TEST(Run, TableLargerThanTheFileSizeLimit)
{
	if (target_is_windows())
		GTEST_SKIP() << "a file-size limit on Wine's process ends the Wine server";
	temp_dir d;
	d.write("sample.dat", kSampleDat);
	run_options o = with_input("sample\n0\n");
	o.file_size_limit = 1024;
	run_result r = run_korvex(d, o);
	// the table is written out before the closing lines, and fails there:
	// they never appear
	EXPECT_EQ(r.out, kGreeting);
	EXPECT_EQ(r.err, diagnostic("write sfe: File too large", 13, "sample.imp", "", false));
	EXPECT_EQ(r.status, 3);
	EXPECT_EQ(d.read("sample.imp"), golden_table().substr(0, 1024));
}

// Console trouble never reaches the files.
TEST(Run, ClosedOrFullConsole)
{
	// closed output descriptors (korvex >&- 2>&-): the files never take their
	// numbers, and the diagnostic at the end goes nowhere near the table
	for (std::vector<int> fds : {std::vector<int>{1}, {2}, {1, 2}}) {
		SCOPED_TRACE(fds.size());
		if (fds.size() == 2 && target_is_windows()) {
			printf("skipped, standard output and error both closed: Wine's own descriptors take their numbers\n");
			continue;
		}
		temp_dir d;
		d.write("sample.dat", kSampleDat);
		run_options o = with_input("sample\n");
		o.close_fds = fds;
		run_result r = run_korvex(d, o);
		EXPECT_EQ(r.status, 3);
		EXPECT_EQ(d.read("sample.dat"), kSampleDat);
		EXPECT_EQ(d.read("sample.imp"), golden_table());
	}

	temp_dir d;
	d.write("sample.dat", kSampleDat);
	run_options o = with_input("sample\n0\n");
	o.close_fds = {0};
	run_result r;
	if (target_is_windows()) {
		printf("skipped, closed standard input: Wine gives it a handle that cannot be read\n");
	} else {
		r = run_korvex(d, o);
		EXPECT_EQ(r.err, diagnostic("fmt: end of file", 5, "", "(a20)", true));
		EXPECT_EQ(r.status, 3);
	}

	// a diagnostic that cannot be written still ends with the failure status
	run_options no_room = with_input("");
	no_room.stderr_path = "/dev/full";
	r = run_korvex(d, no_room);
	EXPECT_EQ(r.status, 3);

	run_options gone = with_input("sample\n0\n");
	gone.stdout_reader_gone = true;
	r = run_korvex(d, gone);
	EXPECT_EQ(r.killed_by, 0);
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(d.read("sample.imp"), golden_table());

	run_options full = with_input("sample\n0\n");
	full.stdout_path = "/dev/full";
	r = run_korvex(d, full);
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(d.read("sample.imp"), golden_table());

	// standard output or error set not to block by another program, full
	// when written and read a second later: every byte arrives
	for (int fd : {1, 2}) {
		if (target_is_windows())
			break;
		temp_dir e;
		e.write("sample.dat", kSampleDat);
		run_options late = with_input(fd == 1 ? "sample\n0\n" : "sample\nyes\n");
		late.late_fd = fd;
		r = run_korvex(e, late);
		EXPECT_EQ(r.out, kGreeting + kClosing);
		EXPECT_EQ(r.err, fd == 1 ? "" : diagnostic("invalid number: incomprehensible list input", 5, "", "list io", true));
		EXPECT_EQ(r.status, fd == 1 ? 0 : 3);
	}

	// tight descriptor limits: 3 leaves none for the parameter file (nor for
	// a dynamic loader's libraries), 5 both files
	const char *chosen = getenv("KORVEX_BINARY");
	bool dynamic = slurp(chosen && *chosen ? chosen : KORVEX_BINARY).find("/ld-linux") != std::string::npos;
	for (long limit : {3L, 5L, 12L}) {
		if (target_is_windows() || getenv("KORVEX_LAUNCHER") || (limit == 3 && dynamic))
			continue;
		temp_dir e;
		e.write("sample.dat", kSampleDat);
		run_options tight = with_input("sample\n0\n");
		tight.open_files_limit = limit;
		r = run_korvex(e, tight);
		EXPECT_EQ(r.err, limit == 3 ? diagnostic("open: " + std::string(strerror(EMFILE)), 11, "sample.dat", "", true) : "");
		EXPECT_EQ(r.status, limit == 3 ? 3 : 0);
		EXPECT_EQ(e.exists("sample.imp") ? e.read("sample.imp") : "none", limit == 3 ? "none" : golden_table());
		// a batch keeps fewer tables open for their syncs, and makes them all
		tight.args = {"--batch"};
		std::string listing;
		for (int i = 0; i < 40; i++) {
			e.write("t" + std::to_string(i) + ".dat", kSampleDat);
			tight.args.push_back("t" + std::to_string(i));
			listing += "t" + std::to_string(i) + ".imp\n";
		}
		r = run_korvex(e, tight);
		EXPECT_EQ(r.out, limit == 3 ? "" : listing);
		EXPECT_EQ(r.status, limit == 3 ? 3 : 0);
		EXPECT_EQ(e.exists("t39.imp") ? e.read("t39.imp") : "none", limit == 3 ? "none" : golden_table());
		tight.args[0] = "--check";   // and checks them with fewer read ahead
		r = run_korvex(e, tight);
		EXPECT_EQ(r.status, limit == 3 ? 3 : 0);
		EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), limit == 3 ? 0 : 40);
	}

	// Windows: started by a program with no console of its own, the answers
	// in a pipe, no output or error handle (tests/start_without_console);
	// with no input handle at all the run ends as for an empty input
	if (!target_is_windows())
		return;
	const char *starter = getenv("KORVEX_START_WITHOUT_CONSOLE");
	const char *program = getenv("KORVEX_BINARY");
	const char *launcher = getenv("KORVEX_LAUNCHER");
	ASSERT_TRUE(starter && program && launcher) << "tests/cross_suite names the starter, the program and Wine";
	struct { const char *how, *name; int status; } starts[] = {
		{"plain", "sample", 0}, {"detached", "sample", 0}, {"detached", nullptr, 3},
	};
	for (const auto &w : starts) {
		SCOPED_TRACE(std::string(w.how) + (w.name ? " with input" : " without input"));
		temp_dir e;
		e.write("sample.dat", kSampleDat);
		run_options o;
		o.wrapper = {launcher};
		o.program = starter;
		o.args = {std::string("Z:") + program, w.how};
		if (w.name)
			o.args.push_back(w.name);
		r = run_korvex(e, o);
		EXPECT_EQ(r.status, w.status) << r.out << r.err;
		EXPECT_EQ(e.exists("sample.imp") ? e.read("sample.imp") : "none", w.name ? golden_table() : "none");
	}
}

} // namespace
