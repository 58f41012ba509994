// Windows: the console control handler runs on a thread of its own. Called
// while the main thread keeps writing records, it must end the run with
// "Interrupt" and status 1, every byte written once and in order. And the
// removal of an old table that another program holds open.
#include "runtime/f2c.h"
#include "runtime/end.h"
#include "runtime/events.h"
#include "tests/support.h"

#include <windows.h>
#include <io.h>

#include <gtest/gtest.h>

#include <thread>

BOOL WINAPI sys_console_event(DWORD type);   // the platform's handler, as the system calls it

namespace {

char fmt_f82[] = "(f8.2)";
const std::string kRecord = "    1.00\r\n";

// The end of the run under way on the main thread (STOP has begun) when
// the event comes: the handler records it and waits, and the run ends as
// it was ending, with status 0 and nothing said.
[[noreturn]] void stop_while_interrupted(const std::string &path)
{
	events_start(end_on_event);
	connect(31, path, "new");
	float x = 1.f;
	integer one = 1;
	cilist ci = {0, 31, 0, fmt_f82, 0};
	s_wsfe(&ci);
	do_fio(&one, (char *)&x, (ftnlen)sizeof x);
	e_wsfe();
	events_ending();
	std::thread([] {
		sys_console_event(CTRL_C_EVENT);
		_exit(9);   // the handler came back
	}).detach();
	Sleep(300);
	end_run(0);
}

// Writes records to path until the event, sent from another thread after a
// while (by calling the handler, or for real through the console), ends it.
[[noreturn]] void write_until_interrupted(const std::string &path, bool real_event)
{
	events_start(end_on_event);
	connect(31, path, "new");
	std::thread([real_event] {
		Sleep(50);
		if (real_event)
			GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
		else
			sys_console_event(CTRL_C_EVENT);
		Sleep(5000);
		_exit(9);   // the handler did not end the run
	}).detach();
	float x = 1.f;
	integer one = 1;
	cilist ci = {0, 31, 0, fmt_f82, 0};
	for (;;) {
		s_wsfe(&ci);
		do_fio(&one, (char *)&x, (ftnlen)sizeof x);
		e_wsfe();
	}
}

BOOL WINAPI keep_running(DWORD) { return TRUE; }

// Whole records, and at most the start of one more at the end.
void expect_records(const std::string &table)
{
	ASSERT_GT(table.size(), 4096u);
	for (size_t at = 0; at < table.size(); at += kRecord.size())
		ASSERT_EQ(table.compare(at, kRecord.size(), kRecord, 0, table.size() - at), 0) << "at byte " << at;
}

// (The death test reads the child's standard error in text mode, so the
// CR of the line end may be gone by then.)
TEST(ConsoleEventDeathTest, HandlerOnAnotherThreadWhileWriting)
{
	std::string path = temp_directory() + "/event-direct";
	unlink(path.c_str());
	EXPECT_EXIT(write_until_interrupted(path, false), testing::ExitedWithCode(1), "^Interrupt\r?\n$");
	expect_records(slurp(path));
	unlink(path.c_str());
}

TEST(ConsoleEventDeathTest, HandlerWhileTheRunEnds)
{
	std::string path = temp_directory() + "/event-end";
	unlink(path.c_str());
	EXPECT_EXIT(stop_while_interrupted(path), testing::ExitedWithCode(0), "^$");
	EXPECT_EQ(slurp(path), kRecord);
	unlink(path.c_str());
}

TEST(ConsoleEventDeathTest, RealCtrlC)
{
	DWORD mode;
	if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode))
		GTEST_SKIP() << "no console to send Ctrl-C in (standard input is not one)";
	std::string path = temp_directory() + "/event-real";
	unlink(path.c_str());
	// the event reaches every process on the console, this one too
	SetConsoleCtrlHandler(keep_running, TRUE);
	EXPECT_EXIT(write_until_interrupted(path, true), testing::ExitedWithCode(1), "^Interrupt\r?\n$");
	SetConsoleCtrlHandler(keep_running, FALSE);
	expect_records(slurp(path));
	unlink(path.c_str());
}

// An old table another program holds open. Where it allows deletion (a
// viewer, an indexer, KORVEX's own read in a check) the table is removed
// and its name is free at once, nothing of it left once the holder closes
// it; where it does not, the table is kept whole.
TEST(WindowsFiles, OldTableHeldOpen)
{
	struct row { DWORD share; bool removed; } rows[] = {
		{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
		{FILE_SHARE_READ | FILE_SHARE_WRITE, false},
		{0, true},   // held by sys_open_read
	};
	for (const row &r : rows) {
		std::string path = temp_name();
		FILE *f = fopen(path.c_str(), "wb");
		fputs("old", f);
		fclose(f);
		int held = r.share ? -1 : sys_open_read(path.c_str(), nullptr);
		HANDLE holder = r.share ? CreateFileA(path.c_str(), GENERIC_READ, r.share, nullptr, OPEN_EXISTING, 0, nullptr)
		                        : (HANDLE)_get_osfhandle(held);
		ASSERT_NE(holder, INVALID_HANDLE_VALUE);
		connect(34, path, "old");
		cllist c = {0, 34, (char *)"delete"};
		f_clos(&c);
		int fd = sys_create(path.c_str());   // the name is free
		EXPECT_EQ(fd >= 0 && sys_close(fd) == 0, r.removed) << r.share;
		if (held < 0)
			CloseHandle(holder);
		else
			sys_close(held);
		EXPECT_EQ(slurp(path), r.removed ? "" : "old");
		WIN32_FIND_DATAA found;   // nothing left beside it under a longer name
		EXPECT_EQ(FindFirstFileA((path + "?*").c_str(), &found), INVALID_HANDLE_VALUE) << found.cFileName;
		unlink(path.c_str());
	}
}

} // namespace
