/*
 * The one way a run fails: the diagnostic of up to four lines on standard
 * error, then the end of the run with status 3 (end.cpp); inside the one
 * protected call (a batch's table), what failed comes back as a value
 * instead. And STOP, whose close of the units is strict: output that
 * cannot be written is a failure.
 */
#include "runtime/fatal.h"

#include "runtime/digits.h"
#include "runtime/end.h"
#include "runtime/events.h"
#include "runtime/f2c.h"
#include "runtime/statement.h"

#include <initializer_list>
#include <setjmp.h>
#include <string.h>

/* The run-time's own messages, by the numbers the library gives them. */
static const struct {
	int code;
	const char *text;
} messages[] = {
	{ERR_FORMAT, "error in format"},
	{ERR_UNIT_NUMBER, "illegal unit number"},
	{ERR_LIST_INPUT, "incomprehensible list input"},
	{ERR_NOT_CONNECTED, "unit not connected"},
	{ERR_CANT_READ, "can't read file"},
	{ERR_CANT_WRITE, "can't write file"},
	{ERR_NEW_EXISTS, "'new' file exists"},
	{ERR_NAME_TOO_LONG, "name longer than 20 bytes"},
};

/* The first line's message, or null for a number the run-time does not know. */
static const char *message(int code)
{
	if (code > 0 && code < ERR_BASE)
		return strerror(code);
	for (const auto &m : messages)
		if (m.code == code)
			return m.text;
	return nullptr;
}

void fatal_report(const run_failure &f, const char *subject, const char *outcome)
{
	const char *report[25];
	size_t n = 0;
	auto line = [&](const char *a, const char *b = "", const char *c = "", const char *d = "") {
		for (const char *s : {a, b, c, d, SYS_CONSOLE_LINE_END})
			report[n++] = s;
	};
	char code_digits[24] = "", unit_digits[24] = "";   /* each ends in its NUL */
	const char *text = f.code == ERR_END_OF_FILE ? "end of file" : message(f.code);
	if (subject)
		line(subject, outcome);
	line(f.place, text ? ": " : ": illegal error number ",
	     text ? text : digits_before(code_digits + sizeof code_digits - 1, (unsigned long)f.code));
	if (f.unit >= 0)
		line("apparent state: unit ", digits_before(unit_digits + sizeof unit_digits - 1, (unsigned long)f.unit),
		     f.name ? " named " : " (unnamed)", f.name ? f.name : "");
	else
		line("apparent state: internal I/O");
	if (f.format)
		line("last format: ", f.format);
	line(f.reading ? "lately reading" : "lately writing", " sequential formatted external IO");
	write_texts(2, report, n);   /* whole beside what others write there */
}

/* The protected call in progress: where a fatal error goes, and what it says there. */
static jmp_buf *protecting;
static run_failure *protected_failure;

bool fatal_protected(void (*steps)(void *), void *arg, run_failure *failed)
{
	jmp_buf here;
	protecting = &here;
	protected_failure = failed;
	if (setjmp(here) == 0) {
		steps(arg);
		protecting = nullptr;
		return true;
	}
	protecting = nullptr;
	return false;
}

void fatal(int code, const char *place, const unit *u)
{
	events_ending();
	run_failure f = {code, place, u ? (int)(u - units) : -1, u && u->name[0] ? u->name : nullptr, io.format,
	                 io.reading};
	if (protecting) {
		int err;
		units_close_all(&err);
		events_resume();
		*protected_failure = f;
		longjmp(*protecting, 1);
	}
	fatal_report(f, nullptr, nullptr);
	end_run(3);
}

int s_stop(char *, ftnlen)
{
	events_ending();
	int err;
	unit *failed = units_close_all(&err);
	if (failed)
		fatal(err, "close", failed);
	end_run(0);
}
