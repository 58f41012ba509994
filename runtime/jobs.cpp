/*
 * The jobs' threads (jobs.h): one round of jobs at a time, which they
 * share under the platform's one lock. A thread that takes the round's
 * next job wakes one more while any is left (so where jobs are quick, few
 * threads wake), and the last to finish one wakes the waiting run.
 */
#include "runtime/jobs.h"

#include "runtime/platform.h"

#include <errno.h>

/* The round: its jobs, the next to take, how many are done; the threads. */
static struct {
	void (*job)(void *, int);
	void *ctx;
	int n, next, finished, threads, waking;
	bool ending;
} jobs;

static void worker(void)
{
	sys_lock(true);
	for (;;) {
		if (jobs.ending) {   /* each thread ends, then wakes the next */
			jobs.threads--;
			sys_wake(jobs.threads ? 0 : 1);
			sys_lock(false);
			return;
		}
		if (jobs.next == jobs.n) {
			sys_wait(0, -1);
			jobs.waking -= jobs.waking > 0;
			continue;
		}
		int i = jobs.next++;
		void (*job)(void *, int) = jobs.job;
		void *ctx = jobs.ctx;
		if (jobs.next < jobs.n && !jobs.waking)
			jobs.waking = 1, sys_wake(0);   /* one more thread, one at a time */
		sys_lock(false);
		job(ctx, i);
		sys_lock(true);
		if (++jobs.finished == jobs.n)
			sys_wake(1);
	}
}

void jobs_start(int n, void (*job)(void *, int), void *ctx)
{
	sys_lock(true);
	while (jobs.threads < n && sys_thread(worker))
		jobs.threads++;
	jobs = {job, ctx, n, jobs.threads ? 0 : n, jobs.threads ? 0 : n, jobs.threads, 1, false};
	sys_wake(0);
	sys_lock(false);
	for (int i = 0; !jobs.threads && i < n; i++)
		job(ctx, i);
}

int jobs_wait(void)
{
	sys_lock(true);
	while (jobs.finished < jobs.n && sys_event_recorded() < 0)
		sys_wait(1, 50);   /* an event looked for every 50 ms */
	int r = jobs.finished < jobs.n ? EINTR : 0;
	sys_lock(false);
	return r;
}

void jobs_end(void)
{
	sys_lock(true);
	jobs.ending = true;
	sys_wake(0);
	while (jobs.threads > 0 && sys_event_recorded() < 0)
		sys_wait(1, 50);
	sys_lock(false);
	if (!jobs.threads)
		sys_threads_ended();
}
