/*
 * Character helpers: concatenation into a fixed-length target (s_cat) and
 * the declared length of a string (i_len).
 */
#include "runtime/f2c.h"

#include <string.h>

void s_cat(char *target, char *pieces[], ftnint lengths[], ftnint *count, ftnlen target_len)
{
	/* a piece may be the target's own start (name = name(1:n)//'.dat') */
	ftnlen pos = 0;
	for (ftnint i = 0; i < *count && pos < target_len; i++) {
		ftnlen n = lengths[i] < target_len - pos ? lengths[i] : target_len - pos;
		memmove(target + pos, pieces[i], (size_t)n);
		pos += n;
	}
	memset(target + pos, ' ', (size_t)(target_len - pos));
}

integer i_len(char *s, ftnlen len)
{
	(void)s;
	return len;
}
