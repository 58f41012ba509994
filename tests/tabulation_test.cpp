// The tabulated curve: records as the program writes them. These records
// pin down every rounding: keeping reduced or the running sum in double,
// summing by Horner's rule, or computing in single precision throughout
// each changes at least one of them.
#include "runtime/f2c.h"
#include "runtime/fedit.h"
#include "tabulation/tabulation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The 80 records of one table, keyed by 2-theta, without line ends.
std::map<int, std::string> tabulate(std::vector<real> coef, real origin)
{
	real theta_step = 2.f, two_theta = 0.f, reduced = 0.f, curve[80] = {};
	std::map<int, std::string> records;
	for (integer i = 1; i <= 80; i++) {
		compute_point(i, coef.data(), &origin, &theta_step, &two_theta, &reduced, curve);
		char field[16];
		f_edit(field, 8, 2, two_theta);
		f_edit(field + 8, 8, 2, curve[i - 1]);
		records[(int)two_theta] = std::string(field, 16);
	}
	return records;
}

struct table_row {
	std::vector<real> coef;
	real origin;
	std::vector<std::pair<int, const char *>> records;
};

const table_row rows[] = {
	{{100, 0, 0, 0, 0, 0}, 80, {{2, "    2.00  100.00"}, {80, "   80.00  100.00"}, {160, "  160.00  100.00"}}},
	{{10, 5, 0, 0, 0, 0}, 80,
	 {{2, "    2.00    5.13"}, {4, "    4.00    5.25"}, {6, "    6.00    5.38"},
	  {158, "  158.00   14.88"}, {160, "  160.00   15.00"}}},
	{{250.5f, -120.25f, 30, -4.5f, 1.25f, -0.5f}, 40,
	 {{2, "    2.00  397.08"}, {4, "    4.00  387.42"}, {6, "    6.00  378.03"}, {40, "   40.00  250.50"},
	  {60, "   60.00  197.38"}, {80, "   80.00  156.50"}, {158, "  158.00   24.27"}, {160, "  160.00   18.00"}}},
	{{0, 0, 0, 0, 0, -1000}, 40,
	 {{38, "   38.00     .00"}, {42, "   42.00     .00"}, {44, "   44.00    -.01"},
	  {90, "   90.00-3051.76"}, {98, "   98.00-6409.74"}, {104, "  104.00********"}}},
	{{0, 1, 0, 0, 0, 0}, 80,
	 {{2, "    2.00    -.98"}, {14, "   14.00    -.82"}, {80, "   80.00     .00"}, {160, "  160.00    1.00"}}},
	{{-437, 47.604f, 28.864f, 11.089f, 0.856f, -0.6f}, 90, {{54, "   54.00 -452.11"}}},
	{{334, 164.01f, 63.6326f, 12.6019f, -0.7937f, -1.5f}, 71.05f, {{130, "  130.00  520.11"}}},
	{{-485.74f, -28, -66.482f, 14.82f, 0.99f, -1.8f}, 47, {{104, "  104.00 -593.63"}}},
	// a running sum kept in double would give 8059.94 and 759.14
	{{-41.92f, -49.166f, -56.424f, -0.522f, 76.474f, 75.587f}, 17.06f, {{58, "   58.00 8059.95"}}},
	{{51.479f, -24.491f, -34.626f, 85.674f, -93.162f, 30.734f}, 16.44f, {{60, "   60.00  759.13"}}},
	{{123456, 0, 0, 0, 0, 0}, 80, {{2, "    2.00********"}, {160, "  160.00********"}}},
	// an origin of zero makes u infinite; a zero coefficient times it is not a number
	{{1, 1, 1, 1, 1, 1}, 0, {{2, "    2.00Infinity"}}},
	{{1, -1, -1, -1, -1, -1}, 0, {{2, "    2.00    -Inf"}}},
	{{1, 1, 0, 0, 0, 0}, 0, {{2, "    2.00     NaN"}}},
	// a sum beyond the single-precision range
	{{3e38f, 3e38f, 0, 0, 0, 0}, 4, {{2, "    2.00********"}, {8, "    8.00Infinity"}}},
};

TEST(Tabulation, Records)
{
	for (const table_row &r : rows) {
		std::map<int, std::string> got = tabulate(r.coef, r.origin);
		ASSERT_EQ(got.size(), 80u);
		EXPECT_EQ(got.begin()->first, 2);
		EXPECT_EQ(got.rbegin()->first, 160);
		for (auto &[theta, want] : r.records)
			EXPECT_EQ(got[theta], want) << "coefficients " << r.coef[0] << "..., origin " << r.origin;
	}
}

TEST(Tabulation, PowRiByBinaryExponentiation)
{
	struct { real x; integer n; double want; } rows[] = {
		{2.f, 0, 1.0},
		{0.1f, 1, (double)0.1f},
		{0.1f, 2, (double)0.1f * (double)0.1f},
		{0.1f, 3, (double)0.1f * ((double)0.1f * (double)0.1f)},
		{0.1f, 4, ((double)0.1f * (double)0.1f) * ((double)0.1f * (double)0.1f)},
		{0.1f, 5, (double)0.1f * (((double)0.1f * (double)0.1f) * ((double)0.1f * (double)0.1f))},
		{2.f, -2, 0.25},
		{0.f, -1, std::numeric_limits<double>::infinity()},
		{-1.f, (integer)0x80000000, 1.0},
	};
	for (auto &r : rows)
		EXPECT_EQ(pow_ri(&r.x, &r.n), r.want) << r.x << "**" << r.n;
}

} // namespace
