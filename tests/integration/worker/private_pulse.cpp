#include "private_pulse.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

bool Answers(const std::string& server) {
    const std::string command = "pactl --server=" + server + " info >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace

PrivatePulse::PrivatePulse(int sineHertz) {
    char pattern[] = "/tmp/vibralon-pulse-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        problem_ = "cannot make a runtime directory";
        return;
    }
    dir_ = pattern;
    const std::string server = "unix:" + dir_ + "/pulse/native";

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string line = *entry;
        if (line.rfind("XDG_RUNTIME_DIR=", 0) != 0 && line.rfind("HOME=", 0) != 0 &&
            line.rfind("PULSE_", 0) != 0) {
            environment.push_back(line);
        }
    }
    environment.push_back("XDG_RUNTIME_DIR=" + dir_);
    environment.push_back("HOME=" + dir_);
    std::vector<std::string> arguments = {"pulseaudio",
                                          "-n",
                                          "--daemonize=no",
                                          "--exit-idle-time=-1",
                                          "--log-target=file:" + dir_ + "/server.log",
                                          "--load=module-native-protocol-unix",
                                          "--load=module-sine-source source_name=tone frequency=" +
                                              std::to_string(sineHertz)};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& line : environment) {
        envp.push_back(line.data());
    }
    envp.push_back(nullptr);
    if (posix_spawnp(&pid_, "pulseaudio", nullptr, nullptr, argv.data(), envp.data()) != 0) {
        pid_ = -1;
        problem_ = "cannot start pulseaudio";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Answers(server)) {
        if (std::chrono::steady_clock::now() > deadline) {
            problem_ = "pulseaudio did not answer; see " + dir_ + "/server.log";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    setenv("PULSE_SERVER", server.c_str(), 1);
    ready_ = true;
}

PrivatePulse::~PrivatePulse() {
    unsetenv("PULSE_SERVER");
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!dir_.empty() && ready_) {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
}
