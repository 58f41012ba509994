/*
 * What differs between the platforms the run-time runs on, and nothing
 * else: raw descriptor I/O, the file operations, the operating system's
 * error texts, the console's line end, the interrupt machinery and the
 * end of the process. One implementation file per platform; everything
 * outside them is platform-free.
 */
#ifndef KORVEX_PLATFORM_H
#define KORVEX_PLATFORM_H

#include <stddef.h>

/* Start-up: descriptors 0-2 open (on the null device where they were
 * closed, so that no data file takes their number), in binary mode, and
 * the interrupt machinery installed (an interrupt that was ignored stays
 * ignored). */
void sys_start(void);

/* Reads up to cap bytes; the count, 0 at the end, or -1 with errno set. */
long sys_read(int fd, char *buf, size_t cap);

/* Writes all n bytes; 0 or the errno of the failure. */
int sys_write_all(int fd, const char *p, size_t n);

/* Closes fd; 0 or an errno. */
int sys_close(int fd);

/* Opens name for reading, refusing a directory (EISDIR); the descriptor,
 * or -1 with errno set. */
int sys_open_read(const char *name);

/* Opens an existing name for writing, at its start, without truncation;
 * the descriptor, or -1 with errno set. */
int sys_open_write(const char *name);

/* Creates name, empty, if it is missing; exclusive: an existing name (a
 * directory included) is EEXIST. 0 or an errno. */
int sys_create(const char *name, bool exclusive);

/* Whether descriptors a and b are open on the same file. */
bool sys_same_file(int a, int b);

/* Moves fd to offset pos from the start; false if it cannot. */
bool sys_seek(int fd, long long pos);

/* Whether the file-status query on name succeeds (a directory exists);
 * false with errno set. */
bool sys_exists(const char *name);

/* Removes name; 0 or an errno. */
int sys_remove(const char *name);

/* The operating system's text for the error number err. */
const char *sys_error_text(int err);

/* The console's line end. */
extern const char SYS_CONSOLE_LINE_END[];

/* Hold back the interrupt handlers while a buffer is written out, and let
 * them run again; not nested. */
void sys_hold_interrupts(void);
void sys_release_interrupts(void);

/* Ends the process with status, at once. */
[[noreturn]] void sys_exit(int status);

#endif
