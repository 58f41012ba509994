/*
 * The list-directed reader. An item is found by skipping blanks, tabs and
 * line ends; a comma there is a null value, a slash ends the list. A value
 * is   [r*] [sign] digits [. digits] [exponent]   (r* alone before , or /: r nulls)
 * where the exponent is one of D E d e with an optional sign and digits,
 * or a sign directly after the digits (1.5-3). A value ends at the first
 * character that cannot continue it, which is read again. After each value
 * (also each one taken from a repeat group) the blanks and tabs that
 * follow and one comma after them are its separator; a line end closes it.
 */
#include "runtime/lread.h"

#include "runtime/digits.h"

#include <stdlib.h>

enum { SIG_DIGITS = 40, EXPONENT_MAX = 99999999 };
static const long long REPEAT_CAP = 100000000000000000LL;   /* far beyond any list */

/* Character classes. */
enum { C_OTHER, C_DIGIT, C_SIGN, C_POINT, C_EXP, C_BLANK, C_EOL, C_COMMA, C_SLASH, C_STAR, C_END };

/* The class of c, a character from text_getc: C_END for the end of the
 * data and for a read error. */
static int char_class(int c)
{
	switch (c) {
	case '0': case '1': case '2': case '3': case '4':
	case '5': case '6': case '7': case '8': case '9': return C_DIGIT;
	case '+': case '-': return C_SIGN;
	case '.': return C_POINT;
	case 'D': case 'E': case 'd': case 'e': return C_EXP;
	case ' ': case '\t': return C_BLANK;
	case '\n': return C_EOL;
	case ',': return C_COMMA;
	case '/': return C_SLASH;
	case '*': return C_STAR;
	default: return c < 0 ? C_END : C_OTHER;
	}
}

/* The digits of a value's mantissa, as far as they count. */
struct mantissa {
	char digits[SIG_DIGITS];
	int kept;               /* significant digits kept: the first is not 0 */
	long long all;          /* every digit seen, leading zeros included */
	long long scale;        /* power of ten the kept digits are multiplied by */
};

static void add_digit(mantissa *m, int c, bool after_point)
{
	m->all++;
	if (m->kept == 0 && c == '0') {
		if (after_point)
			m->scale--;     /* a leading zero after the point */
		return;
	}
	if (m->kept < SIG_DIGITS) {
		m->digits[m->kept++] = (char)c;
		if (after_point)
			m->scale--;
	} else if (!after_point) {
		m->scale++;         /* an integer digit beyond the 40th */
	}
}

static int read_digits(text_in *t, mantissa *m, bool after_point)
{
	int c;
	while (char_class(c = text_getc(t)) == C_DIGIT)
		add_digit(m, c, after_point);
	return c;
}

static double convert(const mantissa *m, long long exponent, bool negative)
{
	if (m->kept == 0)
		return negative ? -0.0 : 0.0;
	long long e = m->scale + exponent;
	if (e > 999999999)
		e = 999999999;
	if (e < -999999999)
		e = -999999999;
	char text[SIG_DIGITS + 16];
	int n = 0;
	if (negative)
		text[n++] = '-';
	for (int i = 0; i < m->kept; i++)
		text[n++] = m->digits[i];
	text[n++] = 'e';
	if (e < 0) {
		text[n++] = '-';
		e = -e;
	}
	char *end = text + sizeof text - 1;
	*end = '\0';
	for (const char *q = digits_before(end, (unsigned long long)e); q <= end;)
		text[n++] = *q++;
	return strtod(text, nullptr);
}

/* The start of an item: [sign] digits [. digits], and the character after
 * it, not yet handed back. */
struct item_start {
	mantissa m;
	bool negative, sign, point;
	int next;
};

static void read_start(text_in *t, item_start *it)
{
	*it = item_start{};
	int c = text_getc(t);
	if (char_class(c) == C_SIGN) {
		it->sign = true;
		it->negative = c == '-';
		c = text_getc(t);
	}
	if (char_class(c) == C_DIGIT) {
		add_digit(&it->m, c, false);
		c = read_digits(t, &it->m, false);
	}
	if (char_class(c) == C_POINT) {
		it->point = true;
		c = read_digits(t, &it->m, true);
	}
	it->next = c;
}

