/*
 * The console texts: the formats of the console statements, with each
 * literal delimited by the byte 0x02, and the warning item.
 */
#ifndef KORVEX_CONSOLE_TEXTS_H
#define KORVEX_CONSOLE_TEXTS_H

static char fmt_banner[] = "(\002         KORVEX   (by Vellumarix)\002)";
static char fmt_prompt[] = "(\002  entry .dat file (no extension) ??\002,$)";
static char fmt_name[] = "(a20)";
static char fmt_closing[] =
	"(\002   Thanks for using KORVEX\002/"
	"\002     Care to rounding errors on 2-theta-end...\002//"
	"\002   Please type any number and a return to stop\002)";

/* 40 characters, the first item of the warning line. */
static char warning_text[] = "warning, this old file will be deleted :";

#endif
