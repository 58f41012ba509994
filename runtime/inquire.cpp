/*
 * INQUIRE (f_inqu) by file name, with EXIST= the only specifier the
 * program gives: whether the file-status query on the trimmed name
 * succeeds (a directory counts). The inquiry never fails.
 */
#include "runtime/f2c.h"
#include "runtime/file_name.h"
#include "runtime/platform.h"

integer f_inqu(inlist *a)
{
	char name[NAME_MAX_BYTES];
	if (a->inex)
		*a->inex = trimmed_name(name, a->infile, a->infilen) && sys_exists(name);
	return 0;
}
