/*
 * korvex --batch and --check FILE...: for each parameter file, the
 * dialogue's table (batch_table), its values read before its table is
 * touched. A batch names each table on standard output once it is on
 * stable storage (a group's tables synced at once, then each folder once);
 * a check compares it, made in memory, with <base>.imp: a
 * line a write, the run ended where one cannot be written. A failure: the
 * FILE and the diagnostic on standard error in one write, then the next
 * FILE. An event ends either as it ends the dialogue.
 */
#include "driver/batch.h"

#include "runtime/digits.h"
#include "runtime/events.h"
#include "runtime/fatal.h"
#include "runtime/statement.h"

#include <setjmp.h>
#include <string.h>

enum { TABLE_UNIT = 13, TABLE_BYTES = 80 * 18 };   /* the program's out_unit; 80 records */
static jmp_buf next_file;

/* Tables written, not yet on stable storage: name, FILE, the descriptor
 * kept to sync it, and what its sync and close said. At most GROUP, and
 * as many as the descriptors allow (group). */
enum { GROUP = 32 };
static struct {
	char imp[NAME_MAX_BYTES];
	const char *file;
	const char *place;
} written[GROUP];
static int kept[GROUP], errs[GROUP], group;
static volatile int n_written, failures, unlike;

/* No warning line: only the statement state its WRITE leaves, for a diagnostic. */
static void as_warned(char *, ftnlen)
{
	io.reading = false;
	io.format = LIST_IO;
}

/* The dialogue's steps from its question to the new table, the statement
 * state as its name READ leaves it (a diagnostic is the dialogue's). */
static void replace(char *imp, ftnlen len)
{
	io.reading = true;
	io.format = nullptr;
	replace_table(imp, len, as_warned);
}

/* A check's: the table's unit keeps the records in its buffer, with no file. */
static void in_memory(char *imp, ftnlen len)
{
	olist scratch = {0, TABLE_UNIT, imp, len, (char *)"scratch", nullptr, nullptr, 0, nullptr};
	f_open(&scratch);
}

/* The table of FILE (<base>.dat, or <base> to which .dat is added), made by place. */
static void make(const char *file, void (*place)(char *, ftnlen))
{
	static char dat[] = ".dat";
	size_t n = strnlen(file, NAME_MAX_BYTES);   /* longer: refused by OPEN all the same */
	bool named = n >= 4 && file[n - 4] == '.' && (file[n - 3] | 0x20) == 'd' && (file[n - 2] | 0x20) == 'a' &&
	             (file[n - 1] | 0x20) == 't';
	io.reading = true;   /* as the dialogue's name READ leaves it */
	io.format = nullptr;
	batch_table((char *)file, (integer)(named ? n - 4 : n), named ? (char *)file + n - 4 : dat, place);
}

/* A line of the listing; false where it cannot be written, said with the reason. */
template <typename... T> static bool listed(T... texts)
{
	int err = write_line(1, texts...);
	if (err)
		write_line(2, "korvex: write error: ", strerror(err));
	return !err;
}

/* The table of FILE written, its descriptor kept for the group's syncs (written[]). */
static void tabulate(const char *file)
{
	make(file, replace);
	unit *u = unit_at(TABLE_UNIT);
	int err = unit_flush(u), fd = u->fd;
	if (err)
		fatal(err, "write sfe", u);
	u->fd = -1;   /* the unit closed without it */
	if (unit *failed = units_close_all(&err))
		sys_close(fd), fatal(err, "close", failed);
	strcpy(written[n_written].imp, u->name);
	written[n_written].file = file;
	kept[n_written++] = fd;
}

/* A record as a quoted text, without its line end where that is CR LF;
 * a quote, a backslash or a byte not printable in ASCII as \xHH. */
static const char *shown(char *out, const char *record)
{
	char *p = out;
	*p++ = '"';
	for (int i = 0; i < (memcmp(record + 16, "\r\n", 2) ? 18 : 16); i++) {
		unsigned char c = (unsigned char)record[i];
		if (c < ' ' || c > '~' || c == '"' || c == '\\')
			p += 4, memcpy(p - 4, "\\x", 2), p[-2] = "0123456789abcdef"[c >> 4], p[-1] = "0123456789abcdef"[c & 15];
		else
			*p++ = (char)c;
	}
	strcpy(p, "\"");
	return out;
}

