/*
 * Jobs that only do file operations, done by threads while the run waits
 * (jobs.cpp): a batch's FILEs in flight together. Events: platform.h.
 */
#ifndef KORVEX_JOBS_H
#define KORVEX_JOBS_H

/* Starts a round of jobs, job(ctx, i) for each i in [0, n), up to n at
 * once, on threads that only do file operations and take no signal
 * (started as needed and kept for the run); where none starts, the
 * calling thread does them here, in turn. The last round must have been
 * waited for: jobs_wait returns 0 once its jobs are done, or EINTR where
 * an event came first (the jobs go on). */
void jobs_start(int n, void (*job)(void *ctx, int i), void *ctx);
int jobs_wait(void);

/* The threads ended, once their jobs are done (unless an event comes
 * first), so that the process ends with the thread that runs the program
 * alone. */
void jobs_end(void);

#endif
