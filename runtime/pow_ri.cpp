/*
 * A REAL raised to an INTEGER power, in double precision by binary
 * exponentiation: every product is rounded to double.
 */
#include "runtime/f2c.h"

double pow_ri(real *base, integer *exponent)
{
	double result = 1.0;
	double x = *base;
	long long n = *exponent;
	if (n < 0) {
		n = -n;
		x = 1.0 / x;
	}
	for (unsigned long long u = (unsigned long long)n;;) {
		if (u & 1)
			result *= x;
		if (u >>= 1)
			x *= x;
		else
			break;
	}
	return result;
}