/* The rest of a value whose start is read: its exponent, if any, and the
 * value into r (a lone sign or point before a comma or slash is a null
 * value). The character that ends it is handed back. */
static lread_status read_value(text_in *t, lread *r, const item_start *it)
{
	int c = it->next, k = char_class(c);
	r->null = false;
	if (it->m.all == 0) {
		if ((it->sign || it->point) && (k == C_COMMA || k == C_SLASH)) {
			text_ungetc(t, c);
			r->null = true;
			return LREAD_OK;
		}
		if (it->sign || it->point || k != C_EXP)
			return LREAD_INVALID;
		/* a bare exponent: its mantissa is zero */
	}

	long long exponent = 0;
	if (k == C_EXP || k == C_SIGN) {   /* a sign here follows digits */
		bool exp_negative = c == '-';
		c = text_getc(t);
		if (k == C_EXP && char_class(c) == C_SIGN) {
			exp_negative = c == '-';
			c = text_getc(t);
		}
		if (char_class(c) != C_DIGIT)
			return LREAD_EXPONENT;
		for (; char_class(c) == C_DIGIT; c = text_getc(t)) {
			exponent = exponent * 10 + (c - '0');
			if (exponent > EXPONENT_MAX)
				return LREAD_EXPONENT;
		}
		if (exp_negative)
			exponent = -exponent;
	}
	text_ungetc(t, c);
	r->value = convert(&it->m, exponent, it->negative);
	return LREAD_OK;
}

/* A repeat group whose count is read, the star consumed: r*c gives count
 * values c, r* before a comma or slash count null values. */
static lread_status read_repeat(text_in *t, lread *r, const mantissa *count_digits)
{
	/* digits only, not zero, at most 40 of them (so scale is 0); saturated */
	long long count = 0;
	for (int i = 0; i < count_digits->kept; i++)
		count = count < REPEAT_CAP ? count * 10 + (count_digits->digits[i] - '0') : REPEAT_CAP;
	int c = text_getc(t), k = char_class(c);
	if (k == C_BLANK || k == C_EOL || k == C_END)
		return LREAD_INVALID;
	text_ungetc(t, c);
	lread_status s = LREAD_OK;
	r->null = true;
	if (k != C_COMMA && k != C_SLASH) {
		item_start value;
		read_start(t, &value);
		s = read_value(t, r, &value);   /* a star after it is not another count */
	}
	r->count = count;
	return s;
}

/* Reads the item that starts here: a value (count 1) or a repeat group. */
static lread_status read_item(text_in *t, lread *r)
{
	item_start it;
	read_start(t, &it);
	/* a star after a decimal point cannot continue the value: the value
	 * ends there and the star starts the next item */
	if (char_class(it.next) == C_STAR && !it.point) {
		if (it.negative || it.m.kept == 0 || it.m.all > SIG_DIGITS)
			return LREAD_REPEAT;
		return read_repeat(t, r, &it.m);
	}
	r->count = 1;
	return read_value(t, r, &it);
}

void lread_start(lread *r)
{
	*r = lread{};
}

/* lread_item without the read-error check. */
static lread_status item_unchecked(lread *r, text_in *t, double *value, bool *assigned)
{
	*assigned = false;
	if (r->quit)
		return LREAD_OK;
	if (r->count == 0) {
		int c, k;
		while ((k = char_class(c = text_getc(t))) == C_BLANK || k == C_EOL)
			;
		if (k == C_END)
			return LREAD_END;
		if (k == C_SLASH) {
			r->quit = true;
			return LREAD_OK;
		}
		if (k == C_COMMA)
			return LREAD_OK;
		text_ungetc(t, c);
		lread_status s = read_item(t, r);
		if (s != LREAD_OK)
			return s;
	}
	r->count--;
	if (!r->null) {
		*value = r->value;
		*assigned = true;
	}

	/* the value's separator: blanks and tabs, then one comma */
	int c;
	do
		c = text_getc(t);
	while (char_class(c) == C_BLANK);
	if (char_class(c) != C_COMMA)
		text_ungetc(t, c);
	return LREAD_OK;
}

lread_status lread_item(lread *r, text_in *t, double *value, bool *assigned)
{
	/* a read error is sticky: whatever the item made of the characters
	 * before it, the error is what is reported */
	lread_status s = item_unchecked(r, t, value, assigned);
	return t->error ? LREAD_IOERR : s;
}
