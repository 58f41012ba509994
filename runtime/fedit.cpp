/*
 * F editing. The rounding is done here, on the exact binary value, so the
 * result never depends on how a C library rounds ties. One way, in 64-bit
 * integers, is exact for every value the descriptors the format accepts
 * (w <= 16, d <= 3; the program's is F8.2) can be asked to edit: below
 * 2^52 the digits of round(|x| * 10^d) fit 63 bits; from 2^52 up a value
 * has at least 16 digits before the point, which no such field holds.
 */
#include "runtime/fedit.h"

#include "runtime/digits.h"
#include "runtime/format.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

enum { DIGITS_MAX = 20 };   /* below 2^53 * 1000 < 10^19 */

static const uint64_t p10[] = {1, 10, 100, 1000};

/* round(mag * 10^d), an exact half rounded up; 0 <= mag < 2^52, d <= 3. */
static uint64_t rounded(double mag, int d)
{
	uint64_t bits;
	memcpy(&bits, &mag, sizeof bits);
	int biased = (int)(bits >> 52);
	uint64_t m = bits & ((UINT64_C(1) << 52) - 1);
	int s = 1074;   /* mag is m / 2^s, s > 0 below 2^52 */
	if (biased != 0) {
		m |= UINT64_C(1) << 52;
		s = 1075 - biased;
	}
	uint64_t p = m * p10[d];   /* below 2^53 * 1000 < 2^63 */
	/* p / 2^s, an exact half rounded up; a shift past the width leaves 0,
	 * and p is then below the half */
	if (s >= 64)
		return 0;
	uint64_t r = p >> s;
	return (p & ((UINT64_C(1) << s) - 1)) >= UINT64_C(1) << (s - 1) ? r + 1 : r;
}

void f_edit(char *out, int w, int d, double x)
{
	/* the text is made from its end, over blanks as wide as the widest field */
	char text[DIGITS_MAX + 2];
	char *end = text + sizeof text, *p = end;
	memset(end - FMT_F_MAX_WIDTH, ' ', FMT_F_MAX_WIDTH);
	bool negative = signbit(x) != 0;
	double mag = fabs(x);
	if (isnan(x) || isinf(x)) {
		const char *s = isnan(x) ? "NaN" : w >= 8 + negative ? &"-Infinity"[!negative] : &"-Inf"[!negative];
		size_t n = strlen(s);
		p = (char *)memcpy(end - n, s, n);
	} else if (mag >= 4503599627370496.0) {
		p = text;   /* 2^52: more digits than any field holds */
	} else {
		/* r = round(|x| * 10^d): d decimals, the point, then the digits
		 * before it, none when the value is below 1 (".50", not "0.50";
		 * with d = 0 a zero keeps its digit, "0."); a minus sign only if
		 * a non-zero digit remains. */
		uint64_t r = rounded(mag, d);
		if (d > 0) {
			p = digits_before(end, r % p10[d]);
			while (end - p < d)
				*--p = '0';
		}
		*--p = '.';
		if (r >= p10[d] || d == 0)
			p = digits_before(p, r / p10[d]);
		if (negative && r != 0)
			*--p = '-';
	}
	/* right-justified, or asterisks where it does not fit */
	if (end - p > w)
		memset(out, '*', (size_t)w);
	else
		memcpy(out, end - w, (size_t)w);
}
