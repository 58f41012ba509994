/* The command-line options (options.cpp). */
#ifndef KORVEX_OPTIONS_H
#define KORVEX_OPTIONS_H

/* Answers --help or --version (the first argument) on standard output,
 * or refuses an unknown option on standard error: the status to exit
 * with, -1 when there is nothing to answer and the dialogue runs, or
 * OPTION_BATCH or OPTION_CHECK for a batch or a check of the FILEs from
 * argv[2] on. */
enum { OPTION_BATCH = -2, OPTION_CHECK = -3 };
int answer_option(int argc, char **argv);

#endif
