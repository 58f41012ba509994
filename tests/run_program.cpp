// Process plumbing for the end-to-end tests.
#include "run_program.h"
#include "tests/support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>

const std::string kGreeting =
	"         KORVEX   (by Vellumarix)\n"
	"  entry .dat file (no extension) ??";
const std::string kClosing =
	"   Thanks for using KORVEX\n"
	"     Care to rounding errors on 2-theta-end...\n"
	"\n"
	"   Please type any number and a return to stop\n";

std::string diagnostic(const std::string &first, long unit, const std::string &name,
                       const std::string &format, bool reading)
{
	std::string s = first + "\napparent state: unit " + std::to_string(unit) +
	                (name.empty() ? " (unnamed)\n" : " named " + name + "\n");
	if (!format.empty())
		s += "last format: " + format + "\n";
	s += std::string("lately ") + (reading ? "reading" : "writing") +
	     " sequential formatted external IO\n";
	return s + "\nabnormal program termination\n";
}

temp_dir::temp_dir()
{
	std::string name = temp_directory() + "/run-XXXXXX";
	path = mkdtemp(&name[0]);
}

temp_dir::~temp_dir()
{
	remove_tree(path);
}

void temp_dir::write(const std::string &name, const std::string &bytes) const
{
	std::ofstream(file(name), std::ios::binary) << bytes;
}

std::string temp_dir::read(const std::string &name) const
{
	return slurp(file(name));
}

bool temp_dir::exists(const std::string &name) const
{
	struct stat st;
	return lstat(file(name).c_str(), &st) == 0;
}

bool target_is_windows()
{
	const char *t = getenv("KORVEX_TARGET");
	return t && strcmp(t, "windows") == 0;
}

// The launcher's words, then the program.
static std::vector<std::string> command(const std::string &program)
{
	std::vector<std::string> words;
	const char *launcher = getenv("KORVEX_LAUNCHER");
	std::string w;
	for (const char *p = launcher ? launcher : ""; ; p++) {
		if (*p && *p != ' ') {
			w += *p;
			continue;
		}
		if (!w.empty())
			words.push_back(w);
		w.clear();
		if (!*p)
			break;
	}
	words.push_back(program);
	return words;
}

// Console text of a Windows build: each CR LF read as LF; a bare LF is
// marked, so that it fails every comparison.
static std::string console_lines(const std::string &s)
{
	std::string out;
	for (size_t i = 0; i < s.size(); i++) {
		if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
			continue;
		if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r'))
			out += "<bare LF>";
		out += s[i];
	}
	return out;
}

