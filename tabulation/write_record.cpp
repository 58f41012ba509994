/*
 * One record of the output file: 2-theta and the value, two F8.2 fields.
 */
#include "tabulation/tabulation.h"

static char fmt_record[] = "(2f8.2)";
static integer c_1 = 1;

void write_record(integer *out_unit, real *two_theta, real *value)
{
	static cilist write_control = {0, 0, 0, fmt_record, 0};
	write_control.ciunit = *out_unit;
	s_wsfe(&write_control);
	do_fio(&c_1, (char *)two_theta, (ftnlen)sizeof(real));
	do_fio(&c_1, (char *)value, (ftnlen)sizeof(real));
	e_wsfe();
}
