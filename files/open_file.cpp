/*
 * open_old_file and open_new_file: one OPEN each, with status "old" or
 * "new" and nothing else specified.
 */
#include "files/unit_files.h"

static int open_with_status(integer *unit, char *name, ftnlen name_len, const char *status)
{
	olist o = {0, *unit, name, name_len, (char *)status, nullptr, nullptr, 0, nullptr};
	f_open(&o);
	return 0;
}

int open_old_file(integer *unit, char *name, ftnlen name_len)
{
	return open_with_status(unit, name, name_len, "old");
}

int open_new_file(integer *unit, char *name, ftnlen name_len)
{
	return open_with_status(unit, name, name_len, "new");
}
