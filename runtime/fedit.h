/*
 * F editing of a value for output (Fw.d).
 */
#ifndef KORVEX_FEDIT_H
#define KORVEX_FEDIT_H

/* Writes x edited as Fw.d into out[0..w) (no terminator); 1 <= w <= 255.
 * The exact binary value is rounded to d decimals with exact halves going
 * away from zero; a leading zero before the point is dropped (except with
 * d = 0); a minus sign appears only if a non-zero digit remains; the text
 * is right-justified, or w asterisks when it does not fit. An infinity is
 * "Infinity" or "Inf", a not-a-number "NaN", right-justified. */
void f_edit(char *out, int w, int d, double x);

/* The rounding behind it, three ways: the decimal digits of the integer
 * nearest to mag * 10^d (an exact half rounded up), without leading zeros
 * ("0" for zero), for a finite mag >= 0. Each returns where in buf the
 * digits start, with their count in *n, or null when the value is beyond
 * its reach: the 64-bit way takes d <= 3 and mag < 2^52, the 128-bit way
 * d <= 19 and mag < 2^64, both into a buffer of FEDIT_FAST_MAX; the exact
 * way takes any value and d <= 255, into a buffer of FEDIT_DIGITS_MAX. */
enum { FEDIT_FAST_MAX = 48, FEDIT_DIGITS_MAX = 1600 };
const char *fedit_digits_64(double mag, int d, char *buf, int *n);
const char *fedit_digits_128(double mag, int d, char *buf, int *n);
const char *fedit_digits_exact(double mag, int d, char *buf, int *n);

#endif
