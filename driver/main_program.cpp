/*
 * The main program: the console dialogue and the order of the whole run.
 * Greets the user, asks for a base name, makes the table (make_table, a
 * batch's and a check's too: <base>.dat, a fresh <base>.imp after a
 * warning about an old one, the polynomial, the 80 records), says
 * goodbye, waits for a number and stops. Every failure is the run-time's to report; nothing here tests a result.
 */
#include "driver/batch.h"
#include "files/unit_files.h"
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

/* The program's variables, zero at load (file_name: 24, or a batch's longer name). */
static struct variables {
	integer in_unit, out_unit;
	char base_name[20];
	integer base_len;
	char file_name[NAME_MAX_BYTES + 4];
	logical file_exists;
	real coef[6], origin, theta_step, two_theta, reduced, curve[80];
	integer i;
	real answer;
} run;

/* The run's first step, from the variables as they are at load. */
static void start(void)
{
	run = variables();
	run.in_unit = 11;
	run.out_unit = 13;
}

/* The warning line: the text and the whole of file_name. */
static void write_warning(char *file_name, ftnlen len)
{
	s_wsle(&io_warning);
	do_lio(&c_char, &c_1, warning_text, (ftnlen)(sizeof warning_text - 1));
	do_lio(&c_char, &c_1, file_name, len);
	e_wsle();
}

/* The dialogue's steps 8 to 10: an old table removed after the warning, a new one made. */
static void dialogue_table(char *file_name, ftnlen len)
{
	inlist inquiry = {};
	inquiry.infile = file_name;
	inquiry.infilen = len;
	inquiry.inex = &run.file_exists;
	f_inqu(&inquiry);
	if (run.file_exists) {
		write_warning(file_name, len);
		erase_old_file(&run.out_unit, file_name, len);
	}
	open_new_file(&run.out_unit, file_name, len);
}

/* A batch's and a check's table unit: the records kept in its buffer, no file made. */
static void in_memory(char *file_name, ftnlen len)
{
	olist scratch = {0, run.out_unit, file_name, len, (char *)"scratch", nullptr, nullptr, 0, nullptr};
	f_open(&scratch);
}

/* The table of base(1:base_len), from connecting <base><dat> to in_unit
 * (connect) to its last record; out_unit given <base>.imp by place before
 * the values are read (the dialogue's order), or after them (values_first). */
static void make_table(char *base, integer base_len, char *dat, int (*connect)(integer *, char *, ftnlen),
                       void (*place)(char *file_name, ftnlen len), bool values_first)
{
	ftnlen file_len = base_len + 4 > 24 ? base_len + 4 : 24;
	char *pieces[2] = {base, dat};
	integer lengths[2] = {base_len, 4};
	s_cat(run.file_name, pieces, lengths, &c_2, file_len);
	connect(&run.in_unit, run.file_name, file_len);

	pieces[1] = (char *)".imp";
	s_cat(run.file_name, pieces, lengths, &c_2, file_len);
	if (!values_first)
		place(run.file_name, file_len);
	read_leading_values(&run.in_unit, run.coef, &run.origin);
	if (values_first)
		place(run.file_name, file_len);
	run.two_theta = 0.f;
	run.theta_step = 2.f;
	for (run.i = 1; run.i <= 80; run.i++) {
		compute_point(run.i, run.coef, &run.origin, &run.theta_step, &run.two_theta, &run.reduced, run.curve);
		write_record(&run.out_unit, &run.two_theta, &run.curve[run.i - 1]);
	}
}

void batch_table(char *base, integer base_len, char *dat, int (*connect)(integer *, char *, ftnlen))
{
	start();
	make_table(base, base_len, dat, connect, in_memory, true);
}

int MAIN__(void)
{
	start();

	s_wsfe(&io_banner);
	e_wsfe();
	s_wsfe(&io_prompt);
	e_wsfe();
	s_rsfe(&io_name);
	do_fio(&c_1, run.base_name, (ftnlen)sizeof run.base_name);
	e_rsfe_name();   /* a longer name ends the run: it is never cut short */

	run.base_len = i_len(run.base_name, (ftnlen)sizeof run.base_name);
	while (run.base_len > 0 && run.base_name[run.base_len - 1] == ' ')
		run.base_len--;

	make_table(run.base_name, run.base_len, (char *)".dat", open_old_file, dialogue_table, false);

	s_wsfe(&io_closing);
	e_wsfe();
	s_rsle(&io_answer);
	do_lio(&c_real, &c_1, (char *)&run.answer, (ftnlen)sizeof run.answer);
	e_rsle();

	s_stop((char *)"", (ftnlen)0);
	return 0;
}
