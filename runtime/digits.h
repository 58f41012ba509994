/*
 * The decimal digits of a number, the one place they are made.
 */
#ifndef KORVEX_DIGITS_H
#define KORVEX_DIGITS_H

/* Writes the digits of v just before end, the last one at end[-1], and
 * returns where they start. Two digits a division: F editing makes
 * hundreds of them a run. */
inline char *digits_before(char *end, unsigned long long v)
{
	static const char pairs[] =
		"00010203040506070809101112131415161718192021222324252627282930313233343536373839"
		"40414243444546474849505152535455565758596061626364656667686970717273747576777879"
		"8081828384858687888990919293949596979899";
	for (; v >= 10; v /= 100) {
		const char *pair = pairs + v % 100 * 2;
		*--end = pair[1];
		*--end = pair[0];
		if (v < 100)
			return end;
	}
	*--end = (char)('0' + v);
	return end;
}

#endif
