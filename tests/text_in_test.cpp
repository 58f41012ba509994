// The text-mode input stream: raw bytes -> the characters a reader sees.
#include "tests/support.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Every character up to and including the first end, written out:
// line ends as '|', the end of data as '$', a read error as '!'.
std::string characters(const std::string &raw, size_t chunk, int fail_errno = 0)
{
	static memory_source m;
	static text_in t;
	open_memory(&t, &m, raw.data(), raw.size(), chunk, fail_errno);
	std::string seen;
	for (size_t guard = 0; guard <= raw.size() + 1; guard++) {
		int c = text_getc(&t);
		if (c == TEXT_EOF || c == TEXT_ERROR) {
			seen += c == TEXT_EOF ? '$' : '!';
			// the end is sticky
			seen += text_getc(&t) == c ? "" : "?";
			break;
		}
		seen += c == '\n' ? '|' : (char)c;
	}
	return seen;
}

TEST(TextIn, Characters)
{
	struct { std::string raw, want; } rows[] = {
		{"", "$"},
		{"ab\ncd\n", "ab|cd|$"},
		{"ab\r\ncd\r\n", "ab|cd|$"},
		{"a\rb", "a\rb$"},
		{"a\r", "a\r$"},
		{"\r\r\n", "\r|$"},
		{"\n\r\n\n", "|||$"},
		{"ab\x1a" "cd\n", "ab$"},
		{"\x1a", "$"},
		{std::string("a\0b", 3), std::string("a\0b$", 4)},
		{"\xff\x80", "\xff\x80$"},
	};
	for (auto &r : rows) {
		for (size_t chunk : {0, 1, 2}) {
			EXPECT_EQ(characters(r.raw, chunk), r.want) << "chunk " << chunk;
		}
	}
}

TEST(TextIn, ReadErrorIsStickyAndKeepsErrno)
{
	EXPECT_EQ(characters("ab", 0, EIO), "ab!");
	memory_source m;
	text_in t;
	open_memory(&t, &m, "", 0, 0, EIO);
	EXPECT_EQ(text_getc(&t), TEXT_ERROR);
	EXPECT_EQ(t.error, EIO);
}

TEST(TextIn, HandBack)
{
	memory_source m;
	text_in t;
	open_memory(&t, &m, "x\r\ny", 4, 1);
	EXPECT_EQ(text_getc(&t), 'x');
	int c = text_getc(&t);
	EXPECT_EQ(c, '\n');
	text_ungetc(&t, c);
	EXPECT_EQ(text_getc(&t), '\n');
	EXPECT_EQ(text_getc(&t), 'y');
	text_ungetc(&t, TEXT_EOF);   // ignored: the end comes again by itself
	EXPECT_EQ(text_getc(&t), TEXT_EOF);
}

// Long input crosses the 4096-byte buffer, with a CR LF split across it.
TEST(TextIn, LineEndAcrossTheBuffer)
{
	std::string raw(TEXT_BUF - 1, 'a');
	raw += "\r\nb";
	std::string want(TEXT_BUF - 1, 'a');
	want += "|b$";
	EXPECT_EQ(characters(raw, 0).size(), want.size());
	EXPECT_EQ(characters(raw, 0), want);
}

} // namespace
