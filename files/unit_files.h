/*
 * Connecting named files to numbered units, and removing an old file.
 * Names are fixed-length and blank-padded; every failure is reported by
 * the run-time, which ends the run.
 */
#ifndef KORVEX_UNIT_FILES_H
#define KORVEX_UNIT_FILES_H

#include "runtime/f2c.h"

/* Connects *unit to the existing file name. */
int open_old_file(integer *unit, char *name, ftnlen name_len);

/* Creates the file name, empty, and connects *unit to it; the file must
 * not exist. */
int open_new_file(integer *unit, char *name, ftnlen name_len);

/* Connects *unit to the existing file name, then closes the unit and
 * removes the file; a failed removal is not reported. */
int erase_old_file(integer *unit, char *name, ftnlen name_len);

#endif
