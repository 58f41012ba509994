/*
 * File names as the program passes them: fixed-length, blank-padded.
 */
#ifndef KORVEX_FILE_NAME_H
#define KORVEX_FILE_NAME_H

#include "runtime/f2c.h"
#include "runtime/units.h"

/* name[0..len) without its trailing blanks (leading and inner blanks
 * kept), NUL-terminated in out (NAME_MAX_BYTES). False with errno set
 * when it does not fit (ENAMETOOLONG) or holds a NUL byte (ENOENT): no
 * file has such a name. */
bool trimmed_name(char *out, const char *name, ftnlen len);

#endif
