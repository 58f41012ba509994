/*
 * Jobs that only do file operations, done by threads while the run waits
 * (jobs.cpp): a batch's FILEs in flight together. Events: platform.h.
 */
#ifndef KORVEX_JOBS_H
#define KORVEX_JOBS_H

/* Calls job(ctx, i) for each i in [0, n), up to n at once, on threads that
 * only do file operations and take no signal (started as needed and kept
 * for the run), while the calling thread waits; where none starts, the
 * calling thread does them in turn. 0 once all are done, or EINTR where
 * an event came first: the jobs go on, and a call again (with any
 * arguments) waits for them. */
int jobs_run(int n, void (*job)(void *ctx, int i), void *ctx);

#endif
