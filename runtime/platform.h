/*
 * What differs between the platforms the run-time runs on, and nothing
 * else: raw descriptor I/O, the file operations, the console's line end
 * and the events from outside. Two implementation files per platform
 * (its calls; the jobs' threads), which include only this header and the
 * system's.
 *
 * The event rule, for both platforms (told here only). A handler records
 * the first event in one lock-free atomic (sys_event_recorded) and, on
 * POSIX, arms a one-second alarm; it changes nothing else. The POSIX
 * handlers are installed without SA_RESTART; the Windows console handler
 * cancels whatever synchronous call the main thread is in, every 50 ms,
 * and never returns. So a blocking call ends with EINTR (Windows:
 * ERROR_OPERATION_ABORTED, given as EINTR) or a short count. Only the
 * thread that runs the program takes a signal: the threads that do a
 * batch's file operations (jobs.h) block every one, give a job up at
 * an EINTR once an event is recorded, and the wait for them ends at an
 * event like any other wait. Every call here that can be
 * interrupted returns EINTR to its caller, which passes a safe point
 * (events.h) and, where no event is to be answered, makes the call
 * again: EINTR with no event behind it (a network file system) is never
 * a failure. The run also passes a safe point before every
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

#include <atomic>
#include <stddef.h>

/* Events from outside that end a run, and the answer, which never returns. */
enum sys_event { SYS_INTERRUPT, SYS_TERMINATE, SYS_FP_EXCEPTION, SYS_ABORT };
typedef void (*sys_event_answer)(sys_event e);

/* Start-up: descriptors 0-2 open (the null device where one is closed or
 * has nothing behind it, so that no file takes its number; no other left
 * open), in binary mode; the handlers installed (an ignored interrupt
 * stays ignored), then the handled signals and the alarm unblocked. 0 or
 * an errno. */
int sys_start(sys_event_answer at_once);

/* The first event a handler recorded (its number + 1), or 0; and as a
 * sys_event, or -1. */
extern std::atomic<int> sys_recorded;
inline int sys_event_recorded(void)
{
	return sys_recorded.load() - 1;
}

/* Below, -1 or an error number may be EINTR (see above). A read or write
 * waits where the descriptor would not block. sys_read: the count, 0 at
 * the end, or -1 with errno. sys_write: the count (0: none, and no error)
 * or -1 with errno. sys_sync puts fd (where not -1) and, where name is
 * given (the file's), its folder's entries on stable storage: 0 or an
 * errno (none for what cannot sync, EINVAL).
 * sys_close: 0 or an errno; interrupted, it is closed all the same. */
long sys_read(int fd, char *buf, size_t cap);
long sys_write(int fd, const char *p, size_t n);
int sys_sync(int fd, const char *name);

/* Threads for the jobs of jobs.h: one lock, taken or given back; a wait
 * on condition c (0 or 1) that gives the lock back meanwhile, at most ms
 * milliseconds (-1: no limit); one thread waiting on c woken; a thread
 * started to run run(), taking no signal (false where none starts); the
 * wait until every thread started has ended, once each run() has
 * returned. And how many descriptors a process may hold beyond 0-2. */
void sys_lock(bool take);
void sys_wait(int c, int ms);
void sys_wake(int c);
bool sys_thread(void (*run)(void));
void sys_threads_ended(void);
int sys_spare_descriptors(void);
int sys_close(int fd);

/* Open name for reading (a directory refused, EISDIR; on Windows with
 * every sharing mode, so that no other program is stopped; *size, where
 * asked, the size of a regular file, else -1), or for writing at
 * its start without truncation, never waiting (a FIFO, a device); create
 * it, empty, for reading and writing whatever permissions it gets (any
 * existing name, a dangling link too, is EEXIST). The descriptor, or -1. */
int sys_open_read(const char *name, long long *size);
int sys_open_write(const char *name);
int sys_create(const char *name);

/* Whether the file-status query on name succeeds (a directory exists). */
bool sys_exists(const char *name);

/* Frees name at once, its file deleted, or leaves both whole; 0 or an errno. */
int sys_remove(const char *name);

/* argv[first..argc) as names of files, in *files; the count. Windows:
 * from the wide command line, in UTF-8, which every file call takes from
 * then on, each * or ? expanded to the names (their long names ending
 * in ".dat") it matches. */
int sys_file_arguments(int argc, char **argv, int first, char ***files);

/* Waits for Enter where the console is the program's own (Windows: a
 * drop or a double-click), so that its window can be read. */
void sys_console_pause(void);

/* The console's line end; the platform's own help switch ("/?") or null. */
extern const char SYS_CONSOLE_LINE_END[];
extern const char *const SYS_HELP_SWITCH;

#endif
