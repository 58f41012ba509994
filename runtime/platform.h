/*
 * What differs between the platforms the run-time runs on, and nothing
 * else: raw descriptor I/O, the file operations, the console's line end
 * and the events from outside. One implementation file per platform,
 * which includes only this header and the system's.
 */
#ifndef KORVEX_PLATFORM_H
#define KORVEX_PLATFORM_H

#include <stddef.h>

/* Events from outside that end a run. */
enum sys_event { SYS_INTERRUPT, SYS_TERMINATE, SYS_FP_EXCEPTION, SYS_ABORT };

/* The answer to an event, which ends the run and never returns. */
typedef void (*sys_event_answer)(sys_event e);

/* Start-up: descriptors 0-2 open (on the null device where they were
 * closed or have nothing behind them, so that no data file takes their
 * number), in binary mode, and the handlers installed (an interrupt that
 * was ignored stays ignored), which only record their event: a blocking
 * call they interrupt returns EINTR or a short count, and from then on
 * none lasts more than about a second, so that a stuck console cannot
 * hold the answer. Only a trap and the
 * program's own abort are answered at once, by at_once. False when a
 * descriptor cannot be placed. */
bool sys_start(sys_event_answer at_once);

/* The first event a handler recorded, or -1. */
int sys_event_recorded(void);

/* One read of up to cap bytes, waiting where the descriptor would not
 * block: the count, 0 at the end, or -1 with errno set (EINTR too). */
long sys_read(int fd, char *buf, size_t cap);

/* One write of up to n bytes: the count written (0: none, and no error),
 * or -1 with errno set (EINTR: interrupted before any byte). */
long sys_write(int fd, const char *p, size_t n);

/* Puts fd, the file named name, and its folder's entries on stable
 * storage; 0 or an errno (not for what cannot be synchronized, EINVAL). */
int sys_sync(int fd, const char *name);

/* Closes fd; 0 or an errno. */
int sys_close(int fd);

/* Open name for reading (a directory refused, EISDIR), or for writing at
 * its start without truncation, never waiting (a FIFO, a device); create
 * it, empty, for reading and writing whatever permissions it gets (an
 * existing name, a directory or a dangling link included, is EEXIST).
 * The descriptor, or -1 with errno. */
int sys_open_read(const char *name);
int sys_open_write(const char *name);
int sys_create(const char *name);

/* Whether the file-status query on name succeeds (a directory exists);
 * false with errno set. */
bool sys_exists(const char *name);

/* Frees name at once, its file deleted, or leaves both whole (a file
 * that cannot be deleted); 0 or an errno. */
int sys_remove(const char *name);

/* The console's line end, and the platform's own way to ask for help
 * ("/?" on Windows) or null. */
extern const char SYS_CONSOLE_LINE_END[];
extern const char *const SYS_HELP_SWITCH;

#endif
