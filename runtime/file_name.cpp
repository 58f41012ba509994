/*
 * Trimming a blank-padded file name.
 */
#include "runtime/file_name.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

char *trimmed_name(const char *name, ftnlen len)
{
	while (len > 0 && name[len - 1] == ' ')
		len--;
	/* a NUL would cut the name short and name another file */
	if (memchr(name, '\0', (size_t)len)) {
		errno = ENOENT;
		return nullptr;
	}
	char *s = (char *)malloc((size_t)len + 1);
	if (!s)
		return nullptr;
	memcpy(s, name, (size_t)len);
	s[len] = '\0';
	return s;
}
