// Runs the built korvex binary in a directory of its own, feeding its
// standard input and capturing standard output, standard error and the
// exit status, optionally sending a signal once a given text has appeared
// on standard output.
#ifndef KORVEX_TESTS_RUN_PROGRAM_H
#define KORVEX_TESTS_RUN_PROGRAM_H

#include <string>
#include <vector>

struct run_options {
	std::string input;             // bytes written to standard input, which is then closed
	bool keep_input_open = false;  // leave standard input open after the bytes (for signal tests)
	std::string signal_after;      // send `signal` once standard output ends with this text
	int signal = 0;
	bool signal_at_once = false;   // send it as soon as the text is there, not once the program waits
	std::string late_input;        // written, and the input closed, once the output ends with signal_after
	bool nonblocking_input = false; // standard input set not to block
	bool terminal_input = false;   // standard input a terminal (a pseudo-terminal) the input is typed into
	bool ignore_sigint = false;    // start the program with SIGINT ignored
	std::vector<int> close_fds;    // standard descriptors to start closed
	std::string stdout_path;       // send standard output to this file instead of a pipe
	std::string stderr_path;       // send standard error to this file instead of a pipe
	bool stdout_reader_gone = false; // standard output is a pipe nobody reads
	int stuck_fd = -1;             // this standard descriptor is a full pipe that nobody reads
	int late_fd = -1;              // this one a full pipe set not to block, read only after a second
	bool alarm_blocked = false;    // start the program with SIGALRM blocked
	bool interrupt_pending = false; // start it with SIGINT blocked and pending
	long open_files_limit = -1;    // RLIMIT_NOFILE
	bool signal_innermost = false; // send the signal to the last process the program's wrapper started
	long file_size_limit = -1;     // RLIMIT_FSIZE in bytes
	std::string program;           // the binary; the korvex under test when empty
	std::vector<std::string> wrapper; // a command the program is run under (strace ...)
	std::vector<std::string> args;    // the program's arguments
};

struct run_result {
	std::string out, err;
	int status = -1;   // exit status, or -1 when killed by a signal
	int killed_by = 0; // the signal that ended it, if any
	long max_rss_kb = 0;
	long cpu_ms = 0;   // user and system time
	std::string fds;   // the descriptors it held when signal_after appeared, as "0 1 2 "
};

// A fresh empty directory, removed with everything in it when destroyed.
struct temp_dir {
	std::string path;
	temp_dir();
	~temp_dir();
	std::string file(const std::string &name) const { return path + "/" + name; }
	void write(const std::string &name, const std::string &bytes) const;
	std::string read(const std::string &name) const;
	bool exists(const std::string &name) const;
};

// Options that only feed text to standard input.
inline run_options with_input(const std::string &text)
{
	run_options o;
	o.input = text;
	return o;
}

// Runs the program in dir. The program is the build's own korvex, or
// $KORVEX_BINARY, started through $KORVEX_LAUNCHER where that is set (the
// words of a command such as "wine" or "qemu-aarch64"). With
// $KORVEX_TARGET=windows the console's CR LF line ends are checked and
// read as LF, so that the expected texts are the same for every build;
// a run that Wine failed to start (status 1, no output at all) is tried
// once more, saying so.
run_result run_korvex(const temp_dir &dir, const run_options &opt);

// The program under test is a Windows build (run under Wine).
bool target_is_windows();

// The banner and prompt, exactly as written before the name is read.
extern const std::string kGreeting;
// The four closing records.
extern const std::string kClosing;
// The four-line diagnostic and the abnormal termination.
std::string diagnostic(const std::string &first, long unit, const std::string &name,
                       const std::string &format, bool reading);

#endif
