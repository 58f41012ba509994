/*
 * korvex --batch FILE...: for each parameter file, the dialogue's table
 * (batch_table) with its diagnostics, nothing said to a person: the
 * table's name on standard output once it is on stable storage (the
 * file at once, its folder once for the tables beside each other), a line
 * a write, the batch ended where it cannot be written; for a failure, the
 * FILE and the diagnostic on standard error in one write, then the next
 * FILE. An event ends the batch as it ends the dialogue.
 */
#include "driver/batch.h"

#include "runtime/events.h"
#include "runtime/fatal.h"
#include "runtime/statement.h"

#include <setjmp.h>
#include <string.h>

enum { TABLE_UNIT = 13 };   /* the program's out_unit */
static jmp_buf next_file;

/* Tables on stable storage whose folders are not yet: name, FILE. */
enum { GROUP = 32 };
static struct {
	char imp[NAME_MAX_BYTES];
	const char *file;
} written[GROUP];
static volatile int n_written, failures;

/* No warning line: only the statement state its WRITE leaves, for a diagnostic. */
static void as_warned(char *, ftnlen)
{
	io.reading = false;
	io.format = LIST_IO;
}

/* The table of FILE (<base>.dat, or <base> to which .dat is added),
 * written and synced, its folder's sync still due (written[]). */
static void tabulate(const char *file)
{
	static char dat[] = ".dat";
	size_t n = strnlen(file, NAME_MAX_BYTES);   /* longer: refused by OPEN all the same */
	bool named = n >= 4 && file[n - 4] == '.' && (file[n - 3] | 0x20) == 'd' && (file[n - 2] | 0x20) == 'a' &&
	             (file[n - 1] | 0x20) == 't';
	io.reading = true;   /* as the dialogue's name READ leaves it */
	io.format = nullptr;
	batch_table((char *)file, (integer)(named ? n - 4 : n), named ? (char *)file + n - 4 : dat, as_warned);
	int err;
	if (unit *u = units_sync_files(&err, false))
		fatal(err, "write sfe", u);
	strcpy(written[n_written].imp, unit_at(TABLE_UNIT)->name);
	if (unit *u = units_close_all(&err))
		fatal(err, "close", u);
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
 * reported for each of them as the dialogue would report it. False where
 * a name cannot be listed, said with the reason: the batch ends there. */
static bool sync_folders(void)
{
	static volatile int k, first, err;   /* (a report comes back by longjmp) */
	for (k = first = 0; k < n_written; k++) {
		if (k + 1 < n_written && beside(written[k].imp, written[k + 1].imp))
			continue;
		while ((err = sys_sync(-1, written[k].imp)) == EINTR)
			events_safe_point();
		for (; first <= k; first++) {
			if (!err && (err = write_line(1, written[first].imp))) {
				write_line(2, "korvex: write error: ", strerror(err));
				return false;
			} else if (err && setjmp(next_file) == 0) {
				failures = failures + 1;
				fatal_subject = written[first].file;
				io.reading = false;   /* the statement before: the table's last WRITE */
				io.format = nullptr;
				strcpy(unit_at(TABLE_UNIT)->name, written[first].imp);
				fatal(err, "write sfe", unit_at(TABLE_UNIT));
			}
		}
	}
	n_written = 0;
	return true;
}

int batch_run(int n, char **files)
{
	static volatile int k;
	fatal_resume = [] { longjmp(next_file, 1); };
	for (k = 0; k < n; k++) {
		fatal_subject = files[k];
		if (setjmp(next_file) == 0)
			tabulate(files[k]);
		else
			failures = failures + 1;
		if ((n_written == GROUP || k + 1 == n) && !sync_folders())
			return 3;
	}
	return failures ? 3 : 0;
}
