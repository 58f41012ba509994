/* korvex --batch FILE... (batch.cpp), and the program's table it takes
 * for each FILE (main_program.cpp). */
#ifndef KORVEX_BATCH_H
#define KORVEX_BATCH_H

#include "runtime/f2c.h"

/* Makes the table of each of the n parameter files named, in turn: the
 * status to end with (0: every table made and listed, 3: any not). */
int batch_run(int n, char **files);

/* The dialogue's table of base(1:base_len), every variable as at load:
 * <base><dat> read (dat: ".dat" in any case), an old <base>.imp removed
 * after warn (the dialogue's warning line), a new one written. */
void batch_table(char *base, integer base_len, char *dat, void (*warn)(char *file_name, ftnlen len));

#endif
