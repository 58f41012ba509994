/* The command-line options (options.cpp). */
#ifndef KORVEX_OPTIONS_H
#define KORVEX_OPTIONS_H

/* Answers --help or --version (the first argument) on standard output,
 * or refuses an unknown option on standard error: the status to exit
 * with, -1 when there is nothing to answer and the dialogue runs, or
 * OPTION_BATCH for a batch of the FILEs from argv[2] on. */
enum { OPTION_BATCH = -2 };
int answer_option(int argc, char **argv);

#endif
