/*
 * korvex --batch and --check FILE...: the dialogue's table of each FILE
 * (batch_table), made in memory from its values before its table is
 * touched. The FILEs go a group at a time, their file operations in flight
 * together on threads (jobs.h): each .dat read ahead (a check's old table
 * too), then each table made in FILE order; a check compares it, a batch
 * has the threads put the group's tables in place and on stable storage,
 * syncs each folder once and names them. A line a write; the run ends
 * where one cannot be written. What failed for a FILE comes back as a
 * value and is reported, headed by the FILE, as the dialogue reports it.
 */
#include "driver/batch.h"

#include "driver/listing.h"
#include "files/unit_files.h"
#include "runtime/events.h"
#include "runtime/fatal.h"
#include "runtime/jobs.h"
#include "runtime/statement.h"

#include <initializer_list>
#include <string.h>

enum { TABLE_UNIT = 13, GROUP = 32 };   /* the program's out_unit */

/* A FILE of a group: its names, what was read ahead of its turn, its
 * table and what failed (code 0: nothing). */
struct file_job {
	const char *file, *ext;
	size_t base_len;
	char dat[NAME_MAX_BYTES], imp[NAME_MAX_BYTES];
	bool ahead;       /* the .dat opened ahead: dat_fd, -1 where it was read whole */
	int dat_fd;
	long dat_n;
	char dat_bytes[TEXT_BUF];
	int old_err;      /* a check's old table: its open's error, its size (-1: no regular file) */
	long long old_size;
	char old[TABLE_BYTES], table[TABLE_BYTES];
	bool made;
	int fd;           /* the table written, kept for its sync */
	run_failure failed;
};

/* Two groups: a check reads the next one ahead while it checks one. */
static struct {
	file_job jobs[2][GROUP];
	file_job *turn;   /* whose table is being made */
	bool checking;
	int failures, unlike;
} batch;

/* On the threads a call interrupted is made again, unless an event came:
 * then the job gives up and the run answers the event. */
static bool again(long r)
{
	return r < 0 && errno == EINTR && sys_event_recorded() < 0;
}

/* A job: FILE i's .dat read ahead where it is a regular file whose first
 * bytes come in one read, else only opened where it opens (its turn reads
 * it, as the dialogue does), or left to its turn; a check's old table too. */
static void read_ahead(void *set, int i)
{
	file_job *j = (file_job *)set + i;
	long long size = -1;
	int fd = -1;
	while (j->dat[0] && again(fd = sys_open_read(j->dat, &size))) {
	}
	long want = size < 0 ? 0 : size < TEXT_BUF ? (long)size : (long)TEXT_BUF;
	while (want && again(j->dat_n = sys_read(fd, j->dat_bytes, (size_t)want))) {
	}
	j->ahead = fd >= 0 && (!want || j->dat_n == want);
	j->dat_n = want;
	j->dat_fd = j->ahead && (size < 0 || size > TEXT_BUF) ? fd : -1;   /* the rest read in its turn */
	if (fd >= 0 && j->dat_fd < 0)
		sys_close(fd);
	if (!batch.checking || !j->imp[0])
		return;
	long n = j->old_size = -1;
	while (again(fd = sys_open_read(j->imp, &j->old_size))) {
	}
	j->old_err = fd >= 0 || errno == EISDIR ? 0 : errno;   /* a folder: no regular file */
	while (j->old_size == TABLE_BYTES && again(n = sys_read(fd, j->old, TABLE_BYTES))) {
	}
	if (j->old_size == TABLE_BYTES)
		j->old_size = n < 0 ? (j->old_err = errno, 0) : n;
	if (fd >= 0)
		sys_close(fd);
}

/* The dialogue's OPEN of <base>.dat, from what was read ahead where it was. */
static int connect(integer *in_unit, char *name, ftnlen len)
{
	file_job *j = batch.turn;
	if (!j->ahead)
		return open_old_file(in_unit, name, len);
	unit *u = unit_at(*in_unit);
	strcpy(u->name, j->dat);
	if (int err = unit_attach(u, j->dat_fd, false, false))
		fatal(err, "open", u);
	text_ahead(&u->in, j->dat_bytes, (size_t)j->dat_n, j->dat_fd < 0);
	return 0;
}

