/* korvex --batch and --check FILE... (batch.cpp), and the program's
 * table steps they take for each FILE (main_program.cpp). */
#ifndef KORVEX_BATCH_H
#define KORVEX_BATCH_H

#include "runtime/f2c.h"

/* Makes the table of each of the n parameter files named, or (checking)
 * compares it with the one beside it: the status to end with (0, 3: a
 * FILE failed, 4: a table checked is not the same). */
int batch_run(int n, char **files, bool checking);

/* The dialogue's table of base(1:base_len), every variable as at load:
 * <base><dat> (dat: ".dat" in any case) connected to in_unit by connect
 * (as open_old_file does), its values read, then the records written into
 * out_unit's buffer (an OPEN with status "scratch", named <base>.imp). */
void batch_table(char *base, integer base_len, char *dat, int (*connect)(integer *, char *, ftnlen));

#endif
