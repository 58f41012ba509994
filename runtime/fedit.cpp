/*
 * F editing. The rounding is done here, on the exact binary value, so the
 * result never depends on how a C library rounds ties. Every way of
 * rounding produces the same thing, the digits of round(|x| * 10^d), and
 * one layout turns them into the field.
 */
#include "runtime/fedit.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#ifdef __SIZEOF_INT128__
typedef unsigned __int128 u128;
#else
typedef uint64_t u128;   /* a compiler without 128-bit integers: the 128-bit way declines */
#endif

/* Writes the decimal digits of v so that they end just before end;
 * returns where they start. */
static char *u128_digits(u128 v, char *end)
{
	for (; v > (u128)UINT64_MAX; v /= 10)   /* rare: only with many decimals */
		*--end = (char)('0' + (int)(v % 10));
	uint64_t small = (uint64_t)v;
	do
		*--end = (char)('0' + small % 10);
	while (small /= 10);
	return end;
}

/* The finite, non-negative mag as m * 2^e, m an integer below 2^53. */
static void decompose(double mag, uint64_t *m, int *e)
{
	uint64_t bits;
	memcpy(&bits, &mag, sizeof bits);
	int biased = (int)(bits >> 52);
	*m = bits & ((UINT64_C(1) << 52) - 1);
	*e = -1074;
	if (biased != 0) {
		*m |= UINT64_C(1) << 52;
		*e = biased - 1075;
	}
}

/* The digits of p / 2^s (s >= 0), an exact half rounded up, into buf. A
 * shift past the width leaves 0: the callers keep p below the half then. */
template <typename U>
static const char *shifted_digits(U p, int s, char *buf, int *n)
{
	U r = 0;
	if (s == 0) {
		r = p;
	} else if (s < (int)(8 * sizeof(U))) {
		r = p >> s;
		if ((p & (((U)1 << s) - 1)) >= (U)1 << (s - 1))
			r++;
	}
	char *end = buf + FEDIT_FAST_MAX;
	const char *digits = u128_digits(r, end);
	*n = (int)(end - digits);
	return digits;
}

/* The common case of a run: m * 10^d below 2^63, a fraction of 2^-s. */
const char *fedit_digits_64(double mag, int d, char *buf, int *n)
{
	uint64_t m;
	int e;
	decompose(mag, &m, &e);
	if (d > 3 || e >= 0)
		return nullptr;
	static const uint64_t p10[] = {1, 10, 100, 1000};
	return shifted_digits<uint64_t>(m * p10[d], -e, buf, n);
}

const char *fedit_digits_128(double mag, int d, char *buf, int *n)
{
	uint64_t m;
	int e;
	decompose(mag, &m, &e);
	if (d > 19 || e > 11 || sizeof(u128) < 16)
		return nullptr;
	u128 p = m;
	for (int i = 0; i < d; i++)
		p *= 10;                               /* below 2^53 * 10^19 < 2^117 */
	if (e >= 0)
		return shifted_digits<u128>(p << e, 0, buf, n);   /* below 2^128 */
	return shifted_digits<u128>(p, -e, buf, n);
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
		digits = fedit_digits_128(mag, d, small, &n);
	if (!digits)
		digits = fedit_digits_exact(mag, d, large, &n);

	/* digits holds round(|x| * 10^d): n - d of them stand before the
	 * point, none when the value is below 1 (".50", not "0.50"); with
	 * d = 0 a zero keeps its digit ("0."). The text is built from its end. */
	bool sign = negative && (n > 1 || digits[0] != '0');
	int int_digits = n > d ? n - d : 0;
	int len = sign + int_digits + 1 + d;
	if (len > w) {
		justify(out, w, "", len);
		return;
	}
	char text[256];
	char *p = text + len;
	const char *q = digits + n;
	for (int k = 0; k < d; k++)
		*--p = q > digits ? *--q : '0';
	*--p = '.';
	while (q > digits)
		*--p = *--q;
	if (sign)
		*--p = '-';
	justify(out, w, text, len);
}
