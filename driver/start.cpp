/*
 * Program start-up: the platform's start-up, the command-line options,
 * the console units, the main program, which ends by STOP; and the exit
 * of the process.
 */
#include "driver/batch.h"
#include "driver/options.h"
#include "runtime/end.h"
#include "runtime/events.h"
#include "runtime/f2c.h"
#include "runtime/units.h"

#include <stdlib.h>
#include <string.h>

void end_process(int status)
{
	_Exit(status);
}

int main(int argc, char **argv)
{
	if (int err = events_start(end_on_event)) {
		write_line(2, "korvex: cannot start: ", strerror(err));   /* where standard error is open */
		end_process(3);
	}
	int status = answer_option(argc, argv);
	if (status >= 0)
		end_process(status);
	if (status == OPTION_BATCH || status == OPTION_CHECK) {
		char **files;
		int n = sys_file_arguments(argc, argv, 2, &files);
		status = batch_run(n, files, status == OPTION_CHECK);
		sys_console_pause();
		end_run(status);
	}
	units_init();
	MAIN__();
	s_stop(nullptr, 0);   /* should the main program ever return */
}
