/*
 * The one end of every run (end.h), for STOP, a fatal error and an event
 * from outside. Whoever comes second finds the lock held for good: a
 * handler on another thread waits, or gives up; a signal is never
 * answered. So a run never says "Interrupt" and then ends with status 0.
 */
#include "runtime/end.h"
#include "runtime/f2c.h"
#include "runtime/fatal.h"
#include "runtime/units.h"

/* Each event's message and status, in the order of sys_event. */
static const char *const event_messages[] = {"Interrupt", "Killed", "Floating Exception", "IOT Trap"};
static const int event_status[] = {1, 1, 3, 3};

void end_run(int status)
{
	int err;
	unit *failed = units_close_all(&err);
	if (failed && status == 0)
		fatal(err, "close", failed);
	if (status == 3) {
		write_text(2, SYS_CONSOLE_LINE_END);
		write_line(2, "abnormal program termination");
	}
	end_process(status);
}

void end_on_event(sys_event e)
{
	write_line(2, event_messages[e]);
	end_run(event_status[e]);
}

void end_leaving_units(sys_event e)
{
	write_line(2, event_messages[e]);
	end_process(event_status[e]);
}

int s_stop(char *, ftnlen)
{
	end_run(0);
}
