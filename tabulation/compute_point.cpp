/*
 * One point of the curve. Every rounding is written out: the quotient and
 * the difference in double, reduced stored in single; each term's product
 * and sum in double, the running sum stored in single after every term.
 * Built with -ffp-contract=off, so no multiply-add fuses a rounding away.
 */
#include "tabulation/tabulation.h"

#include <float.h>

static_assert(FLT_EVAL_METHOD == 0, "float and double operations must round to their own type");

void compute_point(integer i, const real coef[6], const real *origin, const real *theta_step,
                   real *two_theta, real *reduced, real curve[80])
{
	*two_theta = *two_theta + *theta_step;
	curve[i - 1] = coef[0];
	*reduced = (real)((double)*two_theta / (double)*origin - 1.0);
	for (integer j = 2; j <= 6; j++) {
		integer power = j - 1;
		double term = pow_ri(reduced, &power) * (double)coef[j - 1];
		curve[i - 1] = (real)((double)curve[i - 1] + term);
	}
}
