/*
 * The main program: the console dialogue and the order of the whole run.
 * Greets the user, asks for a base name, connects <base>.dat and a fresh
 * <base>.imp (removing an old one after a warning), reads the polynomial,
 * writes the 80 records, says goodbye, waits for a number and stops.
 * Every failure is the run-time's to report; nothing here tests a result.
 */
#include "files/unit_files.h"
#include "runtime/f2c.h"
#include "tabulation/tabulation.h"

/* The console texts: the formats of the console statements, each literal
 * delimited by the byte 0x02, and the warning item. */
static char fmt_banner[] = "(\002         KORVEX   (by Vellumarix)\002)";
static char fmt_prompt[] = "(\002  entry .dat file (no extension) ??\002,$)";
static char fmt_name[] = "(a20)";
static char fmt_closing[] =
	"(\002   Thanks for using KORVEX\002/"
	"\002     Care to rounding errors on 2-theta-end...\002//"
	"\002   Please type any number and a return to stop\002)";

/* 40 characters, the first item of the warning line. */
static char warning_text[] = "warning, this old file will be deleted :";

static integer c_1 = 1;
static integer c_2 = 2;
static integer c_char = TYCHAR;
static integer c_real = TYREAL;

static cilist io_banner = {0, 6, 0, fmt_banner, 0};
static cilist io_prompt = {0, 6, 0, fmt_prompt, 0};
static cilist io_name = {0, 5, 0, fmt_name, 0};
static cilist io_warning = {0, 6, 0, nullptr, 0};
static cilist io_closing = {0, 6, 0, fmt_closing, 0};
static cilist io_answer = {0, 5, 0, nullptr, 0};

static integer in_unit, out_unit;
static char base_name[20];
static integer base_len;
static char file_name[24];
static logical file_exists;
static real coef[6], origin, two_theta, reduced, curve[80];
static real theta_step;
static real answer;
static integer i;

int MAIN__(void)
{
	in_unit = 11;
	out_unit = 13;

	s_wsfe(&io_banner);
	e_wsfe();
	s_wsfe(&io_prompt);
	e_wsfe();
	s_rsfe(&io_name);
	do_fio(&c_1, base_name, (ftnlen)sizeof base_name);
	e_rsfe_name();   /* a longer name ends the run: it is never cut short */

	base_len = i_len(base_name, (ftnlen)sizeof base_name);
	while (base_len > 0 && base_name[base_len - 1] == ' ')
		base_len--;

	char *pieces[2] = {base_name, (char *)".dat"};
	integer lengths[2] = {base_len, 4};
	s_cat(file_name, pieces, lengths, &c_2, (ftnlen)sizeof file_name);
	open_old_file(&in_unit, file_name, (ftnlen)sizeof file_name);

	pieces[1] = (char *)".imp";
	s_cat(file_name, pieces, lengths, &c_2, (ftnlen)sizeof file_name);
	inlist inquiry = {};
	inquiry.infile = file_name;
	inquiry.infilen = (ftnlen)sizeof file_name;
	inquiry.inex = &file_exists;
	f_inqu(&inquiry);

	if (file_exists) {
		s_wsle(&io_warning);
		do_lio(&c_char, &c_1, warning_text, (ftnlen)(sizeof warning_text - 1));
		do_lio(&c_char, &c_1, file_name, (ftnlen)sizeof file_name);
		e_wsle();
		erase_old_file(&out_unit, file_name, (ftnlen)sizeof file_name);
	}
	open_new_file(&out_unit, file_name, (ftnlen)sizeof file_name);

	read_leading_values(&in_unit, coef, &origin);
	two_theta = 0.f;
	theta_step = 2.f;
	for (i = 1; i <= 80; i++) {
		compute_point(i, coef, &origin, &theta_step, &two_theta, &reduced, curve);
		write_record(&out_unit, &two_theta, &curve[i - 1]);
	}

	s_wsfe(&io_closing);
	e_wsfe();
	s_rsle(&io_answer);
	do_lio(&c_real, &c_1, (char *)&answer, (ftnlen)sizeof answer);
	e_rsle();

	s_stop((char *)"", (ftnlen)0);
	return 0;
}
