/*
 * The jobs' threads (jobs.h) on Windows: one slim lock and two condition
 * variables, threads of 64 KiB. The event rule: platform.h.
 */
#include "runtime/platform.h"

#include <windows.h>

static SRWLOCK lock = SRWLOCK_INIT;
static CONDITION_VARIABLE conditions[2] = {CONDITION_VARIABLE_INIT, CONDITION_VARIABLE_INIT};

void sys_lock(bool take)
{
	take ? AcquireSRWLockExclusive(&lock) : ReleaseSRWLockExclusive(&lock);
}

void sys_wait(int c, int ms)
{
	SleepConditionVariableSRW(&conditions[c], &lock, ms < 0 ? INFINITE : (DWORD)ms, 0);
}

void sys_wake(int c)
{
	WakeConditionVariable(&conditions[c]);
}

static DWORD WINAPI thread_start(void *run)
{
	((void (*)(void))run)();
	return 0;
}

/* The threads started, each waited for at the end: a process that exits
 * while one is still ending may be killed by 32-bit Wine's server. */
static HANDLE started[MAXIMUM_WAIT_OBJECTS];
static int n_started;

bool sys_thread(void (*run)(void))
{
	HANDLE h = n_started < MAXIMUM_WAIT_OBJECTS ? CreateThread(nullptr, 65536, thread_start, (void *)run, 0, nullptr)
	                                            : nullptr;
	if (h)
		started[n_started++] = h;
	return h;
}

void sys_threads_ended(void)
{
	if (n_started)
		WaitForMultipleObjects((DWORD)n_started, started, TRUE, INFINITE);
	while (n_started > 0)
		CloseHandle(started[--n_started]);
}
