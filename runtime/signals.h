/*
 * The events that end a run from outside the program, and what the
 * run-time does on each.
 */
#ifndef KORVEX_SIGNALS_H
#define KORVEX_SIGNALS_H

enum run_event {
	EVENT_INTERRUPT,   /* "Interrupt", status 1 */
	EVENT_TERMINATE,   /* "Killed", status 1 */
	EVENT_FP,          /* "Floating Exception", abnormal end */
	EVENT_ABORT,       /* "IOT Trap", abnormal end */
};

/* Writes the event's message, closes every unit with its buffered output
 * written, and ends the run. Called by the platform's handlers, which see
 * to it that no buffer is being written out meanwhile; uses only the
 * platform's raw calls. */
[[noreturn]] void on_event(run_event e);

#endif
