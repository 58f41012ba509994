/*
 * The one end of every run (end.h), for STOP, a fatal error and an event
 * from outside. Once the run is ending no event is answered: so a run
 * never says "Interrupt" and then ends with status 0.
 */
#include "runtime/end.h"

#include "runtime/events.h"
#include "runtime/units.h"

/* Each event's message and status, in the order of sys_event. */
static const char *const event_messages[] = {"Interrupt", "Killed", "Floating Exception", "IOT Trap"};
static const int event_status[] = {1, 1, 3, 3};

void end_run(int status)
{
	events_ending();
	int err;
	units_close_all(&err);
	if (status == 3)
		write_line(2, SYS_CONSOLE_LINE_END, "abnormal program termination");
	end_process(status);
}

void end_on_event(sys_event e)
{
	if (events_ending())   /* a trap or an abort in the end itself */
		end_process(event_status[e]);
	write_line(2, event_messages[e]);
	end_run(event_status[e]);
}
