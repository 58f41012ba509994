/*
 * The one end of every run (end.cpp): the message, if any; every unit
 * closed, the lock taken for good (strictly for status 0: a unit that
 * cannot be written out is a fatal error); "abnormal program termination"
 * for status 3; the end of the process.
 */
#ifndef KORVEX_END_H
#define KORVEX_END_H

#include "runtime/platform.h"

/* Closes every unit and ends the process with status. */
[[noreturn]] void end_run(int status);

/* The answers to an event (sys_start): its message and status, the units
 * closed (the lock held) or left as they are. */
void end_on_event(sys_event e);
void end_leaving_units(sys_event e);

/* The exit of the process, at once. The program's start-up supplies it;
 * a harness that runs the program in its own process supplies its own. */
[[noreturn]] void end_process(int status);

#endif
