/*
 * INQUIRE (f_inqu) by file name, with EXIST= the only specifier the
 * program gives: whether the file-status query on the trimmed name
 * succeeds (a directory counts). The inquiry never fails.
 */
#include "runtime/f2c.h"
#include "runtime/file_name.h"
#include "runtime/platform.h"

#include <stdlib.h>

integer f_inqu(inlist *a)
{
	char *name = trimmed_name(a->infile, a->infilen);
	if (a->inex)
		*a->inex = name && sys_exists(name);
	free(name);
	return 0;
}
