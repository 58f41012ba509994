/*
 * F editing of a value for output (Fw.d).
 */
#ifndef KORVEX_FEDIT_H
#define KORVEX_FEDIT_H

/* Writes x edited as Fw.d into out[0..w) (no terminator); 1 <= w <= 16,
 * 0 <= d <= 3.
 * The exact binary value is rounded to d decimals with exact halves going
 * away from zero; a leading zero before the point is dropped (except with
 * d = 0); a minus sign appears only if a non-zero digit remains; the text
 * is right-justified, or w asterisks when it does not fit. An infinity is
 * "Infinity" or "Inf", a not-a-number "NaN", right-justified. */
void f_edit(char *out, int w, int d, double x);

#endif
