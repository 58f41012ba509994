/*
 * What differs between the platforms the run-time runs on, and nothing
 * else: raw descriptor I/O, the file operations, the console's line end
 * and the events from outside. One implementation file per platform,
 * which includes only this header and the system's.
 *
 * The event rule, for both platforms (told here only). A handler records
 * the first event in one lock-free atomic (sys_event_recorded) and, on
 * POSIX, arms a one-second alarm; it changes nothing else. The POSIX
 * handlers are installed without SA_RESTART; the Windows console handler
 * cancels whatever synchronous call the main thread is in, every 50 ms,
 * and never returns. So a blocking call ends with EINTR (Windows:
 * ERROR_OPERATION_ABORTED, given as EINTR) or a short count. Every call
 * here that can be interrupted returns EINTR to its caller, which passes
 * a safe point (events.h) and, where no event is to be answered, makes
 * the call again: EINTR with no event behind it (a network file system)
 * is never a failure. The run also passes a safe point before every
 * statement and before and after every write of a write-out, which
 * records its progress after each write, so an answer writes the rest and
 * nothing twice. There the recorded event is answered, unless the run is
 * already ending (STOP, a diagnostic, an answer), which no event
 * interrupts. Answered at once, in the handler, is only what no other
 * process sent and cannot wait: a SIGFPE an instruction raised (returning
 * would raise it again) and the program's own abort (SIGABRT with no
 * sender's code, or sent by this process), which come only between two
 * of the program's own statements, never inside a unit's change. What
 * bounds a wait: from the first event on, the alarm ends any wait on POSIX
 * each second, and the handler's cancel on Windows; while the run ends, a
 * console write so interrupted is given up with those after it, the
 * files' writes go on. What is still unbounded: a call the kernel does
 * not interrupt (a local disk's write, a hard-mounted share) lasts as long
 * as it lasts, and so does a Windows call that cannot be cancelled (a
 * write blocked on a pipe under Wine).
 */
#ifndef KORVEX_PLATFORM_H
#define KORVEX_PLATFORM_H

#include <stddef.h>

/* Events from outside that end a run. */
enum sys_event { SYS_INTERRUPT, SYS_TERMINATE, SYS_FP_EXCEPTION, SYS_ABORT };

/* The answer to an event, which ends the run and never returns. */
typedef void (*sys_event_answer)(sys_event e);

/* Start-up: the handled signals (and the alarm) unblocked, descriptors
 * 0-2 open (the null device where one was closed or has nothing behind
 * it, so that no data file takes its number, and no other descriptor left
 * open), in binary mode, and the handlers installed (an interrupt that
 * was ignored stays ignored), at_once answering what cannot wait. 0, or
 * the errno of what could not be done. */
int sys_start(sys_event_answer at_once);

/* The first event a handler recorded, or -1. */
int sys_event_recorded(void);

/* One read of up to cap bytes, waiting where the descriptor would not
 * block: the count, 0 at the end, or -1 with errno set (EINTR too). */
long sys_read(int fd, char *buf, size_t cap);

/* One write of up to n bytes, waiting where the descriptor would not
 * block: the count written (0: none, and no error), or -1 with errno set
 * (EINTR: interrupted before any byte). */
long sys_write(int fd, const char *p, size_t n);

/* Puts fd, the file named name, and its folder's entries on stable
 * storage; 0 or an errno (EINTR too; not for what cannot be
 * synchronized, EINVAL). */
int sys_sync(int fd, const char *name);

/* Closes fd (interrupted, it is closed all the same); 0 or an errno. */
int sys_close(int fd);

/* Open name for reading (a directory refused, EISDIR), or for writing at
 * its start without truncation, never waiting (a FIFO, a device); create
 * it, empty, for reading and writing whatever permissions it gets (an
 * existing name, a directory or a dangling link included, is EEXIST).
 * The descriptor, or -1 with errno (EINTR too). */
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
