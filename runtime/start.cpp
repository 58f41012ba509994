/*
 * Program start-up: make sure descriptors 0-2 are open, install the signal
 * handlers, connect the console units, arrange for the units to be closed
 * at exit, and run the main program.
 */
#include "runtime/f2c.h"
#include "runtime/signals.h"
#include "runtime/units.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

int xargc;
char **xargv;

/* A standard descriptor that was closed when the program started is
 * opened on /dev/null, so that no data file can take its number and
 * receive console text. */
static void open_standard_descriptors(void)
{
	for (int fd = 0; fd <= 2; fd++) {
		if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
			continue;
		/* the lowest free number is fd itself */
		if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
			_exit(3);
	}
}

int main(int argc, char **argv)
{
	xargc = argc;
	xargv = argv;
	open_standard_descriptors();
	signals_install();
	units_init();
	atexit(f_exit);
	MAIN__();   /* ends by STOP */
	return 0;
}
