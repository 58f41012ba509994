/*
 * The one way a run fails: the diagnostic of up to four lines on standard
 * error, then the end of the run with status 3 (end.cpp).
 */
#include "runtime/end.h"
#include "runtime/io_state.h"

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
	{ERR_VARIABLE_TYPE, "bad variable type"},
	{ERR_CANT_READ, "can't read file"},
	{ERR_CANT_WRITE, "can't write file"},
	{ERR_NEW_EXISTS, "'new' file exists"},
	{ERR_NAME_TOO_LONG, "name longer than 20 bytes"},
};

void write_stderr(const char *s)
{
	sys_write_all(2, s, strlen(s));
}

void write_stderr_line(const char *s)
{
	write_stderr(s);
	write_stderr(SYS_CONSOLE_LINE_END);
}

static void write_stderr_number(long v)
{
	char buf[24];
	char *p = buf + sizeof buf;
	*--p = '\0';
	unsigned long u = v < 0 ? 0UL - (unsigned long)v : (unsigned long)v;
	do
		*--p = (char)('0' + u % 10);
	while (u /= 10);
	if (v < 0)
		*--p = '-';
	write_stderr(p);
}

/* The first line's message, or null for a number the run-time does not know. */
static const char *message(int code)
{
	if (code >= 0 && code < ERR_FORMAT)
		return strerror(code);
	for (const auto &m : messages)
		if (m.code == code)
			return m.text;
	return nullptr;
}

void fatal(int code, const char *place)
{
	end_hold();

	write_stderr(place);
	const char *text = code == ERR_END_OF_FILE ? "end of file" : message(code);
	if (text) {
		write_stderr(": ");
		write_stderr_line(text);
	} else {
		write_stderr(": illegal error number ");
		write_stderr_number(code);
		write_stderr(SYS_CONSOLE_LINE_END);
	}

	if (io.cur) {
		write_stderr("apparent state: unit ");
		write_stderr_number(io.cur - units);
		write_stderr(io.cur->name ? " named " : " (unnamed)");
		write_stderr_line(io.cur->name ? io.cur->name : "");
	} else {
		write_stderr_line("apparent state: internal I/O");
	}
	if (io.format) {
		write_stderr("last format: ");
		write_stderr_line(io.format);
	}
	write_stderr(io.reading ? "lately reading" : "lately writing");
	write_stderr_line(" sequential formatted external IO");
	end_run(3);
}
