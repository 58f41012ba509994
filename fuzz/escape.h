// Fuzz harness support: a run that would end (STOP or a fatal error)
// comes back here instead, and the console units are reconnected to
// memory and /dev/null for the next input.
#ifndef KORVEX_FUZZ_ESCAPE_H
#define KORVEX_FUZZ_ESCAPE_H

#include "runtime/io_state.h"

#include <fcntl.h>
#include <setjmp.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

inline jmp_buf escape_point;
inline int escape_status;

inline void escape_to_harness(int status)
{
	escape_status = status;
	longjmp(escape_point, 1);
}

// Units 0, 5 and 6 as at start-up, with unit 5 reading data[0..size) and
// units 0 and 6 writing to /dev/null.
inline void reset_console(const void *data, size_t size)
{
	static int devnull = open("/dev/null", O_WRONLY);
	fuzz_escape = escape_to_harness;
	units_init();
	units[0].fd = units[6].fd = devnull;
	source_string(&units[5].src, (const char *)data, size);
	text_open(&units[5].in, &units[5].src);
}

#define CHECK(cond) \
	do { \
		if (!(cond)) \
			abort(); \
	} while (0)

#endif
