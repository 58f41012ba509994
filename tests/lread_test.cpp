// The list-directed reader: one row per input text -> the seven REAL values
// (compared by bit pattern) or the failure, read whole and byte by byte.
#include "tests/support.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <string.h>

#include <limits>
#include <string>
#include <vector>

namespace {

uint32_t bits(float f)
{
	uint32_t u;
	memcpy(&u, &f, sizeof u);
	return u;
}

const double inf = std::numeric_limits<double>::infinity();

struct row {
	const char *text;
	std::vector<double> want;   // seven values, rounded to REAL for the comparison
};

const row good_rows[] = {
	// separators
	{"1 2 3 4 5 6 7\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1\n2\n3\n4\n5\n6\n7\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1,2,3,4,5,6,7\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1 , 2\t,\t3,4 ,5, 6 ,7\n", {1, 2, 3, 4, 5, 6, 7}},
	{"\n\n  1 2\n\n\t\n3 4 5 6 7\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1\t2\t3\t4\t5\t6\t7\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1\r\n2\r\n\r\n3 4 5 6 7\r\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1 2 3 4 5 6 7\r", {1, 2, 3, 4, 5, 6, 7}},
	// the seventh value at the very end of the data
	{"1 2 3 4 5 6 7", {1, 2, 3, 4, 5, 6, 7}},
	{"1 2 3 4 5 6 7 \t ", {1, 2, 3, 4, 5, 6, 7}},
	{"1 2 3 4 5 6 7\x1a", {1, 2, 3, 4, 5, 6, 7}},
	// nothing after the seventh value is interpreted
	{"1 2 3 4 5 6 7 not numbers\nnor this\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1 2 3 4 5 6 7x", {1, 2, 3, 4, 5, 6, 7}},
	{"1 2 3 4 5 6 4O\n", {1, 2, 3, 4, 5, 6, 4}},
	{"1 2 3 4 5 6 1.5q2\n", {1, 2, 3, 4, 5, 6, 1.5}},
	{"1 2 3 4 5 6 7\r8 9\r", {1, 2, 3, 4, 5, 6, 7}},
	// a decimal comma separates two values
	{"250,5 1 2 3 4 5 6\n", {250, 5, 1, 2, 3, 4, 5}},
	{"1 2 3 4 5 6 7\x1a garbage", {1, 2, 3, 4, 5, 6, 7}},
	// value forms
	{"1.5D2 1.5E2 1.5e+2 1.5+2 1.5d+02 15e1 1500e-1\n", {150, 150, 150, 150, 150, 150, 150}},
	{"1.5-3 2+3 .5 5. -.5 +5 -0\n", {0.0015, 2000, 0.5, 5, -0.5, 5, -0.0}},
	{"1e99999999 1e-99999999 -1e40 1e-46 3.4028235e38 0.1 16777217\n",
	 {inf, 0, -inf, 0, 3.4028235e38, 0.1, 16777217}},
	{"e5 D-3 2 3 4 5 6\n", {0, 0, 2, 3, 4, 5, 6}},
	{"1.5.25 3 4 5 6 7\n", {1.5, .25, 3, 4, 5, 6, 7}},
	// null values
	{",2,3,4,5,6,7\n", {0, 2, 3, 4, 5, 6, 7}},
	{"1,,3,4,5,6,7\n", {1, 0, 3, 4, 5, 6, 7}},
	{"1\n,3 4 5 6 7 8\n", {1, 0, 3, 4, 5, 6, 7}},
	{"1 ,\n,3 4 5 6 7\n", {1, 0, 3, 4, 5, 6, 7}},
	{"1 -, 3 4 5 6 7\n", {1, 0, 3, 4, 5, 6, 7}},
	{"1 ., 3 4 5 6 7\n", {1, 0, 3, 4, 5, 6, 7}},
	{"1 2 3/ 4 5 6 7\n", {1, 2, 3, 0, 0, 0, 0}},
	{"1 2 3 +/ 4\n", {1, 2, 3, 0, 0, 0, 0}},
	{"/\n", {0, 0, 0, 0, 0, 0, 0}},
	// repeat counts
	{"3*1.0 4 5 6 7\n", {1, 1, 1, 4, 5, 6, 7}},
	{"3*1.5,,2.0 4 5 6\n", {1.5, 1.5, 1.5, 2, 4, 5, 6}},
	{"3*1.5 ,2.0,3 4 5\n", {1.5, 1.5, 1.5, 2, 3, 4, 5}},
	{"2*,3 4 5 6 7\n", {0, 0, 3, 4, 5, 6, 7}},
	{"1 2 3 4 2*/\n", {1, 2, 3, 4, 0, 0, 0}},
	{"7*2.5\n", {2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5}},
	{"10*1", {1, 1, 1, 1, 1, 1, 1}},
	{"1 2 3 4 2*-5e-1 6\n", {1, 2, 3, 4, -.5, -.5, 6}},
	{"0000000000000000000000000000000000000007*3\n", {3, 3, 3, 3, 3, 3, 3}},
	{"2*-, 3 4 5 6 7 8\n", {0, 0, 3, 4, 5, 6, 7}},
	// a star after a decimal point ends the value; nothing after the seventh is read
	{"1 2 3 4 5 6 7.5*", {1, 2, 3, 4, 5, 6, 7.5}},
	{"1 2 3 4 5 6 7.*2\n", {1, 2, 3, 4, 5, 6, 7}},
	{"1 2 3 4 5 6 3*7.5*\n", {1, 2, 3, 4, 5, 6, 7.5}},
};

TEST(ListRead, Values)
{
	for (const row &r : good_rows) {
		for (size_t chunk : {0, 1}) {
			SCOPED_TRACE(testing::Message() << '"' << r.text << "\" chunk " << chunk);
			seven_values o = read_seven(r.text, chunk);
			ASSERT_EQ(o.status, LREAD_OK);
			for (int i = 0; i < 7; i++)
				EXPECT_EQ(bits((float)o.values[i]), bits((float)r.want[i])) << "item " << i + 1;
		}
	}
}

struct failure_row {
	const char *text;
	lread_status status;
};

const failure_row failure_rows[] = {
	{"", LREAD_END},
	{"  \n\n\t\n", LREAD_END},
	{"1 2 3 4 5 6\n", LREAD_END},
	{"1 2 3 4 5 6", LREAD_END},
	{"1 2 3\x1a 4 5 6 7\n", LREAD_END},
	{"1 2 3 4 5 6\r7\n", LREAD_INVALID},
	{"x", LREAD_INVALID},
	{"yes", LREAD_INVALID},
	{"+ 1", LREAD_INVALID},
	{"-\n1", LREAD_INVALID},
	{"+x", LREAD_INVALID},
	{".e5", LREAD_INVALID},
	{"-e5", LREAD_INVALID},
	{"1.5x 2 3 4 5 6 7", LREAD_INVALID},
	{"1 2 3 4 5 4O 7", LREAD_INVALID},
	{"1 2 3\r4 5 6 7\r", LREAD_INVALID},
	{"2* 3", LREAD_INVALID},
	{"2*\n3", LREAD_INVALID},
	{"2*", LREAD_INVALID},
	{"2*x", LREAD_INVALID},
	{"1e", LREAD_EXPONENT},
	{"done", LREAD_EXPONENT},
	{"1e+x", LREAD_EXPONENT},
	{"1.5-", LREAD_EXPONENT},
	{"1.5d 2", LREAD_EXPONENT},
	{"1e100000000", LREAD_EXPONENT},
	{"1e-0000000000100000000", LREAD_EXPONENT},
	{"0*5", LREAD_REPEAT},
	{"-2*5", LREAD_REPEAT},
	{"1.5*2", LREAD_REPEAT},
	{"00000000000000000000000000000000000000002*5", LREAD_REPEAT},
	{"*2", LREAD_REPEAT},
	{"1 2 +*3", LREAD_REPEAT},
	{"1.5* 2", LREAD_REPEAT},
	{".*3", LREAD_INVALID},
	{"+.*3", LREAD_INVALID},
	{"1 -.*3", LREAD_INVALID},
};

TEST(ListRead, Failures)
{
	for (const failure_row &r : failure_rows) {
		for (size_t chunk : {0, 1}) {
			SCOPED_TRACE(testing::Message() << '"' << r.text << "\" chunk " << chunk);
			EXPECT_EQ(read_seven(r.text, chunk).status, r.status);
		}
	}
}

TEST(ListRead, ReadErrorIsReportedWithItsErrno)
{
	EXPECT_EQ(read_seven("1 2 3", 0, EIO).status, LREAD_IOERR);
	EXPECT_EQ(read_seven("1 2 ", 0, EIO).status, LREAD_IOERR);
	EXPECT_EQ(read_seven("1 2 -", 0, EIO).status, LREAD_IOERR);
	EXPECT_EQ(read_seven("1 2 x", 0, EIO).status, LREAD_INVALID);   // the error comes after the fault
	// the error cuts the digits short: the seventh value may not be complete
	EXPECT_EQ(read_seven("1 2 3 4 5 6 7", 0, EIO).status, LREAD_IOERR);
	EXPECT_EQ(read_seven("1 2 3 4 5 6 7\n", 0, EIO).status, LREAD_OK);
}

// Decimal to double keeps at most 40 significant digits; leading zeros and
// integer digits beyond the 40th still scale the value.
TEST(ListRead, FortySignificantDigits)
{
	struct { const char *text; double want; } rows[] = {
		// above the midpoint between 1 and its successor only in the 55th digit
		{"1.00000000000000011102230246251565404236316680908203126", 1.0},
		{"1.000000000000000111022302462515654042364", 1.0000000000000002},
		{"1000000000000000000000000000000000000000000000", 1e45},
		{"0.00000000000000000000000000000000000000000000000001", 1e-50},
		{"-12345678901234567890123456789012345678901234567890e-10", -1234567890123456789012345678901234567890.0},
	};
	for (auto &r : rows) {
		SCOPED_TRACE(r.text);
		seven_values o = read_seven(std::string(r.text) + " 1 2 3 4 5 6", 0);
		ASSERT_EQ(o.status, LREAD_OK);
		EXPECT_EQ(o.values[0], r.want);
	}
}

// The digits of a huge value are counted, never stored.
TEST(ListRead, LongDigitStringsUseConstantMemory)
{
	std::string text = "0." + std::string(1 << 20, '0') + "5" + std::string(1 << 20, '7') + " 1 2 3 4 5 6";
	seven_values o = read_seven(text, 0);
	ASSERT_EQ(o.status, LREAD_OK);
	EXPECT_EQ(o.values[0], 0.0);   // 5.77...e-1048577 underflows
	EXPECT_EQ(o.values[6], 6.0);
}

} // namespace
