/* korvex --batch FILE... (batch.cpp). */
#ifndef KORVEX_BATCH_H
#define KORVEX_BATCH_H

/* Makes the table of each of the n parameter files named, in turn: the
 * status to end with (0: every table made, 3: any failed). */
int batch_run(int n, char **files);

#endif
