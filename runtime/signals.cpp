/*
 * The run-time's signal handlers. An interrupt or a termination request
 * ends the run with status 1 after closing every unit; a floating-point
 * exception or an abort ends it abnormally (status 3). The handlers use
 * only write(2), close(2) and _exit(2).
 */
#include "runtime/signals.h"

#include "runtime/io_state.h"

#include <signal.h>
#include <string.h>
#include <unistd.h>

static void say_line(const char *s)
{
	say(s, strlen(s));
	say("\n", 1);
}

static void on_signal(int sig)
{
	switch (sig) {
	case SIGINT:
	case SIGTERM:
		say_line(sig == SIGINT ? "Interrupt" : "Killed");
		units_close_all_quietly();
		coverage_dump();
		_exit(1);
	case SIGFPE:
		say_line("Floating Exception");
		abnormal_end();
	default:
		say_line("IOT Trap");
		abnormal_end();
	}
}

void signals_install(void)
{
	struct sigaction sa;
	memset(&sa, 0, sizeof sa);
	sa.sa_handler = on_signal;
	sigemptyset(&sa.sa_mask);
	sigaddset(&sa.sa_mask, SIGINT);
	sigaddset(&sa.sa_mask, SIGTERM);
	sigaddset(&sa.sa_mask, SIGFPE);
	sigaddset(&sa.sa_mask, SIGABRT);

	/* an interrupt that was ignored when the program started stays ignored */
	struct sigaction old;
	if (sigaction(SIGINT, &sa, &old) == 0 && old.sa_handler == SIG_IGN)
		sigaction(SIGINT, &old, nullptr);
	sigaction(SIGTERM, &sa, nullptr);
	sigaction(SIGFPE, &sa, nullptr);
	sigaction(SIGABRT, &sa, nullptr);

	/* a console whose reader has gone is like a full one: its text is
	 * dropped and the run goes on, so that the table is still completed */
	signal(SIGPIPE, SIG_IGN);
}
