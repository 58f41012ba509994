/*
 * Normal termination: STOP, and the closing of every unit at exit. A unit
 * whose buffered output cannot be written out makes the run fail; it is
 * never reported as success.
 */
#include "runtime/f2c.h"
#include "runtime/io_state.h"

#include <stdlib.h>

static void close_units(void)
{
	for (long n = 0; n < MAX_UNITS; n++) {
		if (!units[n].connected)
			continue;
		int err = unit_close(&units[n]);
		if (err) {
			io.unit_no = n;
			fatal(err, "close");
		}
	}
}

void f_exit(void)
{
	static bool done;
	if (done)
		return;
	done = true;
	close_units();
}

int s_stop(char *text, ftnlen len)
{
	if (len > 0) {
		say("STOP ", 5);
		say(text, (size_t)len);
		say("\n", 1);
	}
#ifdef KORVEX_FUZZ
	if (fuzz_escape) {
		close_units();
		fuzz_escape(0);
	}
#endif
	f_exit();
	exit(0);
}
