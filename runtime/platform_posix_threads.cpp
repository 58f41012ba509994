/*
 * The jobs' threads (jobs.h) on POSIX: one mutex and two conditions, each
 * thread started with every signal blocked and joined at the end. The
 * event rule: platform.h.
 */
#include "runtime/platform.h"

#include <pthread.h>
#include <signal.h>
#include <time.h>

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t conditions[2] = {PTHREAD_COND_INITIALIZER, PTHREAD_COND_INITIALIZER};

void sys_lock(bool take)
{
	take ? pthread_mutex_lock(&lock) : pthread_mutex_unlock(&lock);
}

void sys_wait(int c, int ms)
{
	/* the realtime clock's: all POSIX has (macOS: no clock for a condition) */
	struct timespec t;
	clock_gettime(CLOCK_REALTIME, &t);
	t.tv_nsec += ms * 1000000L;
	t.tv_sec += t.tv_nsec / 1000000000, t.tv_nsec %= 1000000000;
	ms < 0 ? pthread_cond_wait(&conditions[c], &lock) : pthread_cond_timedwait(&conditions[c], &lock, &t);
}

void sys_wake(int c)
{
	pthread_cond_signal(&conditions[c]);
}

static void *thread_start(void *run)
{
	((void (*)(void))run)();
	return nullptr;
}

/* The threads started, each joined at the end. */
static pthread_t started[64];
static int n_started;

bool sys_thread(void (*run)(void))
{
	sigset_t all, old;
	pthread_attr_t attr;
	sigfillset(&all);
	pthread_sigmask(SIG_BLOCK, &all, &old);   /* the thread's mask, inherited */
	pthread_attr_init(&attr);
	pthread_attr_setstacksize(&attr, 65536);
	bool started_one = n_started < 64 && pthread_create(&started[n_started], &attr, thread_start, (void *)run) == 0;
	n_started += started_one;
	pthread_attr_destroy(&attr);
	pthread_sigmask(SIG_SETMASK, &old, nullptr);
	return started_one;
}

void sys_threads_ended(void)
{
	while (n_started > 0)
		pthread_join(started[--n_started], nullptr);
}
