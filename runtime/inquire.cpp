/*
 * INQUIRE (f_inqu): by file name, whether the file exists (a directory
 * counts) and whether a unit is connected to it; by unit, whether the
 * unit exists and is connected. The inquiry never fails.
 */
#include "runtime/f2c.h"
#include "runtime/file_name.h"
#include "runtime/platform.h"
#include "runtime/units.h"

#include <stdlib.h>
#include <string.h>

integer f_inqu(inlist *a)
{
	bool exists = false, opened = false;
	long number = -1;
	if (a->infile) {
		char *name = trimmed_name(a->infile, a->infilen);
		exists = name && sys_exists(name);
		for (long n = 0; name && n < MAX_UNITS; n++) {
			if (units[n].connected && units[n].name && strcmp(units[n].name, name) == 0) {
				opened = true;
				number = n;
				break;
			}
		}
		free(name);
	} else {
		unit *u = unit_at(a->inunit);
		exists = u != nullptr;
		opened = u && u->connected;
		number = opened ? a->inunit : -1;
	}
	if (a->inex)
		*a->inex = exists;
	if (a->inopen)
		*a->inopen = opened;
	if (a->innum)
		*a->innum = (ftnint)number;
	return 0;
}
