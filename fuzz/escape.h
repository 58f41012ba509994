// Fuzz harness support: a run that would end (STOP or a fatal error)
// comes back to the harness instead (fuzz/end_process.cpp), and the console
// units are reconnected to memory and /dev/null for the next input.
#ifndef KORVEX_FUZZ_ESCAPE_H
#define KORVEX_FUZZ_ESCAPE_H

#include "runtime/end.h"
#include "runtime/units.h"
#include "tests/support.h"

#include <fcntl.h>
#include <setjmp.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

// Where end_process goes, and the status it was given.
extern jmp_buf escape_point;
extern int escape_status;

// Units 0, 5 and 6 as at start-up, with unit 5 reading data[0..size) and
// units 0 and 6 writing to /dev/null.
inline void reset_console(const void *data, size_t size)
{
	static int devnull = open("/dev/null", O_WRONLY);
	static memory_source console;
	int err;
	units_close_all(&err);   // a statement that did not end the run leaves its units
	units_init();
	units[0].fd = units[6].fd = devnull;
	open_memory(&units[5].in, &console, (const char *)data, size);
}

#define CHECK(cond) \
	do { \
		if (!(cond)) \
			abort(); \
	} while (0)

#endif
