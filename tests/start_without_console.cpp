// Starts a Windows program as a program with no console of its own does
// (a GUI front end, a macro, the Task Scheduler): with STARTF_USESTDHANDLES,
// standard input a pipe that holds the answers, and null output and error
// handles; "detached" adds DETACHED_PROCESS. Exits with the program's status.
//   start_without_console <program> plain|detached [<name>]
// The answers are the name and a closing 0; without a name the program gets
// no input handle at all.
#include <windows.h>

#include <string.h>

#include <string>

int main(int argc, char **argv)
{
	if (argc < 3)
		return 125;
	SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
	HANDLE input = nullptr;
	if (argc > 3) {
		HANDLE writer;
		if (!CreatePipe(&input, &writer, &inheritable, 0))
			return 125;
		SetHandleInformation(writer, HANDLE_FLAG_INHERIT, 0);
		std::string answers = std::string(argv[3]) + "\n0\n";
		DWORD n;
		if (!WriteFile(writer, answers.data(), (DWORD)answers.size(), &n, nullptr))
			return 125;
		CloseHandle(writer);
	}
	STARTUPINFOA start = {};
	start.cb = sizeof start;
	start.dwFlags = STARTF_USESTDHANDLES;
	start.hStdInput = input;
	start.hStdOutput = nullptr;
	start.hStdError = nullptr;
	std::string command_line = std::string("\"") + argv[1] + "\"";
	DWORD flags = strcmp(argv[2], "detached") == 0 ? DETACHED_PROCESS : 0;
	PROCESS_INFORMATION child;
	if (!CreateProcessA(argv[1], &command_line[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr, &start, &child))
		return 126;
	WaitForSingleObject(child.hProcess, INFINITE);
	DWORD status = 127;
	GetExitCodeProcess(child.hProcess, &status);
	return (int)status;
}
