// The end of a run inside the fuzz harness: back to the harness, with
// the handlers released again (fatal holds them back).
#include "escape.h"

jmp_buf escape_point;
int escape_status;

void end_run(int status)
{
	sys_release_interrupts();
	escape_status = status;
	longjmp(escape_point, 1);
}
