/* The command-line options (options.cpp). */
#ifndef KORVEX_OPTIONS_H
#define KORVEX_OPTIONS_H

/* Answers --help or --version (the first argument) on standard output,
 * or refuses an unknown option on standard error: the status to exit
 * with, or -1 when there is nothing to answer and the run goes on. */
int answer_option(int argc, char **argv);

#endif
