/*
 * F editing. The rounding is done here, on the exact binary value, so the
 * result never depends on how a C library rounds ties. One way, in 64-bit
 * integers, is exact for every value the descriptors the format accepts
 * (w <= 16, d <= 3; the program's is F8.2) can be asked to edit: below
 * 2^52 the digits of round(|x| * 10^d) fit 63 bits; from 2^52 up a value
 * has at least 16 digits before the point, which no such field holds.
 */
#include "runtime/fedit.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

enum { DIGITS_MAX = 20 };   /* below 2^53 * 1000 < 10^19 */

/* The decimal digits of round(mag * 10^d), an exact half rounded up,
 * without leading zeros ("0" for zero), for 0 <= mag < 2^52 and d <= 3;
 * where in buf[0..DIGITS_MAX) they start, their count in *n. */
static const char *digits_of(double mag, int d, char *buf, int *n)
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
	static const uint64_t p10[] = {1, 10, 100, 1000};
	uint64_t p = m * p10[d];   /* below 2^53 * 1000 < 2^63 */
	/* p / 2^s, an exact half rounded up; a shift past the width leaves 0,
	 * and p is then below the half */
	uint64_t r = 0;
	if (s < 64) {
		r = p >> s;
		if ((p & ((UINT64_C(1) << s) - 1)) >= UINT64_C(1) << (s - 1))
			r++;
	}
	char *end = buf + DIGITS_MAX, *q = end;
	do
		*--q = (char)('0' + r % 10);
	while (r /= 10);
	*n = (int)(end - q);
	return q;
}

/* A field too narrow for its value. */
static void stars(char *out, int w)
{
	memset(out, '*', (size_t)w);
}

/* text[0..len) right-justified in out[0..w), or w asterisks if it does not fit. */
static void justify(char *out, int w, const char *text, int len)
{
	if (len > w) {
		stars(out, w);
		return;
	}
	memset(out, ' ', (size_t)(w - len));
	memcpy(out + w - len, text, (size_t)len);
}

void f_edit(char *out, int w, int d, double x)
{
	bool negative = signbit(x) != 0;
	if (isnan(x)) {
		justify(out, w, "NaN", 3);
		return;
	}
	if (isinf(x)) {
		if (w >= 8 + negative)
			justify(out, w, negative ? "-Infinity" : "Infinity", 8 + negative);
		else
			justify(out, w, negative ? "-Inf" : "Inf", 3 + negative);
		return;
	}
	double mag = fabs(x);
	if (mag >= 4503599627370496.0) {   /* 2^52: more digits than any field holds */
		stars(out, w);
		return;
	}
	char buf[DIGITS_MAX];
	int n;
	const char *digits = digits_of(mag, d, buf, &n);

	/* digits holds round(|x| * 10^d): n - d of them stand before the
	 * point, none when the value is below 1 (".50", not "0.50"); with
	 * d = 0 a zero keeps its digit ("0."). The field is filled from its end. */
	bool sign = negative && (n > 1 || digits[0] != '0');
	int int_digits = n > d ? n - d : 0;
	if (sign + int_digits + 1 + d > w) {
		stars(out, w);
		return;
	}
	char *p = out + w;
	const char *q = digits + n;
	for (int k = 0; k < d; k++)
		*--p = q > digits ? *--q : '0';
	*--p = '.';
	while (q > digits)
		*--p = *--q;
	if (sign)
		*--p = '-';
	memset(out, ' ', (size_t)(p - out));
}
