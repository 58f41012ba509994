// Formatted and list-directed statements on a unit connected to a file:
// format text and items -> the exact bytes written; malformed formats ->
// the exact diagnostic.
#include "runtime/f2c.h"
#include "tests/support.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <variant>
#include <vector>

namespace {

using item = std::variant<float, std::string>;

void disconnect(integer unit)
{
	cllist c = {0, unit, (char *)"keep"};
	f_clos(&c);
}

void transfer(std::vector<item> &items)
{
	integer one = 1;
	for (item &it : items) {
		if (auto *f = std::get_if<float>(&it))
			do_fio(&one, (char *)f, (ftnlen)sizeof *f);
		else {
			auto &s = std::get<std::string>(it);
			do_fio(&one, s.data(), (ftnlen)s.size());
		}
	}
}

// The bytes one WRITE statement puts in a new file.
std::string written(const char *format, std::vector<item> items, std::string path = temp_name())
{
	connect(20, path, "new");
	std::string fmt = format;
	cilist ci = {0, 20, 0, fmt.data(), 0};
	s_wsfe(&ci);
	transfer(items);
	e_wsfe();
	disconnect(20);
	std::string bytes = slurp(path);
	unlink(path.c_str());
	return bytes;
}

struct write_row {
	const char *format;
	std::vector<item> items;
	std::string want;
};

TEST(Format, Writes)
{
	const write_row rows[] = {
		{"(2f8.2)", {2.f, 100.f}, "    2.00  100.00\r\n"},
		{"(2F8.2)", {2.f, -0.5f}, "    2.00    -.50\r\n"},
		{"(\002  entry ??\002,$)", {}, "  entry ??"},
		{"('it''s', \" say \"\"x\"\"\")", {}, "it's say \"x\"\r\n"},
		{"(\002a'b\"c\002)", {}, "a'b\"c\r\n"},
		{"('a'/'b'//'c')", {}, "a\r\nb\r\n\r\nc\r\n"},
		{"()", {}, "\r\n"},
		{" ( f4.1 ) ", {1.f}, " 1.0\r\n"},
		{"(f3.0,'x',f3.0,'y')", {1.f}, " 1.x\r\n"},
		{"(f3.0,'x',$,f3.0)", {1.f}, " 1.x"},
		{"(2 f4.1)", {1.f, 2.f}, " 1.0 2.0\r\n"},
	};
	for (const write_row &r : rows)
		EXPECT_EQ(written(r.format, r.items), r.want) << r.format;
}

// A compiled format is reused only for the very same text: its literals
// point into it.
TEST(Format, SameTextInAnotherBuffer)
{
	char first[] = "('ab')", second[] = "('ab')";
	std::string path = temp_name();
	connect(20, path, "new");
	for (char *format : {first, second, first}) {
		cilist ci = {0, 20, 0, format, 0};
		s_wsfe(&ci);
		e_wsfe();
		memcpy(first, "('xy')", sizeof first);   // after its first use
	}
	disconnect(20);
	EXPECT_EQ(slurp(path), "ab\r\nab\r\nxy\r\n");
	unlink(path.c_str());
}

std::string escaped(const std::string &s)
{
	std::string out;
	for (char c : s) {
		if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
			out += '\\';
		out += c;
	}
	return out;
}

TEST(FormatDeathTest, MalformedFormatIsAnErrorNotACrash)
{
	const char *formats[] = {
		"", "(", "2f8.2", "(f8)", "(f8.)", "(f8.2", "(q)", "('abc)", "(0f8.2)",
		"(f0.2)", "(f256.2)", "(f17.2)", "(f8.4)", "(a0)", "(a256)", "(2'x')", "(2/)", "((a))", "(2(a1))", "(10000a)",
	};
	for (size_t i = 0; i < sizeof formats / sizeof *formats; i++) {
		const char *format = formats[i];
		// the same name in a death test's child, which may run the test anew
		std::string path = temp_directory() + "/malformed-" + std::to_string(i);
		unlink(path.c_str());
		std::string want = console_text("startio: error in format\napparent state: unit 20 named " + path +
		                                "\nlast format: " + format +
		                                "\nlately writing sequential formatted external IO\n\nabnormal program termination\n");
		EXPECT_EXIT(written(format, {}, path), testing::ExitedWithCode(3), "^" + escaped(want) + "$") << format;
	}
}

// More operations than a compiled format holds, whichever kind comes last.
TEST(FormatDeathTest, FormatTooLong)
{
	for (std::string item : {"'x'", "a", "/", "$"}) {
		std::string format = "(";
		for (int i = 0; i < 130; i++)
			format += item + ",";
		format.back() = ')';
		EXPECT_EXIT(written(format.c_str(), {}), testing::ExitedWithCode(3), "^" + console_text("startio: error in format\n")) << item;
	}
}

TEST(FormatDeathTest, MoreItemsThanDescriptors)
{
	EXPECT_EXIT(written("('x')", {1.f}), testing::ExitedWithCode(3), "^" + console_text("fmt: error in format\n"));
	EXPECT_EXIT(written("(f5.1)", {1.f, 2.f}), testing::ExitedWithCode(3), "^" + console_text("fmt: error in format\n"));
}

// One formatted READ of a file's first record(s), then what a second
// (a5) read of the same unit sees.
std::pair<std::string, std::string> read_two(const std::string &content, const char *format, ftnlen len)
{
	std::string path = temp_name();
	std::ofstream(path, std::ios::binary) << content;
	connect(21, path, "old");
	std::string fmt = format, second = "(a5)";
	std::string a(len, '#'), b(5, '#');
	integer one = 1;
	cilist ci = {0, 21, 0, fmt.data(), 0};
	s_rsfe(&ci);
	do_fio(&one, a.data(), len);
	e_rsfe_name();
	ci.cifmt = second.data();
	s_rsfe(&ci);
	do_fio(&one, b.data(), 5);
	e_rsfe_name();
	disconnect(21);
	unlink(path.c_str());
	return {a, b};
}

TEST(Format, Reads)
{
	struct { std::string content; const char *format; ftnlen len; std::string first, second; } rows[] = {
		{"ab\nnext\n", "(a5)", 5, "ab   ", "next "},
		{"\tx y \r\nnext\r\n", "(a6)", 6, "\tx y  ", "next "},
		{"a\rb\nnext\n", "(a4)", 4, "a\rb ", "next "},
		{"\nnext\n", "(a20)", 20, std::string(20, ' '), "next "},
	};
	for (auto &r : rows) {
		auto got = read_two(r.content, r.format, r.len);
		EXPECT_EQ(got.first, r.first) << r.format;
		EXPECT_EQ(got.second, r.second) << r.format;
	}
}

TEST(FormatDeathTest, EndOfFileInsideTheField)
{
	EXPECT_EXIT(read_two("abc", "(a5)", 5), testing::ExitedWithCode(3), "^" + console_text("fmt: end of file\n"));
	EXPECT_EXIT(read_two("abc\n", "(a5)", 5), testing::ExitedWithCode(3), "^" + console_text("fmt: end of file\n"));
}

// List-directed output of character items.
TEST(Format, ListWrite)
{
	struct { std::vector<std::string> items; std::string want; } rows[] = {
		{{"warning :", "name.imp  "}, " warning :name.imp  \r\n"},
		{{}, "\r\n"},
	};
	for (auto &r : rows) {
		std::string path = temp_name();
		connect(22, path, "new");
		integer one = 1, type = 9;
		cilist ci = {0, 22, 0, nullptr, 0};
		s_wsle(&ci);
		for (std::string &s : r.items)
			do_lio(&type, &one, s.data(), (ftnlen)s.size());
		e_wsle();
		disconnect(22);
		EXPECT_EQ(slurp(path), r.want);
		unlink(path.c_str());
	}
}

} // namespace
