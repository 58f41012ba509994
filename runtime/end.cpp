/*
 * The one end of every run (end.h), for STOP, a fatal error and an event
 * from outside. Whoever comes second waits for the lock (a handler on
 * another thread) or is held back (a signal), and the process ends while
 * it waits: a run never says "Interrupt" and then ends with status 0.
 */
#include "runtime/end.h"
#include "runtime/f2c.h"
#include "runtime/io_state.h"

#include <atomic>

static std::atomic<bool> ending;

void end_hold(void)
{
	sys_lock_buffers();
	ending = true;
}

/* Closes every connected unit, its buffered output written. Strict (a
 * normal end): a unit that fails is a fatal error, whose end closes the
 * rest; quiet: every failure is ignored. */
static void close_all(bool strict)
{
	for (unit &u : units) {
		if (!u.connected)
			continue;
		int err = unit_close(&u);
		if (err && strict) {
			io.cur = &u;
			fatal(err, "close");
		}
	}
}

void end_run(int status)
{
	close_all(status == 0);
	if (status == 3) {
		write_stderr(SYS_CONSOLE_LINE_END);
		write_stderr_line("abnormal program termination");
	}
	end_process(status);
}

void end_on_event(sys_event e, bool buffers_stuck)
{
	static const char *const messages[] = {"Interrupt", "Killed", "Floating Exception", "IOT Trap"};
	int status = e == SYS_INTERRUPT || e == SYS_TERMINATE ? 1 : 3;
	if (buffers_stuck && ending)
		return;   /* the run is ending already, and its end stands */
	if (!buffers_stuck)
		end_hold();
	write_stderr_line(messages[e]);
	if (buffers_stuck)
		end_process(status);   /* a write that does not end: its buffer is left alone */
	end_run(status);
}

int s_stop(char *, ftnlen)
{
	end_hold();
	end_run(0);
}
