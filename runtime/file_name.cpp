/*
 * Trimming a blank-padded file name.
 */
#include "runtime/file_name.h"

#include <stdlib.h>
#include <string.h>

char *trimmed_name(const char *name, ftnlen len)
{
	while (len > 0 && name[len - 1] == ' ')
		len--;
	char *s = (char *)malloc((size_t)len + 1);
	if (!s)
		return nullptr;
	memcpy(s, name, (size_t)len);
	s[len] = '\0';
	return s;
}