/* Protected: the FILE's table made in memory, copied into the job. */
static void make(void *job)
{
	file_job *j = (file_job *)job;
	io.reading = true;   /* as the dialogue's name READ leaves it */
	io.format = nullptr;
	batch_table((char *)j->file, (integer)j->base_len, (char *)j->ext, connect);
	unit *u = unit_at(TABLE_UNIT);
	memcpy(j->table, u->out, TABLE_BYTES);
	u->out_len = 0;
	int err;
	if (unit *failed = units_close_all(&err))
		fatal(err, "close", failed);
}

static void report(const file_job *j, const run_failure &f)
{
	batch.failures++;
	fatal_report(f, j->file, batch.checking ? ": not checked" : ": no table");
}

/* A check's verdict on FILE's table; false where it cannot be listed. */
static bool verdict(file_job *j)
{
	if (j->old_err && j->old_err != ENOENT) {
		report(j, {j->old_err, "open", TABLE_UNIT, j->imp, nullptr, false});
		return true;
	}
	bool same, written = listed_verdict(j->imp, j->table, j->old_err ? nullptr : j->old, j->old_size, &same);
	batch.unlike += !same;
	return written;
}

/* A job: the dialogue's file steps for FILE i's table made, as it would
 * report them: an old one removed (erase_old_file), the new one created
 * and written, its descriptor kept for the sync. */
static void place(void *set, int i)
{
	file_job *j = (file_job *)set + i;
	if (!j->made)
		return;
	bool old = sys_exists(j->imp), writing, named;
	/* the statement state as the warning's WRITE leaves it, or the name's READ */
	j->failed = {0, "open", TABLE_UNIT, nullptr, old ? LIST_IO : nullptr, !old};
	int fd = -1, code;
	if (old && (fd = open_named(j->imp, false, &writing, &code, &named, again)) >= 0)
		sys_close(fd), sys_remove(j->imp);
	if (!old || fd >= 0)
		fd = open_named(j->imp, true, &writing, &code, &named, again);
	if ((j->fd = fd) < 0) {
		j->failed.code = code, j->failed.name = named ? j->imp : nullptr;
		return;
	}
	for (long done = code = 0, k; !code && done < TABLE_BYTES; done += k > 0 ? k : 0)
		if ((k = sys_write(fd, j->table + done, (size_t)(TABLE_BYTES - done))) <= 0 && !again(k))
			code = k == 0 ? ENOSPC : errno;   /* 0: a device that takes nothing */
	j->failed = {code, "write sfe", TABLE_UNIT, j->imp, nullptr, false};
}

/* A job: FILE i's table written put on stable storage, once all the
 * group's are written (so that a journal commits them together), then
 * closed. */
static void sync_table(void *set, int i)
{
	file_job *j = (file_job *)set + i;
	int code = j->failed.code;
	if (!j->made || j->fd < 0)
		return;
	while (!code && (code = sys_sync(j->fd, nullptr)) == EINTR && sys_event_recorded() < 0) {
	}
	int closing = sys_close(j->fd);
	j->failed = {code ? code : closing, code ? "write sfe" : "close", TABLE_UNIT, j->imp, nullptr, false};
}

/* Whether a and b are in one folder. */
static bool beside(const char *a, const char *b)
{
	const char *sa = strrchr(a, '/'), *sb = strrchr(b, '/');
	size_t na = sa ? (size_t)(sa - a) : 0, nb = sb ? (size_t)(sb - b) : 0;
	return na == nb && memcmp(a, b, na) == 0;
}

/* The group's tables named, in FILE order, each once its folder is on
 * stable storage (once for the tables beside each other); a failure
 * reported. False where a name cannot be listed: the batch ends there. */
