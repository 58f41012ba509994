/*
 * F editing. The rounding is done here, on the exact binary value, so the
 * result never depends on how a C library rounds ties.
 */
#include "runtime/fedit.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

typedef unsigned __int128 u128;

enum { DIGITS_MAX = 1500 };   /* 309 integer digits, 1074 decimals, d up to 255 */

/* Writes the decimal digits of v into buf (no terminator); returns the count. */
static int u128_digits(u128 v, char *buf)
{
	char tmp[40];
	int n = 0;
	while (v > UINT64_MAX) {   /* rare: only with many decimals */
		tmp[n++] = (char)('0' + (int)(v % 10));
		v /= 10;
	}
	uint64_t small = (uint64_t)v;
	do {
		tmp[n++] = (char)('0' + (int)(small % 10));
		small /= 10;
	} while (small);
	for (int i = 0; i < n; i++)
		buf[i] = tmp[n - 1 - i];
	return n;
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

/* Digits of the integer nearest to mag * 10^d (halves up), with integer
 * arithmetic on the binary value; false when it needs more than 128 bits. */
static bool scaled_fast(double mag, int d, char *buf, int *len)
{
	uint64_t m;
	int e;
	decompose(mag, &m, &e);
	if (d > 19)
		return false;
	u128 p10 = 1;
	for (int i = 0; i < d; i++)
		p10 *= 10;
	u128 n;
	if (e >= 0) {
		if (e > 11)
			return false;
		n = (u128)(m << e) * p10;
	} else {
		u128 p = (u128)m * p10;   /* below 2^53 * 10^19 < 2^117 */
		int s = -e;
		if (s >= 118) {
			n = 0;                /* p < 2^117 <= half */
		} else {
			n = p >> s;
			u128 rest = p & (((u128)1 << s) - 1);
			if (rest >= (u128)1 << (s - 1))
				n++;
		}
	}
	*len = u128_digits(n, buf);
	return true;
}

/* The same for any finite value: the exact decimal expansion (every binary
 * fraction has a finite one), rounded by its first dropped digit. */
static void scaled_exact(double mag, int d, char *buf, int *len)
{
	static char text[DIGITS_MAX + 16];
	int prec = 1080;
	snprintf(text, sizeof text, "%.*f", prec, mag);
	char *point = strchr(text, '.');
	int ilen = (int)(point - text);
	memcpy(buf, text, (size_t)ilen);
	memcpy(buf + ilen, point + 1, (size_t)d);
	int n = ilen + d;
	if (point[1 + d] >= '5') {
		/* a carry never runs off the front: a value within 10^-d of the next
		 * integer with d >= 20 is below 1, and its integer digit is 0 */
		int i = n - 1;
		while (buf[i] == '9')
			buf[i--] = '0';
		buf[i]++;
	}
	int lead = 0;
	while (lead < n - 1 && buf[lead] == '0')
		lead++;
	memmove(buf, buf + lead, (size_t)(n - lead));
	*len = n - lead;
}

static void justify(char *out, int w, const char *text, int len)
{
	int i = 0;
	if (len > w) {
		while (i < w)
			out[i++] = '*';
		return;
	}
	while (i < w - len)
		out[i++] = ' ';
	while (i < w)
		out[i++] = *text++;
}

/* The common case, a value below 2^53 with at most 3 decimals: the field
 * is built from the right in 64-bit arithmetic. Returns false otherwise. */
static bool edit_small(char *out, int w, int d, double mag, bool negative)
{
	uint64_t m;
	int e;
	decompose(mag, &m, &e);
	if (d > 3 || e >= 0)
		return false;
	int s = -e;                                   /* mag = m / 2^s */
	static const uint64_t p10[] = {1, 10, 100, 1000};
	uint64_t p = m * p10[d];                      /* below 2^63 */
	uint64_t n = 0;
	if (s < 64) {
		n = p >> s;
		if ((p & ((UINT64_C(1) << s) - 1)) >= UINT64_C(1) << (s - 1))
			n++;                                  /* a half goes away from zero */
	}                                             /* else p < 2^63 <= half: n = 0 */

	char text[32];
	char *q = text + sizeof text;
	bool sign = negative && n != 0;
	for (int k = 0; k < d; k++, n /= 10)
		*--q = (char)('0' + n % 10);
	*--q = '.';
	if (n != 0 || d == 0) {
		do
			*--q = (char)('0' + n % 10);
		while (n /= 10);
	}
	if (sign)
		*--q = '-';
	justify(out, w, q, (int)(text + sizeof text - q));
	return true;
}

void f_edit(char *out, int w, int d, double x)
{
	bool negative = signbit(x) != 0;
	if (isnan(x)) {
		justify(out, w, "NaN", 3);
		return;
	}
	if (isinf(x)) {
		const char *text = negative ? "-Infinity" : "Infinity";
		int len = negative ? 9 : 8;
		if (len > w) {
			text = negative ? "-Inf" : "Inf";
			len = negative ? 4 : 3;
		}
		justify(out, w, text, len);
		return;
	}

	double mag = fabs(x);
	if (edit_small(out, w, d, mag, negative))
		return;

	char small[48];
	static char large[DIGITS_MAX];
	char *digits = small;
	int n;
	if (!scaled_fast(mag, d, small, &n)) {
		digits = large;
		scaled_exact(mag, d, large, &n);
	}

	/* digits holds round(|x| * 10^d) without leading zeros: n - d of them
	 * stand before the point, none when the value is below 1 (".50", not
	 * "0.50"); with d = 0 a zero keeps its digit ("0.") */
	int ilen = n - d;
	int int_digits = ilen > 0 ? ilen : 0;
	bool sign = negative && (n > 1 || digits[0] != '0');
	int len = sign + int_digits + 1 + d;
	if (len > w) {
		memset(out, '*', (size_t)w);
		return;
	}
	char *p = out;
	for (int i = len; i < w; i++)
		*p++ = ' ';
	if (sign)
		*p++ = '-';
	memcpy(p, digits, (size_t)int_digits);
	p += int_digits;
	*p++ = '.';
	for (int k = 0; k < d; k++)
		*p++ = ilen + k < 0 ? '0' : digits[ilen + k];
}
