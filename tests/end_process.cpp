// The end of a run inside a test process: a normal exit, so that a death
// test sees the status.
#include "runtime/end.h"

#include <stdlib.h>

void end_process(int status)
{
	exit(status);
}
