/*
 * Formatted sequential READ and WRITE on external units: s_wsfe, s_rsfe,
 * do_fio, e_wsfe, e_rsfe.
 */
#include "runtime/f2c.h"
#include "runtime/fedit.h"
#include "runtime/format.h"
#include "runtime/io_state.h"

#include <string.h>

static fmt_program program;
static fmt_run run;
static unit *cur;

/* The format last compiled, so that a statement repeated in a loop is
 * compiled once. The program's literals point into the text, so it is
 * reused only for the same text at the same address. */
enum { REMEMBERED_MAX = 64 };
static const char *remembered_at;
static char remembered[REMEMBERED_MAX + 1];

static void compile(const char *text)
{
	size_t n = strnlen(text, REMEMBERED_MAX + 1);
	if (text == remembered_at && n <= REMEMBERED_MAX && memcmp(text, remembered, n + 1) == 0)
		return;
	remembered_at = nullptr;
	if (!fmt_parse(&program, text))
		fatal(ERR_FORMAT, "startio");
	if (n <= REMEMBERED_MAX) {
		memcpy(remembered, text, n + 1);
		remembered_at = text;
	}
}

static void begin(cilist *a, bool reading)
{
	cur = statement_unit(a->ciunit, "startio", reading);
	io.format = a->cifmt;
	compile(a->cifmt);
	fmt_start(&run, &program);
}

static void put(const char *p, size_t n)
{
	int err = unit_put(cur, p, n);
	if (err)
		fatal(err, "write sfe");
}

static void line_end(void)
{
	int err = unit_line_end(cur);
	if (err)
		fatal(err, "write sfe");
}

static void put_literal(const fmt_op *op)
{
	for (int i = 0; i < op->len; i++) {
		put(&op->text[i], 1);
		if (op->text[i] == op->delim)
			i++;   /* a doubled delimiter stands for one */
	}
}

/* Skips the rest of the input record and its line end. */
static void next_record(void)
{
	int c;
	do
		c = text_getc(&cur->in);
	while (c >= 0 && c != '\n');
	if (c == TEXT_EOF)
		fatal(ERR_END_OF_FILE, "fmt");
	if (c == TEXT_ERROR)
		fatal(cur->in.error, "fmt");
}

integer s_wsfe(cilist *a)
{
	begin(a, false);
	if (!unit_start_writing(cur))
		fatal(ERR_CANT_WRITE, "write start");
	return 0;
}

integer s_rsfe(cilist *a)
{
	begin(a, true);
	if (cur->writing)
		fatal(ERR_CANT_READ, "read start");
	unit_skip_line(cur);
	return 0;
}

static void write_item(const fmt_op *op, char *ptr, ftnlen len)
{
	char field[FMT_MAX_WIDTH];
	if (op->kind == OP_A) {
		int w = op->w ? op->w : (int)len;
		if (w > len) {
			memset(field, ' ', (size_t)(w - len));
			put(field, (size_t)(w - len));
			put(ptr, (size_t)len);
		} else {
			put(ptr, (size_t)w);
		}
		return;
	}
	double x;
	if (len == (ftnlen)sizeof(float)) {
		float f;
		memcpy(&f, ptr, sizeof f);
		x = f;
	} else if (len == (ftnlen)sizeof(double)) {
		memcpy(&x, ptr, sizeof x);
	} else {
		fatal(ERR_VARIABLE_TYPE, "fmt");
	}
	int err;
	char *slot = unit_reserve(cur, (size_t)op->w, &err);
	if (!slot)
		fatal(err, "write sfe");
	f_edit(slot, op->w, op->d, x);
	unit_commit(cur, (size_t)op->w);
}

/* A edit on input: w characters of the record, blanks past its end. */
static void read_item(const fmt_op *op, char *ptr, ftnlen len)
{
	if (op->kind != OP_A)
		fatal(ERR_FORMAT, "fmt");
	int w = op->w ? op->w : (int)len;
	int skip = w > len ? w - (int)len : 0;   /* the field's rightmost len characters count */
	for (int i = 0; i < w; i++) {
		int c = text_getc(&cur->in);
		if (c == '\n') {
			text_ungetc(&cur->in, c);
			c = ' ';
		} else if (c == TEXT_EOF) {
			fatal(ERR_END_OF_FILE, "fmt");
		} else if (c == TEXT_ERROR) {
			fatal(cur->in.error, "fmt");
		}
		if (i >= skip)
			ptr[i - skip] = (char)c;
	}
	for (int i = w - skip; i < len; i++)
		ptr[i] = ' ';
}

/* Carries out the format's literals and record ends up to its next data
 * descriptor, which it returns; without an item waiting (want_data false)
 * it stops there or at the end of the format and returns null. */
static const fmt_op *advance(bool want_data)
{
	const fmt_op *op;
	for (;;) {
		fmt_step step = fmt_next(&run, want_data, &op);
		if (step == STEP_DATA)
			return op;
		if (step == STEP_END)
			return nullptr;
		if (step == STEP_ERROR || (step == STEP_LITERAL && io.reading))
			fatal(ERR_FORMAT, "fmt");
		if (step == STEP_LITERAL)
			put_literal(op);
		else if (io.reading)
			next_record();
		else
			line_end();
	}
}

integer do_fio(ftnint *number, char *ptr, ftnlen len)
{
	for (ftnint i = 0; i < *number; i++, ptr += len) {
		const fmt_op *op = advance(true);
		if (io.reading)
			read_item(op, ptr, len);
		else
			write_item(op, ptr, len);
	}
	return 0;
}

integer e_wsfe(void)
{
	advance(false);
	if (!run.no_line_end)
		line_end();
	if (cur->console)
		unit_flush(cur);
	io.format = nullptr;
	return 0;
}

integer e_rsfe(void)
{
	advance(false);
	cur->skip_line = true;
	io.format = nullptr;
	return 0;
}