static bool ends_with(const std::string &s, const std::string &tail)
{
	return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

static run_result run_once(const temp_dir &dir, const run_options &opt)
{
	int in[2], out[2], err[2];
	if (pipe(in) || pipe(out) || pipe(err))
		abort();
	size_t filled = 0;   // filler bytes in the late descriptor's pipe
	if (opt.late_fd > 0) {
		int w = opt.late_fd == 1 ? out[1] : err[1];
		static const char filler[4096] = {};
		fcntl(w, F_SETFL, O_NONBLOCK);
		for (ssize_t k = 1; k > 0; filled += k > 0 ? (size_t)k : 0)
			k = write(w, filler, sizeof filler);
	}
	if (opt.terminal_input) {   // typed into a pseudo-terminal's master, read from its slave
		close(in[0]);
		close(in[1]);
		in[1] = posix_openpt(O_RDWR | O_NOCTTY);
		if (in[1] < 0 || grantpt(in[1]) != 0 || unlockpt(in[1]) != 0 || (in[0] = open(ptsname(in[1]), O_RDWR | O_NOCTTY)) < 0)
			abort();
	}
	const char *chosen = getenv("KORVEX_BINARY");   // the program under test, where it is not the build's own
	bool ours = opt.program.empty();
	std::vector<std::string> words = opt.wrapper;
	for (const std::string &w :
	     ours ? command(chosen && *chosen ? chosen : KORVEX_BINARY) : std::vector<std::string>{opt.program})
		words.push_back(w);
	words.insert(words.end(), opt.args.begin(), opt.args.end());
	std::vector<char *> argv;
	for (std::string &w : words)
		argv.push_back(&w[0]);
	argv.push_back(nullptr);
	pid_t pid = fork();
	if (pid == 0) {
		if (chdir(dir.path.c_str()) != 0)
			_exit(120);
		dup2(in[0], 0);
		if (opt.stdout_reader_gone) {
			int gone[2];
			if (pipe(gone) != 0)
				_exit(121);
			close(gone[0]);
			dup2(gone[1], 1);
		} else if (opt.stdout_path.empty()) {
			dup2(out[1], 1);
		} else {
			dup2(open(opt.stdout_path.c_str(), O_WRONLY), 1);
		}
		if (opt.stderr_path.empty())
			dup2(err[1], 2);
		else
			dup2(open(opt.stderr_path.c_str(), O_WRONLY), 2);
		if (opt.stuck_fd >= 0) {
			int stuck[2];
			static char block[4096];
			if (pipe(stuck) != 0 || fcntl(stuck[1], F_SETFL, O_NONBLOCK) != 0)
				_exit(122);
			for (ssize_t k = 1; k > 0;)
				k = write(stuck[1], block, sizeof block);
			fcntl(stuck[1], F_SETFL, 0);
			dup2(stuck[1], opt.stuck_fd);
			dup2(stuck[0], 100);   // its reader stays, and reads nothing
		}
		for (int fd = 3; fd < 1024; fd++)   // whatever the test's own runner left open, not the stuck reader
			if (fd != 100)
				close(fd);
		signal(SIGINT, opt.ignore_sigint ? SIG_IGN : SIG_DFL);
		for (int sig : {SIGHUP, SIGQUIT, SIGTERM})   // whatever a shell's background job ignores
			signal(sig, SIG_DFL);
		if (target_is_windows())
			setenv("WINEDEBUG", "-all", 0);   // Wine's own messages are not the program's
		signal(SIGPIPE, SIG_DFL);
		signal(SIGXFSZ, SIG_DFL);   // the program must see to it itself
		if (opt.nonblocking_input)
			fcntl(0, F_SETFL, fcntl(0, F_GETFL) | O_NONBLOCK);
		if (opt.alarm_blocked || opt.interrupt_pending) {
			sigset_t held;
			sigemptyset(&held);
			sigaddset(&held, opt.alarm_blocked ? SIGALRM : SIGINT);
			sigprocmask(SIG_BLOCK, &held, nullptr);
			if (opt.interrupt_pending)
				raise(SIGINT);
		}
		if (opt.open_files_limit >= 0) {
			struct rlimit rl = {(rlim_t)opt.open_files_limit, (rlim_t)opt.open_files_limit};
			setrlimit(RLIMIT_NOFILE, &rl);
		}
		if (opt.file_size_limit >= 0) {
			struct rlimit rl = {(rlim_t)opt.file_size_limit, (rlim_t)opt.file_size_limit};
			setrlimit(RLIMIT_FSIZE, &rl);
		}
		for (int fd : opt.close_fds)
			close(fd);
		execvp(argv[0], argv.data());
		_exit(127);
	}
	close(in[0]);
	close(out[1]);
	close(err[1]);
	signal(SIGPIPE, SIG_IGN);
	if (!opt.input.empty() && write(in[1], opt.input.data(), opt.input.size()) < 0) {
		// the program may have ended before reading its input
	}
	if (!opt.keep_input_open && opt.late_input.empty()) {
		close(in[1]);
		in[1] = -1;
	}

	run_result r;
	bool signalled = false;
	if (opt.late_fd > 0)
		sleep(1);
	time_t deadline = time(nullptr) + 20;
	struct pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
	int open_streams = 2;
	while (open_streams > 0 && time(nullptr) < deadline) {
		if (poll(fds, 2, 200) < 0)
			break;
		for (int k = 0; k < 2; k++) {
			if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP)))
				continue;
			char buf[4096];
			ssize_t n = read(fds[k].fd, buf, sizeof buf);
			if (n <= 0) {
				close(fds[k].fd);
				fds[k].fd = -1;
				open_streams--;
				continue;
			}
			(k == 0 ? r.out : r.err).append(buf, (size_t)n);
		}
		if ((opt.signal || !opt.late_input.empty()) && !signalled &&
		    ends_with(ours && target_is_windows() ? console_lines(r.out) : r.out, opt.signal_after)) {
			signalled = true;
			std::string listing = "ls /proc/" + std::to_string(pid) + "/fd 2>/dev/null | sort -n | tr '\\n' ' '";
			if (FILE *ls = opt.signal ? nullptr : popen(listing.c_str(), "r")) {
				for (int c; (c = fgetc(ls)) != EOF;)
					r.fds += (char)c;
				pclose(ls);
			}
			if (!opt.late_input.empty()) {
				usleep(200000);   // the program waits in its read meanwhile
				if (write(in[1], opt.late_input.data(), opt.late_input.size()) < 0) {
					// the program has gone; the test's checks say why
				}
				if (!opt.terminal_input) {   // (a terminal's master closed hangs it up, its input lost)
					close(in[1]);
					in[1] = -1;
				}
				continue;
			}
			if (!opt.signal_at_once)
				usleep(opt.stuck_fd >= 0 || opt.signal_innermost ? 500000 : 50000);   // let it settle into its read or write
			pid_t target = pid;
			for (pid_t child; opt.signal_innermost && std::ifstream("/proc/" + std::to_string(target) + "/task/" +
			                                                       std::to_string(target) + "/children") >> child;)
				target = child;
			kill(target, opt.signal);
			if (in[1] >= 0) {
				usleep(100000);   // then end the input, for a signal that was ignored
				close(in[1]);
				in[1] = -1;
			}
		}
	}
	if (in[1] >= 0)
		close(in[1]);
	for (auto &f : fds)
		if (f.fd >= 0)
			close(f.fd);
	// a coverage build's counters may fail to reach a full disk; not the program's text
	// nor is qemu-user's note on a signal that ends the program
	for (const char *note : {"libgcov profiling error", "qemu: uncaught target signal"})
		for (size_t at; (at = r.err.find(note)) != std::string::npos;)
			r.err.erase(at, r.err.find('\n', at) + 1 - at);
	(opt.late_fd == 1 ? r.out : r.err).erase(0, opt.late_fd > 0 ? filled : 0);
	if (ours && target_is_windows()) {
		r.out = console_lines(r.out);
		r.err = console_lines(r.err);
	}
	int status = 0;
	if (time(nullptr) >= deadline)
		kill(pid, SIGKILL);
	struct rusage usage;
	wait4(pid, &status, 0, &usage);
	r.max_rss_kb = usage.ru_maxrss;
	r.cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000L + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
	if (WIFEXITED(status))
		r.status = WEXITSTATUS(status);
	else
		r.killed_by = WTERMSIG(status);
	return r;
}

run_result run_korvex(const temp_dir &dir, const run_options &opt)
{
	run_result r = run_once(dir, opt);
	// Now and then Wine fails to start a process ("failed to map the shared
	// user data"): status 1 with nothing on either stream. A run of the
	// program never ends so (an interrupt says "Interrupt").
	if (target_is_windows() && r.status == 1 && r.out.empty() && r.err.empty()) {
		printf("(Wine failed to start the program: status 1, no output; trying once more)\n");
		r = run_once(dir, opt);
	}
	return r;
}