/* FILE's table made in memory and compared with <base>.imp, read only;
 * false where the verdict cannot be listed. */
static bool check(const char *file)
{
	make(file, in_memory);
	unit *u = unit_at(TABLE_UNIT);
	char made[TABLE_BYTES], old[TABLE_BYTES], digits[24] = "", a[80], b[80];
	memcpy(made, u->out, TABLE_BYTES);
	u->out_len = 0;
	int err;
	if (unit *failed = units_close_all(&err))
		fatal(err, "close", failed);
	long long size, at = 0;
	while ((err = sys_read_file(u->name, old, TABLE_BYTES, &size)) == EINTR)
		events_safe_point();
	if (err && err != ENOENT)
		fatal(err, "open", u);
	if (!err && size == TABLE_BYTES && memcmp(made, old, TABLE_BYTES) == 0)
		return listed(u->name, ": same");
	unlike = unlike + 1;
	if (err || size != TABLE_BYTES)
		return listed(u->name, err ? ": missing" : ": not a table: ",
		              err || size < 0 ? "" : digits_before(digits + 23, (unsigned long long)size),
		              err ? "" : size < 0 ? "not a regular file" : " bytes");
	while (made[at] == old[at])
		at++;
	at -= at % 18;
	return listed(u->name, ": differs: record ", digits_before(digits + 23, (unsigned long long)at / 18 + 1),
	              ": archived ", shown(a, old + at), ", made ", shown(b, made + at));
}

/* Whether a and b are in one folder. */
static bool beside(const char *a, const char *b)
{
	const char *sa = strrchr(a, '/'), *sb = strrchr(b, '/');
	size_t na = sa ? (size_t)(sa - a) : 0, nb = sb ? (size_t)(sb - b) : 0;
	return na == nb && memcmp(a, b, na) == 0;
}

/* The tables written put on stable storage, all at once, then their
 * folders, once for the tables beside each other, and the tables then
 * named; a failure reported for its table as the dialogue would report
 * it. False where a name cannot be listed: the batch ends there. */
static bool sync_group(void)
{
	static volatile int k, first, err;   /* (a report comes back by longjmp) */
	while (sys_sync_all(n_written, kept, errs) == EINTR)
		events_safe_point();
	for (k = 0; k < n_written; k++) {   /* a close's failure counts where the sync's did not */
		int closing = sys_close(kept[k]);
		written[k].place = errs[k] ? "write sfe" : "close";
		errs[k] = errs[k] ? errs[k] : closing;
	}
	for (k = first = 0; k < n_written; k++) {
		if (k + 1 < n_written && beside(written[k].imp, written[k + 1].imp))
			continue;
		while ((err = sys_sync(-1, written[k].imp)) == EINTR)
			events_safe_point();
		for (; first <= k; first++) {
			if (!err && !errs[first] && !listed(written[first].imp)) {
				return false;
			} else if ((err || errs[first]) && setjmp(next_file) == 0) {
				failures = failures + 1;
				fatal_subject = written[first].file;
				io.reading = false;   /* the statement before: the table's last WRITE */
				io.format = nullptr;
				strcpy(unit_at(TABLE_UNIT)->name, written[first].imp);
				fatal(errs[first] ? errs[first] : err, errs[first] ? written[first].place : "write sfe",
				      unit_at(TABLE_UNIT));
			}
		}
	}
	n_written = 0;
	return true;
}

int batch_run(int n, char **files, bool checking)
{
	static volatile int k;
	fatal_resume = [] { longjmp(next_file, 1); };
	fatal_outcome = checking ? ": not checked" : ": no table";
	group = sys_spare_descriptors() - 4;   /* a FILE, its table, the syncs' pipe */
	group = group > GROUP ? GROUP : group < 1 ? 1 : group;
	for (k = 0; k < n; k++) {
		fatal_subject = files[k];
		if (setjmp(next_file) != 0)
			failures = failures + 1;
		else if (!checking)
			tabulate(files[k]);
		else if (!check(files[k]))
			return 3;
		if ((n_written == group || k + 1 == n) && n_written && !sync_group())
			return 3;
	}
	return failures ? 3 : unlike ? 4 : 0;
}
