/*
 * Compiling and walking a format.
 */
#include "runtime/format.h"

namespace {

struct parser {
	fmt_program *p;
	const char *s;
	int n;              /* operations so far */
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

/* Reads an unsigned number of at most limit; false if absent or too big. */
bool number(parser &ps, int limit, int *out)
{
	if (!is_digit(*ps.s))
		return false;
	long v = 0;
	while (is_digit(*ps.s)) {
		v = v * 10 + (*ps.s++ - '0');
		if (v > limit)
			return false;
	}
	*out = (int)v;
	return true;
}

/* The next operation, or null when the program is full; the last slot is
 * kept for OP_END. */
fmt_op *emit(parser &ps, fmt_kind kind)
{
	if (ps.n >= FMT_MAX_OPS - (kind != OP_END))
		return nullptr;
	fmt_op *op = &ps.p->ops[ps.n++];
	*op = fmt_op{kind, 1, 0, 0, nullptr, 0};
	return op;
}

/* A literal, split at each doubled delimiter into pieces that stand in
 * the text as they are written: 'it''s' is "it'" and "s". */
bool literal(parser &ps)
{
	char delim = *ps.s++;
	const char *start = ps.s;
	for (;; ps.s++) {
		if (*ps.s == '\0')
			return false;
		if (*ps.s != delim)
			continue;
		bool doubled = delim != '\002' && ps.s[1] == delim;
		fmt_op *op = emit(ps, OP_LITERAL);
		if (!op)
			return false;
		op->text = start;
		op->len = (int)(ps.s - start) + doubled;
		if (!doubled)
			break;
		start = ++ps.s + 1;
	}
	ps.s++;
	return true;
}

/* Aw, A or Fw.d, with its repeat count. */
bool data(parser &ps, int rep)
{
	char c = *ps.s++;
	fmt_op *op = emit(ps, (c == 'a' || c == 'A') ? OP_A : OP_F);
	if (!op)
		return false;
	op->rep = rep;
	if (op->kind == OP_A)
		return !is_digit(*ps.s) || (number(ps, FMT_MAX_WIDTH, &op->w) && op->w > 0);
	if (!number(ps, FMT_F_MAX_WIDTH, &op->w) || op->w == 0 || *ps.s++ != '.')
		return false;
	return number(ps, FMT_F_MAX_DECIMALS, &op->d);
}

bool is_data(char c) { return c == 'a' || c == 'A' || c == 'f' || c == 'F'; }

} // namespace

bool fmt_parse(fmt_program *p, const char *text)
{
	parser ps{p, text, 0};
	while (*ps.s == ' ')
		ps.s++;
	if (*ps.s++ != '(')
		return false;
	for (;;) {
		while (*ps.s == ' ' || *ps.s == ',')
			ps.s++;
		char c = *ps.s;
		if (is_digit(c)) {
			int rep;
			if (!number(ps, FMT_MAX_REPEAT, &rep) || rep == 0)
				return false;
			while (*ps.s == ' ')
				ps.s++;
			if (!is_data(*ps.s) || !data(ps, rep))
				return false;
		} else if (is_data(c)) {
			if (!data(ps, 1))
				return false;
		} else if (c == '\'' || c == '"' || c == '\002') {
			if (!literal(ps))
				return false;
		} else if (c == '/' || c == '$') {
			ps.s++;
			if (!emit(ps, c == '/' ? OP_SLASH : OP_DOLLAR))
				return false;
		} else {
			return c == ')' && emit(ps, OP_END);
		}
	}
}

void fmt_start(fmt_run *r, const fmt_program *p)
{
	*r = fmt_run{p, 0, 0, false};
}

fmt_step fmt_next(fmt_run *r, bool want_data, const fmt_op **op)
{
	for (;;) {
		const fmt_op *o = &r->prog->ops[r->pc];
		switch (o->kind) {
		case OP_LITERAL:
			r->pc++;
			*op = o;
			return STEP_LITERAL;
		case OP_SLASH:
			r->pc++;
			return STEP_RECORD;
		case OP_DOLLAR:
			r->pc++;
			r->no_line_end = true;
			continue;
		case OP_END:
			return want_data ? STEP_ERROR : STEP_END;
		case OP_A:
		case OP_F:
			if (!want_data)
				return STEP_END;
			if (r->rep_left == 0)
				r->rep_left = o->rep;
			if (--r->rep_left == 0)
				r->pc++;
			*op = o;
			return STEP_DATA;
		}
	}
}
