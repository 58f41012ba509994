/*
 * erase_old_file: OPEN with status "old", then CLOSE with status "delete".
 */
#include "files/unit_files.h"

int erase_old_file(integer *unit, char *name, ftnlen name_len)
{
	open_old_file(unit, name, name_len);
	cllist c = {0, *unit, (char *)"delete"};
	f_clos(&c);
	return 0;
}
