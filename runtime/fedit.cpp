/*
 * F editing. The rounding is done here, on the exact binary value, so the
 * result never depends on how a C library rounds ties. Two ways produce
 * the same thing, the digits of round(|x| * 10^d), and one layout turns
 * them into the field:
 * - in 64-bit integers, for up to 3 decimals and a value below 2^52: every
 *   value of a table that can fit its F8.2 field, in a few dozen
 *   instructions (a run edits 160 of them);
 * - from the exact decimal expansion, for everything else (a REAL from
 *   2^52 up, which F8.2 fills with asterisks, and wider descriptors).
 */
#include "runtime/fedit.h"
#include "runtime/fedit_ways.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

const char *fedit_digits_64(double mag, int d, char *buf, int *n)
{
	uint64_t bits;
	memcpy(&bits, &mag, sizeof bits);
	int biased = (int)(bits >> 52);
	uint64_t m = bits & ((UINT64_C(1) << 52) - 1);
	int s = 1074;   /* mag is m / 2^s */
	if (biased != 0) {
		m |= UINT64_C(1) << 52;
		s = 1075 - biased;
	}
	if (d > 3 || s <= 0)
		return nullptr;
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
	char *end = buf + FEDIT_FAST_MAX, *q = end;
	do
		*--q = (char)('0' + r % 10);
	while (r /= 10);
	*n = (int)(end - q);
	return q;
}

/* Any value: its exact decimal expansion (every binary fraction has a
 * finite one, at most 1074 decimals), rounded by its first dropped digit. */
const char *fedit_digits_exact(double mag, int d, char *buf, int *n)
{
	static char text[FEDIT_DIGITS_MAX + 16];
	snprintf(text, sizeof text, "%.1080f", mag);
	char *point = strchr(text, '.');
	int ilen = (int)(point - text);
	buf[0] = '0';                              /* room for a carry off the front */
	memcpy(buf + 1, text, (size_t)ilen);
	memcpy(buf + 1 + ilen, point + 1, (size_t)d);
	int len = 1 + ilen + d;
	if (point[1 + d] >= '5') {
		int i = len - 1;
		while (buf[i] == '9')
			buf[i--] = '0';
		buf[i]++;
	}
	int lead = 0;
	while (lead < len - 1 && buf[lead] == '0')
		lead++;
	*n = len - lead;
	return buf + lead;
}

/* text[0..len) right-justified in out[0..w), or w asterisks if it does not fit. */
static void justify(char *out, int w, const char *text, int len)
{
	if (len > w) {
		memset(out, '*', (size_t)w);
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

	static char large[FEDIT_DIGITS_MAX];
	char small[FEDIT_FAST_MAX];
	double mag = fabs(x);
	int n;
	const char *digits = fedit_digits_64(mag, d, small, &n);
	if (!digits)
		digits = fedit_digits_exact(mag, d, large, &n);

	/* digits holds round(|x| * 10^d): n - d of them stand before the
	 * point, none when the value is below 1 (".50", not "0.50"); with
	 * d = 0 a zero keeps its digit ("0."). The field is filled from its end. */
	bool sign = negative && (n > 1 || digits[0] != '0');
	int int_digits = n > d ? n - d : 0;
	if (sign + int_digits + 1 + d > w) {
		memset(out, '*', (size_t)w);
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
