/*
 * The command-line options (options.cpp).
 */
#ifndef KORVEX_OPTIONS_H
#define KORVEX_OPTIONS_H

/* Answers --help or --version (the first argument) on standard output;
 * false when there is nothing to answer and the run goes on. */
bool answer_option(int argc, char **argv);

#endif
