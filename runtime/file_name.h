/*
 * File names as the program passes them: fixed-length, blank-padded.
 */
#ifndef KORVEX_FILE_NAME_H
#define KORVEX_FILE_NAME_H

#include "runtime/f2c.h"

/* A NUL-terminated copy of name[0..len) without its trailing blanks
 * (leading and inner blanks kept), from malloc. Null with errno set when
 * out of memory, or (ENOENT) when the name holds a NUL byte: no file has
 * such a name. */
char *trimmed_name(const char *name, ftnlen len);

#endif
