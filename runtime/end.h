/*
 * The one end of every run (end.cpp): the message, if any; every unit
 * closed (strictly for status 0); "abnormal program termination" for
 * status 3; the end of the process. And the safe points of the run.
 */
#ifndef KORVEX_END_H
#define KORVEX_END_H

#include "runtime/platform.h"

/* Closes every unit and ends the process with status. */
[[noreturn]] void end_run(int status);

/* From now on the run is ending: no event is answered, and a stuck
 * console does not hold it (fatal calls it before its diagnostic). */
void end_begin(void);

/* A safe point, no unit half changed: a recorded event is answered (and
 * this does not return) unless the run is ending. Returns whether it is. */
bool end_safe_point(void);

/* The answer to an event: its message and status, every unit closed. */
void end_on_event(sys_event e);

/* The exit of the process, at once. The program's start-up supplies it;
 * a harness that runs the program in its own process supplies its own. */
[[noreturn]] void end_process(int status);

#endif
