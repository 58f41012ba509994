/*
 * What differs between the platforms the run-time runs on, and nothing
 * else: raw descriptor I/O, the file operations, the console's line end,
 * the lock on the units and the events from outside. One implementation
 * file per platform, which includes only this header and the system's.
 */
#ifndef KORVEX_PLATFORM_H
#define KORVEX_PLATFORM_H

#include <stddef.h>

/* Events from outside that end a run. */
enum sys_event { SYS_INTERRUPT, SYS_TERMINATE, SYS_FP_EXCEPTION, SYS_ABORT };

/* An answer to an event, which ends the run and never returns: answer is
 * called by the platform's handler with the units' lock held; leave where
 * the lock cannot be had in time (Windows: a write that does not end),
 * and touches no unit. */
typedef void (*sys_event_answer)(sys_event e);

/* Start-up: descriptors 0-2 open (on the null device where they were
 * closed or have nothing behind them, so that no data file takes their
 * number), in binary mode, and the answers installed (an interrupt that
 * was ignored stays ignored). False when a descriptor cannot be placed. */
bool sys_start(sys_event_answer answer, sys_event_answer leave);

/* Reads up to cap bytes, waiting for them where the descriptor would not
 * block; the count, 0 at the end, or -1 with errno set. */
long sys_read(int fd, char *buf, size_t cap);

/* Writes all n bytes; 0 or the errno of the failure (ENOSPC where the
 * system writes nothing and reports no error). */
int sys_write_all(int fd, const char *p, size_t n);

/* Closes fd; 0 or an errno. */
int sys_close(int fd);

/* Open name for reading (a directory refused, EISDIR), or for writing at
 * its start without truncation; create it, empty, for reading and
 * writing whatever permissions it gets (an existing name, a directory or
 * a dangling link included, is EEXIST). The descriptor, or -1 with errno. */
int sys_open_read(const char *name);
int sys_open_write(const char *name);
int sys_create(const char *name);

/* Whether the file-status query on name succeeds (a directory exists);
 * false with errno set. */
bool sys_exists(const char *name);

/* Removes name; 0 or an errno. */
int sys_remove(const char *name);

/* The console's line end, and the platform's own way to ask for help
 * ("/?" on Windows) or null. */
extern const char SYS_CONSOLE_LINE_END[];
extern const char *const SYS_HELP_SWITCH;

/* The lock on the units, held while one is connected, written to, written
 * out or closed, so that an event's answer, which closes every unit, never
 * meets one half changed; taken again by its holder, it is held until
 * unlocked as often. POSIX: a counter, no system call, and a signal that
 * finds it held is answered when it is released (a fault the program
 * raises itself, at once). Windows: a critical section the console
 * handler's thread waits for. sys_hold_buffers takes it for good: the end
 * of a run, after which no event is answered. */
void sys_lock_buffers(void);
void sys_unlock_buffers(void);
void sys_hold_buffers(void);

#endif
