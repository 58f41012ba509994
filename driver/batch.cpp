/*
 * korvex --batch FILE...: for each parameter file, the dialogue's run from
 * connecting <base>.dat to the table on stable storage, with its rules
 * and its diagnostics, and nothing said to a person: each table's name on
 * standard output once it is on stable storage; for a failure, the FILE
 * as given and the diagnostic on standard error, then the next FILE. An
 * event ends the batch as it ends the dialogue. Each table is synced at
 * once, its folder once for the tables written beside each other.
 */
#include "driver/batch.h"

#include "files/unit_files.h"
#include "runtime/events.h"
#include "runtime/fatal.h"
#include "runtime/statement.h"
#include "tabulation/tabulation.h"

#include <setjmp.h>
#include <string.h>

static integer in_unit = 11, out_unit = 13;
static jmp_buf next_file;

/* Tables on stable storage whose folders are not yet: name, FILE. */
enum { GROUP = 32 };
static struct {
	char imp[NAME_MAX_BYTES + 4];
	const char *file;
} written[GROUP];
static volatile int n_written, failures;

static void failed(void)
{
	longjmp(next_file, 1);
}

/* The table of FILE (<base>.dat, or <base> to which .dat is added),
 * written and synced, its folder's sync still due (written[]). */
static void tabulate(const char *file)
{
	static char dat[NAME_MAX_BYTES + 4];
	char *imp = written[n_written].imp;
	size_t n = strnlen(file, NAME_MAX_BYTES);   /* longer: refused by OPEN all the same */
	bool named = n >= 4 && file[n - 4] == '.' && (file[n - 3] | 0x20) == 'd' && (file[n - 2] | 0x20) == 'a' &&
	             (file[n - 1] | 0x20) == 't';
	ftnlen len = (ftnlen)(named ? n : n + 4);
	memcpy(dat, file, n);
	memcpy(dat + len - 4, named ? file + n - 4 : ".dat", 4);
	memcpy(imp, dat, (size_t)len - 4);
	memcpy(imp + len - 4, ".imp", 5);

	io.reading = true;   /* the statement before: the name's READ */
	io.format = nullptr;
	open_old_file(&in_unit, dat, len);
	logical exists = 0;
	inlist inquiry = {};
	inquiry.infile = imp;
	inquiry.infilen = len;
	inquiry.inex = &exists;
	f_inqu(&inquiry);
	if (exists) {
		io.reading = false;   /* the statement before: the warning's WRITE */
		io.format = LIST_IO;
		erase_old_file(&out_unit, imp, len);
	}
	open_new_file(&out_unit, imp, len);

	static real coef[6], origin, two_theta, reduced, curve[80], theta_step = 2.f;
	read_leading_values(&in_unit, coef, &origin);
	two_theta = 0.f;
	for (integer i = 1; i <= 80; i++) {
		compute_point(i, coef, &origin, &theta_step, &two_theta, &reduced, curve);
		write_record(&out_unit, &two_theta, &curve[i - 1]);
	}
	int err;
	if (unit *u = units_sync_files(&err, false))
		fatal(err, "write sfe", u);
	cllist keep_in = {0, in_unit, nullptr}, keep_out = {0, out_unit, nullptr};
	f_clos(&keep_in);
	f_clos(&keep_out);
	written[n_written++].file = file;
}

/* Whether a and b are in one folder. */
static bool beside(const char *a, const char *b)
{
	const char *sa = strrchr(a, '/'), *sb = strrchr(b, '/');
	size_t na = sa ? (size_t)(sa - a) : 0, nb = sb ? (size_t)(sb - b) : 0;
	return na == nb && memcmp(a, b, na) == 0;
}

/* The folders of the tables written put on stable storage, once for the
 * tables beside each other, and the tables then named; a failure
 * reported for each of them as the dialogue would report it. */
static void sync_folders(void)
{
	static volatile int k, first, err;   /* (a report comes back by longjmp) */
	for (k = first = 0; k < n_written; k++) {
		if (k + 1 < n_written && beside(written[k].imp, written[k + 1].imp))
			continue;
		while ((err = sys_sync(-1, written[k].imp)) == EINTR)
			events_safe_point();
		for (; first <= k; first++) {
			if (!err) {
				write_line(1, written[first].imp);
			} else if (setjmp(next_file) == 0) {
				failures = failures + 1;
				fatal_subject = written[first].file;
				io.reading = false;   /* the statement before: the table's last WRITE */
				io.format = nullptr;
				strcpy(unit_at(out_unit)->name, written[first].imp);
				fatal(err, "write sfe", unit_at(out_unit));
			}
		}
	}
	n_written = 0;
}

int batch_run(int n, char **files)
{
	static volatile int k;
	fatal_resume = failed;
	for (k = 0; k < n; k++) {
		fatal_subject = files[k];
		if (setjmp(next_file) == 0)
			tabulate(files[k]);
		else
			failures = failures + 1;
		if (n_written == GROUP || k + 1 == n)
			sync_folders();
	}
	return failures ? 3 : 0;
}