static bool list_group(file_job *set, int n)
{
	for (int k = 0, first = 0, err; k < n; k++) {
		if (k + 1 < n && beside(set[k].imp, set[k + 1].imp))
			continue;
		while ((err = sys_sync(-1, set[k].imp)) == EINTR)
			events_safe_point();
		for (; first <= k; first++) {
			file_job *j = &set[first];
			if (j->made && !j->failed.code && err)
				j->failed = {err, "write sfe", TABLE_UNIT, j->imp, nullptr, false};
			if (j->made && j->failed.code)
				report(j, j->failed);
			else if (j->made && !listed(j->imp))
				return false;
		}
	}
	return true;
}

/* A group: up to most of the n FILEs, each named (<base><ext> and
 * <base>.imp, "" where they do not fit) in set; its count. A FILE whose
 * table is one of the group's already starts the next group. */
static int name_group(file_job *set, char **files, int n, int most)
{
	for (int k = 0; k < n && k < most; k++) {
		file_job *j = &set[k];
		const char *file = j->file = files[k];
		size_t len = strnlen(file, NAME_MAX_BYTES);   /* longer: refused by OPEN all the same */
		bool named = len >= 4 && file[len - 4] == '.' && (file[len - 3] | 0x20) == 'd' &&
		             (file[len - 2] | 0x20) == 'a' && (file[len - 1] | 0x20) == 't';
		j->base_len = named ? len - 4 : len;
		j->ext = named ? file + len - 4 : ".dat";
		j->dat[0] = j->imp[0] = '\0';
		for (char *to : {j->dat, j->imp})
			if (j->base_len + 4 < NAME_MAX_BYTES)
				memcpy(to, file, j->base_len), memcpy(to + j->base_len, to == j->dat ? j->ext : ".imp", 5);
		for (int i = 0; i < k; i++)
			if (j->imp[0] && strcmp(set[i].imp, j->imp) == 0)
				return k;
	}
	return n < most ? n : most;
}

static void wait_jobs(void)
{
	while (jobs_wait() == EINTR)
		events_safe_point();   /* the event answered: the run ends */
}

/* The FILEs a group at a time; false where a line cannot be listed. */
static bool run_groups(int n, char **files, bool checking)
{
	int most = sys_spare_descriptors() / 3;   /* a FILE read ahead holds two at most, one being made one */
	most = most > GROUP ? GROUP : most < 1 ? 1 : most;
	int g = name_group(batch.jobs[0], files, n, most), next;
	jobs_start(g, read_ahead, batch.jobs[0]);
	for (int at = 0, k = 0; at < n; at += g, g = next, k ^= 1) {
		file_job *set = batch.jobs[k];
		wait_jobs();
		next = name_group(batch.jobs[k ^ 1], files + at + g, n - at - g, most);
		if (checking)   /* the next group read while this one is checked */
			jobs_start(next, read_ahead, batch.jobs[k ^ 1]);
		for (file_job *j = set; j < set + g; j++) {
			batch.turn = j;
			run_failure f;
			if (!(j->made = fatal_protected(make, j, &f)))
				report(j, f);
			else if (checking && !verdict(j))
				return false;
		}
		if (checking)
			continue;
		jobs_start(g, place, set);
		wait_jobs();
		for (file_job *j = set; j < set + g; j++)
			if (j->made && j->fd < 0) {   /* an OPEN failed: perhaps one table named twice (x, ./x) */
				jobs_start(1, place, j);   /* again, alone */
				wait_jobs();
			}
		jobs_start(g, sync_table, set);
		wait_jobs();
		if (!list_group(set, g))
			return false;
		jobs_start(next, read_ahead, batch.jobs[k ^ 1]);
	}
	return true;
}

int batch_run(int n, char **files, bool checking)
{
	batch.checking = checking;
	bool all_listed = run_groups(n, files, checking);
	jobs_end();
	return !all_listed || batch.failures ? 3 : batch.unlike ? 4 : 0;
}
