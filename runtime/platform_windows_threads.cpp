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

bool sys_thread(void (*run)(void))
{
	HANDLE h = CreateThread(nullptr, 65536, thread_start, (void *)run, 0, nullptr);
	return h && CloseHandle(h);
}
