// A child program started for a test, ended by its PID when the object goes, and killed by the
// system if the thread that started it dies first (so a crashed test leaves nothing running).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace testsupport {

class ChildProcess {
public:
    ChildProcess() = default;
    // Starts `argv[0]` (looked up in PATH) with `environment` (NAME=value entries) as its whole
    // environment; its standard output and error go to `logFile` (empty: /dev/null).
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::string& logFile = {});
    // Kills and reaps the child if it still runs.
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // Whether the child is still running (reaps it if it has ended).
    bool Running();
    // Waits up to `timeout` for the child to end; its exit status, or -1 if it did not end.
    int Wait(std::chrono::milliseconds timeout);
    // Sends `signal` (SIGSTOP and SIGCONT stall and resume it); to its whole process group
    // when the child leads one of its own.
    void Signal(int signal) const;
    // SIGKILL (to the group as Signal does), then reaps it.
    void Kill();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// The current environment without the entries whose names are listed, plus `extra`.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& removed,
                                         const std::vector<std::string>& extra);

} // namespace testsupport
