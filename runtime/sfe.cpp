/*
 * Formatted sequential READ and WRITE on external units: s_wsfe, s_rsfe,
 * do_fio, e_wsfe, and KORVEX's own end of a name's READ, e_rsfe_name (the
 * program's one formatted READ). Output edits REALs (F) and ends records;
 * input reads character items (A) from one record.
 */
#include "runtime/f2c.h"
#include "runtime/fatal.h"
#include "runtime/fedit.h"
#include "runtime/statement.h"

#include <string.h>

/* The format compiled last, kept for the next statement with the same
 * text at the same address (a record written in a loop). */
enum { FORMAT_KEPT_MAX = 64 };
static struct {
	fmt_program compiled;
	const char *at;
	size_t len;
	char text[FORMAT_KEPT_MAX + 1];
} cache;

/* Compiles the statement's format, unless the cache holds it. */
static void compile(const char *text)
{
	if (text == cache.at && memcmp(text, cache.text, cache.len + 1) == 0)   /* its bytes still there */
		return;
	cache.at = nullptr;
	if (!fmt_parse(&cache.compiled, text))
		fatal(ERR_FORMAT, "startio", io.cur);
	size_t n = strnlen(text, FORMAT_KEPT_MAX + 1);
	if (n <= FORMAT_KEPT_MAX) {
		memcpy(cache.text, text, n + 1);
		cache.at = text;
		cache.len = n;
	}
}

static void begin(cilist *a, bool reading)
{
	statement_start(a->ciunit, "startio", reading, a->cifmt, "write sfe");
	compile(a->cifmt);
	fmt_start(&io.walk, &cache.compiled);
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

/* Fatal where the input ended (c is TEXT_EOF) or failed (TEXT_ERROR). */
static void check_input(int c)
{
	if (c == TEXT_EOF)
		fatal(ERR_END_OF_FILE, "fmt", io.cur);
	if (c == TEXT_ERROR)
		fatal(io.cur->in.error, "fmt", io.cur);
}

/* A REAL item on output, F editing. */
static void write_item(const fmt_op *op, char *ptr, ftnlen len)
{
	if (op->kind != OP_F || len != (ftnlen)sizeof(float))
		fatal(ERR_FORMAT, "fmt", io.cur);
	float x;
	memcpy(&x, ptr, sizeof x);
	char field[FMT_F_MAX_WIDTH];
	f_edit(field, op->w, op->d, x);
	statement_put(field, (size_t)op->w);
}

/* A character item on input, A editing as wide as the item; blanks past
 * the record's end. */
static void read_item(const fmt_op *op, char *ptr, ftnlen len)
{
	if (op->kind != OP_A || (op->w && op->w != len))
		fatal(ERR_FORMAT, "fmt", io.cur);
	for (ftnlen i = 0; i < len; i++) {
		int c = text_getc(&io.cur->in);
		check_input(c);
		if (c == '\n') {
			text_ungetc(&io.cur->in, c);
			c = ' ';
		}
		ptr[i] = (char)c;
	}
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
		if (step == STEP_ERROR || io.reading)
			fatal(ERR_FORMAT, "fmt", io.cur);
		if (step == STEP_LITERAL)
			statement_put(op->text, (size_t)op->len);
		else
			statement_record_end();
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

/* A format is current only while its statement runs (a list-directed
 * one's "list io" until the next formatted statement ends). */
integer e_wsfe(void)
{
	advance(false);
	statement_end_write(!io.walk.no_line_end);
	io.format = nullptr;
	return 0;
}

/* The rest of the record, with its line end, is read now, not at the next
 * READ: a longer name would otherwise be cut silently into another one. */
integer e_rsfe_name(void)
{
	advance(false);
	int c;
	do
		c = text_getc(&io.cur->in);
	while (c == ' ' || c == '\t');
	if (c == TEXT_ERROR)
		check_input(c);
	if (c != '\n' && c != TEXT_EOF)
		fatal(ERR_NAME_TOO_LONG, "fmt", io.cur);
	io.format = nullptr;
	return 0;
}
