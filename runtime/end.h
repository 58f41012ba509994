/*
 * The one end of every run (end.cpp): every unit closed, "abnormal
 * program termination" for status 3, the end of the process. It reports
 * nothing: a failure is fatal's to report (fatal.h).
 */
#ifndef KORVEX_END_H
#define KORVEX_END_H

#include "runtime/platform.h"

/* Closes every unit (what cannot be written is lost) and ends the process
 * with status. */
[[noreturn]] void end_run(int status);

/* The answer to an event: its message and status, every unit closed. */
void end_on_event(sys_event e);

/* The exit of the process, at once. The program's start-up supplies it;
 * a harness that runs the program in its own process supplies its own. */
[[noreturn]] void end_process(int status);

#endif
