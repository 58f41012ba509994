/*
 * The two ways F editing rounds (fedit.cpp), apart from the layout, so
 * that each can be checked on its own: the decimal digits of the integer
 * nearest to mag * 10^d (an exact half rounded up), without leading zeros
 * ("0" for zero), for a finite mag >= 0. Each returns where in buf the
 * digits start, with their count in *n, or null when the value is beyond
 * its reach: the 64-bit way takes d <= 3 and mag < 2^52, into a buffer of
 * FEDIT_FAST_MAX; the exact way any value and d <= 255, into a buffer of
 * FEDIT_DIGITS_MAX.
 */
#ifndef KORVEX_FEDIT_WAYS_H
#define KORVEX_FEDIT_WAYS_H

enum { FEDIT_FAST_MAX = 24, FEDIT_DIGITS_MAX = 1600 };
const char *fedit_digits_64(double mag, int d, char *buf, int *n);
const char *fedit_digits_exact(double mag, int d, char *buf, int *n);

#endif
