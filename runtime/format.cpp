/*
 * Compiling and walking a format.
 */
#include "runtime/format.h"

namespace {

struct parser {
	fmt_program *p;
	const char *s;
	int depth;
	bool data_seen;     /* since the last top-level group opened */
	bool full;          /* more operations than a program holds */
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

/* The next operation; past the last one, a scratch slot and ps.full. */
fmt_op *emit(parser &ps, fmt_kind kind)
{
	static fmt_op scratch;
	fmt_op *op = &scratch;
	if (ps.p->n < FMT_MAX_OPS)
		op = &ps.p->ops[ps.p->n++];
	else
		ps.full = true;
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
		op->text = start;
		op->len = (int)(ps.s - start) + doubled;
		if (!doubled)
			break;
		start = ++ps.s + 1;
	}
	ps.s++;
	return true;
}

bool data(parser &ps, int rep)
{
	char c = *ps.s++;
	fmt_op *op = emit(ps, (c == 'a' || c == 'A') ? OP_A : OP_F);
	op->rep = rep;
	ps.data_seen = true;
	if (op->kind == OP_A) {
		if (is_digit(*ps.s) && (!number(ps, FMT_MAX_WIDTH, &op->w) || op->w == 0))
			return false;
		return true;
	}
	if (!number(ps, FMT_MAX_WIDTH, &op->w) || op->w == 0 || *ps.s++ != '.')
		return false;
	return number(ps, FMT_MAX_WIDTH, &op->d);
}

bool items(parser &ps)
{
	for (;;) {
		while (*ps.s == ' ' || *ps.s == ',')
			ps.s++;
		char c = *ps.s;
		int rep = 1;
		if (is_digit(c)) {
			if (!number(ps, FMT_MAX_REPEAT, &rep) || rep == 0)
				return false;
			while (*ps.s == ' ')
				ps.s++;
			c = *ps.s;
			if (c != '(' && c != 'a' && c != 'A' && c != 'f' && c != 'F')
				return false;
		}
		switch (c) {
		case ')':
			ps.s++;
			emit(ps, --ps.depth == 0 ? OP_END : OP_GROUP_END);
			if (ps.depth == 0)
				return !ps.full;
			continue;
		case '(': {
			if (ps.depth >= FMT_MAX_DEPTH)
				return false;
			ps.s++;
			if (ps.depth++ == 1) {
				ps.p->revert = ps.p->n;
				ps.data_seen = false;
			}
			emit(ps, OP_GROUP)->rep = rep;
			continue;
		}
		case '\'': case '"': case '\002':
			if (!literal(ps))
				return false;
			continue;
		case '/':
		case '$':
			ps.s++;
			emit(ps, c == '/' ? OP_SLASH : OP_DOLLAR);
			continue;
		case 'a': case 'A': case 'f': case 'F':
			if (!data(ps, rep))
				return false;
			continue;
		default:
			return false;
		}
	}
}

} // namespace

bool fmt_parse(fmt_program *p, const char *text)
{
	parser ps{p, text, 0, false, false};
	p->n = 0;
	p->revert = 0;
	while (*ps.s == ' ')
		ps.s++;
	if (*ps.s++ != '(')
		return false;
	ps.depth = 1;
	if (!items(ps))
		return false;
	p->revert_data = ps.data_seen;
	return true;
}

void fmt_start(fmt_run *r, const fmt_program *p)
{
	r->prog = p;
	r->pc = 0;
	r->rep_left = 0;
	r->sp = 0;
	r->no_line_end = false;
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
		case OP_GROUP:
			r->stack[r->sp].begin = r->pc;
			r->stack[r->sp].left = o->rep;
			r->sp++;
			r->pc++;
			continue;
		case OP_GROUP_END:
			if (--r->stack[r->sp - 1].left > 0) {
				r->pc = r->stack[r->sp - 1].begin + 1;
			} else {
				r->sp--;
				r->pc++;
			}
			continue;
		case OP_END:
			if (!want_data)
				return STEP_END;
			if (!r->prog->revert_data)
				return STEP_ERROR;
			r->pc = r->prog->revert;
			r->sp = 0;
			r->rep_left = 0;
			return STEP_RECORD;
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
