/*
 * A check's verdicts (listing.h).
 */
#include "driver/listing.h"

#include "runtime/digits.h"

/* A record as a quoted text, without its line end where that is CR LF;
 * a quote, a backslash or a byte not printable in ASCII as \xHH. */
static const char *shown(char *out, const char *record)
{
	char *p = out;
	*p++ = '"';
	for (int i = 0; i < (memcmp(record + 16, "\r\n", 2) ? 18 : 16); i++) {
		unsigned char c = (unsigned char)record[i];
		if (c < ' ' || c > '~' || c == '"' || c == '\\')
			p += 4, memcpy(p - 4, "\\x", 2), p[-2] = "0123456789abcdef"[c >> 4], p[-1] = "0123456789abcdef"[c & 15];
		else
			*p++ = (char)c;
	}
	strcpy(p, "\"");
	return out;
}

bool listed_verdict(const char *imp, const char *made, const char *archived, long long size, bool *same)
{
	char digits[24] = "", a[80], b[80];
	long long at = 0;
	if ((*same = archived && size == TABLE_BYTES && memcmp(made, archived, TABLE_BYTES) == 0))
		return listed(imp, ": same");
	if (!archived || size != TABLE_BYTES)
		return listed(imp, !archived ? ": missing" : ": not a table: ",
		              !archived || size < 0 ? "" : digits_before(digits + 23, (unsigned long long)size),
		              !archived ? "" : size < 0 ? "not a regular file" : " bytes");
	while (made[at] == archived[at])
		at++;
	at -= at % 18;
	return listed(imp, ": differs: record ", digits_before(digits + 23, (unsigned long long)at / 18 + 1),
	              ": archived ", shown(a, archived + at), ", made ", shown(b, made + at));
}
