/*
 * The one way a run fails: the diagnostic of up to four lines on standard
 * error, then the end of the run with status 3 (end.cpp). And STOP, whose
 * close of the units is strict: output that cannot be written is a failure.
 */
#include "runtime/fatal.h"

#include "runtime/digits.h"
#include "runtime/end.h"
#include "runtime/events.h"
#include "runtime/f2c.h"
#include "runtime/statement.h"

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

static void write_number(unsigned long v)
{
	char buf[24];
	buf[sizeof buf - 1] = '\0';
	write_text(2, digits_before(buf + sizeof buf - 1, v));
}

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

void fatal(int code, const char *place, const unit *u)
{
	events_ending();

	if (fatal_subject) {
		write_text(2, fatal_subject);
		write_line(2, ": no table");
	}
	write_text(2, place);
	const char *text = code == ERR_END_OF_FILE ? "end of file" : message(code);
	if (text) {
		write_text(2, ": ");
		write_line(2, text);
	} else {
		write_text(2, ": illegal error number ");
		write_number((unsigned long)code);
		write_text(2, SYS_CONSOLE_LINE_END);
	}

	if (u) {
		write_text(2, "apparent state: unit ");
		write_number((unsigned long)(u - units));
		write_text(2, u->name[0] ? " named " : " (unnamed)");
		write_line(2, u->name);
	} else {
		write_line(2, "apparent state: internal I/O");
	}
	if (io.format) {
		write_text(2, "last format: ");
		write_line(2, io.format);
	}
	write_text(2, io.reading ? "lately reading" : "lately writing");
	write_line(2, " sequential formatted external IO");
	if (fatal_resume) {
		int err;
		units_close_all(&err);
		events_resume();
		fatal_resume();
	}
	end_run(3);
}

void (*fatal_resume)(void);
const char *fatal_subject;

int s_stop(char *, ftnlen)
{
	events_ending();
	int err;
	unit *failed = units_close_all(&err);
	if (failed)
		fatal(err, "close", failed);
	end_run(0);
}
