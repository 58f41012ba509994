/*
 * The one end of every run (end.cpp). end_hold takes the buffers' lock
 * for good, so that no event handler writes anything from then on; then
 * comes the message, if any; then end_run closes every unit (strictly for
 * status 0: a unit that cannot be written out is a fatal error), writes
 * "abnormal program termination" for status 3 and ends the process.
 */
#ifndef KORVEX_END_H
#define KORVEX_END_H

#include "runtime/platform.h"

void end_hold(void);
[[noreturn]] void end_run(int status);

/* The run-time's answer to an event from outside, handed to sys_start. */
void end_on_event(sys_event e, bool buffers_stuck);

/* The exit of the process, at once. The program's start-up supplies it;
 * a harness that runs the program in its own process supplies its own. */
[[noreturn]] void end_process(int status);

#endif
