#include "tests/support/pulse/child_process.h"

#include "tests/support/eventually.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace testsupport {
namespace {

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& s : strings) {
        pointers.push_back(const_cast<char*>(s.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// A child that leads a process group of its own (a server of several programs) is signalled
// as a whole group.
void SignalChild(pid_t pid, int signal) {
    kill(getpgid(pid) == pid ? -pid : pid, signal);
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment,
                           const std::string& logFile) {
    // Everything the child needs is made before fork: after it, only async-signal-safe calls.
    const std::string log = logFile.empty() ? "/dev/null" : logFile;
    std::vector<char*> arguments = Pointers(argv);
    std::vector<char*> variables = Pointers(environment);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // A test that dies (a sanitizer abort, a crash) takes its server and players with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        const int input = open("/dev/null", O_RDONLY);
        const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (input < 0 || output < 0) {
            _exit(127);
        }
        dup2(input, 0);
        dup2(output, 1);
        dup2(output, 2);
        execvpe(arguments[0], arguments.data(), variables.data());
        _exit(127);
    }
    pid_ = pid;
}

ChildProcess::~ChildProcess() {
    Kill();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), status_(other.status_) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Kill();
        pid_ = std::exchange(other.pid_, -1);
        status_ = other.status_;
    }
    return *this;
}

bool ChildProcess::Running() {
    if (pid_ <= 0) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return false;
    }
    return true;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
    return Eventually([this] { return !Running(); }, timeout) ? status_ : -1;
}

void ChildProcess::Signal(int signal) const {
    if (pid_ > 0) {
        SignalChild(pid_, signal);
    }
}

void ChildProcess::Kill() {
    if (pid_ <= 0) {
        return;
    }
    SignalChild(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = 128 + SIGKILL;
    pid_ = -1;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& removed,
                                         const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (std::find(removed.begin(), removed.end(), name) == removed.end()) {
            result.push_back(variable);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

} // namespace testsupport
