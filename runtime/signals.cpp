/*
 * The run-time's answer to an interrupt, a termination request, a
 * floating-point exception or an abort.
 */
#include "runtime/signals.h"

#include "runtime/io_state.h"

void on_event(run_event e)
{
	static const char *const messages[] = {"Interrupt", "Killed", "Floating Exception", "IOT Trap"};
	say(messages[e]);
	say(SYS_CONSOLE_LINE_END);
	if (e == EVENT_INTERRUPT || e == EVENT_TERMINATE) {
		units_close_all_quietly();
		end_run(1);
	}
	abnormal_end();
}
