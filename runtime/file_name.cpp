/*
 * Trimming a blank-padded file name.
 */
#include "runtime/file_name.h"

#include <errno.h>
#include <string.h>

bool trimmed_name(char *out, const char *name, ftnlen len)
{
	size_t n = len > 0 ? (size_t)len : 0;
	while (n > 0 && name[n - 1] == ' ')
		n--;
	/* a NUL would cut the name short and name another file */
	if (n >= NAME_MAX_BYTES || memchr(name, '\0', n)) {
		errno = n >= NAME_MAX_BYTES ? ENAMETOOLONG : ENOENT;
		return false;
	}
	memcpy(out, name, n);
	out[n] = '\0';
	return true;
}
