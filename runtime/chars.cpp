/*
 * Character helpers: concatenation into a fixed-length target (s_cat) and
 * the declared length of a string (i_len).
 */
#include "runtime/f2c.h"

#include <string.h>

void s_cat(char *target, char *pieces[], ftnint lengths[], ftnint *count, ftnlen target_len)
{
	/* pieces may overlap the target: gather into a copy first when short,
	 * else copy in place (a piece may only repeat what precedes it) */
	char local[256];
	char *out = target_len <= (ftnlen)sizeof local ? local : target;
	ftnlen pos = 0;
	for (ftnint i = 0; i < *count && pos < target_len; i++) {
		ftnlen n = lengths[i];
		if (n > target_len - pos)
			n = target_len - pos;
		memmove(out + pos, pieces[i], (size_t)n);
		pos += n;
	}
	memset(out + pos, ' ', (size_t)(target_len - pos));
	if (out != target)
		memcpy(target, out, (size_t)target_len);
}

integer i_len(char *s, ftnlen len)
{
	(void)s;
	return len;
}
