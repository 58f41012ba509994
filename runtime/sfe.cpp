/*
 * Formatted sequential READ and WRITE on external units: s_wsfe, s_rsfe,
 * do_fio, e_wsfe, e_rsfe, and KORVEX's own end of a name's READ,
 * e_rsfe_name.
 */
#include "runtime/f2c.h"
#include "runtime/fedit.h"
#include "runtime/io_state.h"

#include <string.h>

/* Compiles the statement's format, unless the one compiled last is the
 * same text at the same address (the program's formats never change). */
static void compile(const char *text)
{
	if (text == io.compiled_at && strcmp(text, io.compiled_text) == 0)
		return;
	io.compiled_at = nullptr;
	if (!fmt_parse(&io.compiled, text))
		fatal(ERR_FORMAT, "startio");
	size_t n = strnlen(text, FORMAT_KEPT_MAX + 1);
	if (n <= FORMAT_KEPT_MAX) {
		memcpy(io.compiled_text, text, n + 1);
		io.compiled_at = text;
	}
}

static void begin(cilist *a, bool reading)
{
	statement_start(a->ciunit, "startio", reading, a->cifmt, "write sfe");
	compile(a->cifmt);
	fmt_start(&io.walk, &io.compiled);
}

integer s_wsfe(cilist *a)
{
	begin(a, false);
	return 0;
}

integer s_rsfe(cilist *a)
{
	begin(a, true);
	return 0;
}

/* The end of a record: on output a line end, on input the rest of the
 * record and its line end skipped. */
static void next_record(void)
{
	if (!io.reading) {
		statement_record_end();
		return;
	}
	int c = text_skip_line(&io.cur->in);
	if (c == TEXT_EOF)
		fatal(ERR_END_OF_FILE, "fmt");
	if (c == TEXT_ERROR)
		fatal(io.cur->in.error, "fmt");
}

/* An item on output: A editing of a character item, F editing of a REAL. */
static void write_item(const fmt_op *op, char *ptr, ftnlen len)
{
	char field[FMT_MAX_WIDTH];
	if (op->kind == OP_A) {
		int w = op->w ? op->w : (int)len;
		if (w > len) {
			memset(field, ' ', (size_t)(w - len));
			statement_put(field, (size_t)(w - len));
		}
		statement_put(ptr, (size_t)(w < len ? w : len));
		return;
	}
	if (len != (ftnlen)sizeof(float))
		fatal(ERR_VARIABLE_TYPE, "fmt");
	float x;
	memcpy(&x, ptr, sizeof x);
	f_edit(field, op->w, op->d, x);
	statement_put(field, (size_t)op->w);
}

/* A edit on input: w characters of the record, blanks past its end. */
static void read_item(const fmt_op *op, char *ptr, ftnlen len)
{
	if (op->kind != OP_A)
		fatal(ERR_FORMAT, "fmt");
	int w = op->w ? op->w : (int)len;
	int skip = w > len ? w - (int)len : 0;   /* the field's rightmost len characters count */
	for (int i = 0; i < w; i++) {
		int c = text_getc(&io.cur->in);
		if (c == '\n') {
			text_ungetc(&io.cur->in, c);
			c = ' ';
		} else if (c == TEXT_EOF) {
			fatal(ERR_END_OF_FILE, "fmt");
		} else if (c == TEXT_ERROR) {
			fatal(io.cur->in.error, "fmt");
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
		fmt_step step = fmt_next(&io.walk, want_data, &op);
		if (step == STEP_DATA)
			return op;
		if (step == STEP_END)
			return nullptr;
		if (step == STEP_ERROR || (step == STEP_LITERAL && io.reading))
			fatal(ERR_FORMAT, "fmt");
		if (step == STEP_LITERAL)
			statement_put(op->text, (size_t)op->len);
		else
			next_record();
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

/* A formatted statement's format is current only while it runs: after
 * it, a diagnostic names no format (a list-directed statement's "list io"
 * stays current until the next formatted statement ends). */
integer e_wsfe(void)
{
	advance(false);
	statement_end_write(!io.walk.no_line_end);
	io.format = nullptr;
	return 0;
}

integer e_rsfe(void)
{
	advance(false);
	io.cur->skip_line = true;
	io.format = nullptr;
	return 0;
}

/* The rest of the record is read now, not at the next READ: a longer
 * name would otherwise be cut silently into another one. Its line end
 * (or the end of the data) is taken with it. */
integer e_rsfe_name(void)
{
	advance(false);
	int c;
	do
		c = text_getc(&io.cur->in);
	while (c == ' ' || c == '\t');
	if (c == TEXT_ERROR)
		fatal(io.cur->in.error, "fmt");
	if (c != '\n' && c != TEXT_EOF)
		fatal(ERR_NAME_TOO_LONG, "fmt");
	io.format = nullptr;
	return 0;
}
