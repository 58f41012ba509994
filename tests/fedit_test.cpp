// F editing: one row per value and field -> the exact field text.
#include "runtime/fedit.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::string edit(double x, int w, int d)
{
	char out[256];
	f_edit(out, w, d, x);
	return std::string(out, (size_t)w);
}

const double inf = std::numeric_limits<double>::infinity();
const double nan_value = std::numeric_limits<double>::quiet_NaN();

struct row {
	double x;
	int w, d;
	const char *want;
};

const row rows[] = {
	// exact halves go away from zero, whatever the C library does with ties
	{2.125f, 8, 2, "    2.13"},
	{2.625f, 8, 2, "    2.63"},
	{5.125f, 8, 2, "    5.13"},
	{0.375, 8, 2, "     .38"},
	{-0.375, 8, 2, "    -.38"},
	{-593.625f, 8, 2, " -593.63"},
	{2.5, 5, 0, "   3."},
	{-2.5, 5, 0, "  -3."},
	// just below a half: the exact binary value decides
	{2.675f, 8, 2, "    2.67"},
	{9.995f, 8, 2, "    9.99"},
	{1.005, 8, 2, "    1.00"},
	{0.995, 8, 2, "     .99"},
	{0.995f, 8, 2, "    1.00"},
	// below one, zero and the sign
	{0.5, 8, 2, "     .50"},
	{-0.5, 8, 2, "    -.50"},
	{0.0, 8, 2, "     .00"},
	{-0.0, 8, 2, "     .00"},
	{-0.004, 8, 2, "     .00"},
	{-0.005f, 8, 2, "     .00"},
	{-0.005, 8, 2, "    -.01"},
	{0.4, 5, 0, "   0."},
	{-0.4, 5, 0, "   0."},
	{1.4e-45f, 8, 2, "     .00"},
	{-1.4e-45f, 8, 2, "     .00"},
	{4.9e-324, 8, 2, "     .00"},
	// the width
	{99999.99f, 8, 2, "99999.99"},
	{99999.99, 8, 2, "99999.99"},
	{99999.996, 8, 2, "********"},
	{100000.0, 8, 2, "********"},
	{123456.0f, 8, 2, "********"},
	{-9999.99, 8, 2, "-9999.99"},
	{-9999.994, 8, 2, "-9999.99"},
	{-9999.996, 8, 2, "********"},
	{-3051.7578f, 8, 2, "-3051.76"},
	{160.0f, 8, 2, "  160.00"},
	{5.0, 1, 0, "*"},
	// the widest field, and values from 2^52 up, which none holds
	{123456789012345.0, 16, 0, "123456789012345."},
	{-12345678901.234, 16, 3, "-12345678901.234"},
	{999999999999.9995, 16, 3, "****************"},
	{4503599627370495.5, 16, 0, "****************"},
	{1e16, 16, 3, "****************"},
	{3.4028234663852886e38, 8, 2, "********"},
	// carries that run through every digit
	{9.996, 8, 2, "   10.00"},
	{99.999, 8, 2, "  100.00"},
	{0.9999, 8, 3, "   1.000"},
	{0.996, 8, 2, "    1.00"},
	{9.5, 4, 0, " 10."},
	{999999.9999999, 16, 3, "     1000000.000"},
	// infinities and not-a-number
	{inf, 8, 2, "Infinity"},
	{-inf, 8, 2, "    -Inf"},
	{-inf, 9, 2, "-Infinity"},
	{inf, 3, 1, "Inf"},
	{inf, 2, 1, "**"},
	{-inf, 4, 1, "-Inf"},
	{-inf, 3, 1, "***"},
	{nan_value, 8, 2, "     NaN"},
	{nan_value, 2, 1, "**"},
};

TEST(FEdit, Fields)
{
	for (const row &r : rows)
		EXPECT_EQ(edit(r.x, r.w, r.d), r.want) << "value " << r.x << " F" << r.w << "." << r.d;
}

} // namespace
