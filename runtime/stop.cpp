/*
 * Normal termination: STOP, and the closing of every unit. A unit whose
 * buffered output cannot be written out makes the run fail; it is never
 * reported as success.
 */
#include "runtime/f2c.h"
#include "runtime/io_state.h"

void f_exit(void)
{
	for (unit &u : units) {
		if (!u.connected)
			continue;
		int err = unit_close(&u);
		if (err) {
			io.cur = &u;
			fatal(err, "close");
		}
	}
}

int s_stop(char *text, ftnlen len)
{
	if (len > 0) {
		say("STOP ");
		sys_write_all(2, text, (size_t)len);
		say(SYS_CONSOLE_LINE_END);
	}
	f_exit();
	end_run(0);
}
