#include "tests/support/pulse/pulse_server.h"

#include "platform/linux/wavein/pulse/pulse_backend.h"

#include <signal.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace testsupport {
namespace {

constexpr std::chrono::seconds StartTimeout{10};
constexpr const char* ServerScript = VIBRALON_SOURCE_DIR "/tests/support/pulse/private-pulse.sh";

std::string MakeTempDir(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a shell command line, returning its standard output (empty when it failed).
std::string Capture(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    std::array<char, 4096> buffer{};
    std::size_t read = 0;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), read);
    }
    return pclose(pipe) == 0 ? output : std::string();
}

} // namespace

PulseServer::PulseServer() : directory_(MakeTempDir("vibralon-pulse")) {
    // As the tuner's own start-up does: wave input records from the sound server.
    SetDefaultWaveInBackend(PulseWaveInBackend());
    if (directory_.empty()) {
        failure_ = "cannot make a temporary directory";
        return;
    }
    Start();
}

void PulseServer::Start() {
    failure_.clear();
    // The script knows how to run each kind of server; it leads a process group of its own
    // with every part of the server in it.
    server_ = ChildProcess({"bash", ServerScript, "serve", directory_}, EnvironmentWith({}, {}),
                           directory_ + "/server.log");
    if (!server_.Started()) {
        failure_ = "cannot start " + Kind();
        return;
    }
    if (!WaitUntilAnswering(StartTimeout)) {
        failure_ = Kind() + " did not answer; its log:\n" + ReadFile(directory_ + "/server.log");
        server_.Kill();
    }
}

void PulseServer::Restart() {
    server_.Kill();
    Start();
}

std::string PulseServer::Kind() {
    const char* kind = std::getenv("VIBRALON_TEST_SOUND_SERVER");
    return kind != nullptr && *kind != '\0' ? kind : "pulseaudio";
}

PulseServer::~PulseServer() {
    server_.Kill();
    if (!directory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
}

bool PulseServer::Running() {
    return server_.Running();
}

std::string PulseServer::Address() const {
    return "unix:" + directory_ + "/pulse/native";
}

std::vector<std::string> PulseServer::ClientEnvironment() const {
    return EnvironmentWith({"PULSE_SERVER", "PULSE_COOKIE", "PULSE_CLIENTCONFIG"},
                           {"PULSE_SERVER=" + Address(), "PULSE_COOKIE=" + directory_ + "/cookie",
                            "PULSE_CLIENTCONFIG=" + directory_ + "/client.conf"});
}

void PulseServer::UseInThisProcess() const {
    setenv("PULSE_SERVER", Address().c_str(), 1);
    setenv("PULSE_COOKIE", (directory_ + "/cookie").c_str(), 1);
    setenv("PULSE_CLIENTCONFIG", (directory_ + "/client.conf").c_str(), 1);
}

ChildProcess PulseServer::Play(const std::string& file) const {
    return ChildProcess({"paplay", std::string("--device=") + SinkName, file}, ClientEnvironment(),
                        directory_ + "/paplay.log");
}

std::string PulseServer::Pactl(const std::string& arguments) const {
    return Capture("env PULSE_SERVER='" + Address() + "' PULSE_COOKIE='" + directory_ +
                   "/cookie' PULSE_CLIENTCONFIG='" + directory_ + "/client.conf' timeout 5 pactl " +
                   arguments + " 2>/dev/null");
}

std::vector<std::string> PulseServer::SourceOutputs() const {
    std::vector<std::string> names;
    std::istringstream listing(Pactl("list source-outputs"));
    const std::string key = "application.name = \"";
    for (std::string line; std::getline(listing, line);) {
        const std::size_t at = line.find(key);
        if (at != std::string::npos) {
            const std::size_t start = at + key.size();
            names.push_back(line.substr(start, line.rfind('"') - start));
        }
    }
    return names;
}

void PulseServer::Kill() {
    server_.Kill();
}

void PulseServer::Stall() {
    server_.Signal(SIGSTOP);
}

void PulseServer::Resume() {
    server_.Signal(SIGCONT);
}

bool PulseServer::WaitUntilAnswering(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && server_.Running()) {
        if (std::filesystem::exists(directory_ + "/pulse/native") &&
            Pactl("info").find(std::string("Default Source: ") + SourceName + "\n") !=
                std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool WriteSineWav(const std::string& path, double hertz, double seconds) {
    const std::string command = "sox -n -r 44100 -c 2 -b 16 '" + path + "' synth " +
                                std::to_string(seconds) + " sine " + std::to_string(hertz) +
                                " vol 0.5 2>/dev/null";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(path);
}

TempDir::TempDir() : path_(MakeTempDir("vibralon-test")) {}

TempDir::~TempDir() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

} // namespace testsupport
