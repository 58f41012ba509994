/*
 * Program start-up and the end of every run: the platform's start-up,
 * the console units, the main program; at the end, the process exits.
 */
#include "runtime/f2c.h"
#include "runtime/io_state.h"

#ifdef KORVEX_COVERAGE
extern "C" void __gcov_dump(void);
#endif

void end_run(int status)
{
#ifdef KORVEX_COVERAGE
	__gcov_dump();   /* the process ends without exit(3) */
#endif
	sys_exit(status);
}

int main(void)
{
	sys_start();
	units_init();
	MAIN__();   /* ends by STOP */
	f_exit();
	end_run(0);
}
