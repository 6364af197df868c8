#pragma once
// Running a function of a sourced bash library (tests/lib/*.sh) as a child of the test, with pipes to
// its standard input and output: the daemons the root tests start live as long as such a child does.

#include <sys/types.h>

#include <string>
#include <vector>

long long NowMs();

struct Child {
    pid_t pid = -1;
    int input = -1;   // its standard input
    int output = -1;  // its standard output and error
};

// Runs bash with "script" sourced and "call" as its command; pid -1 with errno when it cannot start.
Child SpawnShellLibrary(const std::string& script, const std::vector<std::string>& call);
// Reads until the end of the output, or until "text" holds a whole line starting with "until"; false when
// the deadline passed first.
bool ReadOutput(int fd, std::string& text, const std::string& until, long long deadline);
// The child's exit status, or -1 when it did not exit by the deadline (it is killed then) or was killed.
int WaitFor(pid_t pid, long long deadline);
// "/proc/self/..." and "/proc/thread-self/..." as the calling thread's own path, for a child to use.
std::string ForTheCallingThread(const std::string& path);
