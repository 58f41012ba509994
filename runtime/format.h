/*
 * The format interpreter: a format text such as "(2f8.2)" compiled into a
 * list of operations, and a machine that walks it item by item. Accepted:
 * literals delimited by the byte 0x02, an apostrophe or a double quote (the
 * library's delimiters; a doubled one stands for itself); '$' (no line end
 * after the last record); '/' (a record ends); Aw and A, on input, as wide
 * as the item; Fw.d on output, up to F16.3 (F8.2 would cost no less code);
 * a repeat count before a data descriptor, read like a width. No groups,
 * and a format never starts again: no statement of the program needs it.
 */
#ifndef KORVEX_FORMAT_H
#define KORVEX_FORMAT_H

enum fmt_kind { OP_LITERAL, OP_SLASH, OP_DOLLAR, OP_A, OP_F, OP_END };

struct fmt_op {
	fmt_kind kind;
	int rep;            /* repeat count of a data descriptor */
	int w, d;           /* width (0: A without width) and decimals */
	const char *text;   /* a literal's text, as it is written out */
	int len;
};

/* F16.3 at most: there F editing is exact in 64-bit integers (fedit.cpp). */
enum { FMT_MAX_OPS = 16, FMT_MAX_REPEAT = 9999, FMT_MAX_WIDTH = 255 };
enum { FMT_F_MAX_WIDTH = 16, FMT_F_MAX_DECIMALS = 3 };

struct fmt_program {
	fmt_op ops[FMT_MAX_OPS];
};

/* Compiles text into p. Returns false if the text is not a format this
 * interpreter accepts ("error in format"). */
bool fmt_parse(fmt_program *p, const char *text);

enum fmt_step { STEP_LITERAL, STEP_RECORD, STEP_DATA, STEP_END, STEP_ERROR };

struct fmt_run {
	const fmt_program *prog;
	int pc;
	int rep_left;       /* repetitions still due of the data descriptor at pc */
	bool no_line_end;   /* a '$' has been passed */
};

void fmt_start(fmt_run *r, const fmt_program *p);

/* The next step of the statement. With an item waiting (want_data), walks
 * to the next data descriptor, failing with STEP_ERROR at the end of the
 * format; without one, stops at the next data descriptor or the end
 * (STEP_END). *op is the literal or data descriptor. */
fmt_step fmt_next(fmt_run *r, bool want_data, const fmt_op **op);

#endif
