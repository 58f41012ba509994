/*
 * The safe points and the mark that the run is ending (events.h).
 */
#include "runtime/events.h"

static sys_event_answer answer;
bool events_ending_now;

int events_start(sys_event_answer a)
{
	answer = a;
	return sys_start(a);
}

bool events_ending(void)
{
	bool was = events_ending_now;
	events_ending_now = true;
	return was;
}

void events_resume(void)
{
	events_ending_now = false;
}

bool events_answer(void)
{
	if (answer)
		answer((sys_event)sys_event_recorded());
	return events_ending_now;
}
