/*
 * The curve tabulation: the leading values of the input file, the point
 * computation and the output record.
 */
#ifndef KORVEX_TABULATION_H
#define KORVEX_TABULATION_H

#include "runtime/f2c.h"

/* Reads coef[0..5] and then *origin from *in_unit with one list-directed
 * READ; a null value or a slash leaves a target unchanged. */
void read_leading_values(integer *in_unit, real coef[6], real *origin);

/* Computes point i (1..80): advances *two_theta by *theta_step and sets
 * curve[i-1] to the polynomial in *reduced = *two_theta / *origin - 1,
 * summed term by term in increasing powers, the running sum stored in
 * single precision after every term. */
void compute_point(integer i, const real coef[6], const real *origin, const real *theta_step,
                   real *two_theta, real *reduced, real curve[80]);

/* Writes the record (two_theta, value) to *out_unit, format (2f8.2). */
void write_record(integer *out_unit, real *two_theta, real *value);

#endif
