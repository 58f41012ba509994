/*
 * The one READ of the input file: six coefficients, then the origin.
 */
#include "tabulation/tabulation.h"

static integer c_1 = 1;
static integer c_real = TYREAL;

void read_leading_values(integer *in_unit, real coef[6], real *origin)
{
	static cilist read_control = {0, 0, 0, nullptr, 0};
	read_control.ciunit = *in_unit;
	s_rsle(&read_control);
	for (integer i = 0; i < 6; i++)
		do_lio(&c_real, &c_1, (char *)&coef[i], (ftnlen)sizeof(real));
	do_lio(&c_real, &c_1, (char *)origin, (ftnlen)sizeof(real));
	e_rsle();
}
