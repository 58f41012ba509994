/*
 * The safe points and the mark that the run is ending (events.h).
 */
#include "runtime/events.h"

static sys_event_answer answer;
static bool ending;

int events_start(sys_event_answer a)
{
	answer = a;
	return sys_start(a);
}

bool events_ending(void)
{
	bool was = ending;
	ending = true;
	return was;
}

void events_resume(void)
{
	ending = false;
}

bool events_safe_point(void)
{
	int e;
	if (!ending && (e = sys_event_recorded()) >= 0)
		answer((sys_event)e);
	return ending;
}
