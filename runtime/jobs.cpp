/*
 * The jobs' threads (jobs.h): one round of jobs at a time, which they
 * share under the platform's one lock; each takes the round's next job,
 * and the last to finish one wakes the waiting run.
 */
#include "runtime/jobs.h"

#include "runtime/platform.h"

#include <errno.h>

/* The round: its jobs, the next to take, how many are done; the threads. */
static struct {
	void (*job)(void *, int);
	void *ctx;
	int n, next, finished, threads;
} jobs;

static void worker(void)
{
	sys_lock(true);
	for (;;) {
		if (jobs.next == jobs.n) {
			sys_wait(0, -1);
			continue;
		}
		int i = jobs.next++;
		void (*job)(void *, int) = jobs.job;
		void *ctx = jobs.ctx;
		sys_lock(false);
		job(ctx, i);
		sys_lock(true);
		if (++jobs.finished == jobs.n)
			sys_wake(1);
	}
}

int jobs_run(int n, void (*job)(void *, int), void *ctx)
{
	sys_lock(true);
	if (jobs.finished == jobs.n) {   /* else the round an event interrupted */
		while (jobs.threads < n && sys_thread(worker))
			jobs.threads++;
		jobs = {job, ctx, n, jobs.threads ? 0 : n, jobs.threads ? 0 : n, jobs.threads};
		sys_wake(0);
	}
	for (int i = 0; !jobs.threads && i < n; i++)
		job(ctx, i);
	while (jobs.finished < jobs.n && sys_event_recorded() < 0)
		sys_wait(1, 50);   /* an event looked for every 50 ms */
	int r = jobs.finished < jobs.n ? EINTR : 0;
	sys_lock(false);
	return r;
}
