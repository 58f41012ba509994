/*
 * The run's side of the event rule (platform.h): the safe points where a
 * recorded event is answered, and the mark that the run is ending.
 */
#ifndef KORVEX_EVENTS_H
#define KORVEX_EVENTS_H

#include "runtime/platform.h"

#include <errno.h>

/* The platform's start-up (sys_start), with answer as the answer to every
 * event; 0 or an errno. */
int events_start(sys_event_answer answer);

/* From now on the run is ending and no event is answered; returns
 * whether it already was. */
bool events_ending(void);

/* The run goes on after all (a batch's next file): events are answered. */
void events_resume(void);

/* A safe point, no unit half changed: a recorded event is answered (and
 * this does not return) unless the run is ending. Returns whether it is. */
extern bool events_ending_now;
bool events_answer(void);
inline bool events_safe_point(void)
{
	return events_ending_now || sys_event_recorded() < 0 ? events_ending_now : events_answer();
}

/* Whether a call that returned r was interrupted (-1, EINTR) and is to be
 * made again, a safe point passed. */
inline bool events_retry(long r)
{
	return r < 0 && errno == EINTR && (events_safe_point(), true);
}

#endif
