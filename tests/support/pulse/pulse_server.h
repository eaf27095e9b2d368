// A private sound server speaking the PulseAudio protocol, for one test: PulseAudio itself, or
// PipeWire with its PulseAudio service when VIBRALON_TEST_SOUND_SERVER is "pipewire" (see
// private-pulse.sh, which starts either). It runs in a fresh directory of its own (runtime dir,
// home, config, cookie), so neither the user's server nor their settings get in the way, with
// one null sink "guitar" whose monitor "guitar.monitor" is the default source.
//
//   testsupport::PulseServer server;          // starts it; ASSERT_TRUE(server.Running()) <<
//   server.Failure(); server.UseInThisProcess();                // libpulse in this process now
//   talks to it auto player = server.Play("tone.wav");    // paplay into the sink: the source hears
//   it server.SourceOutputs();                   // application names of the open record streams
//   server.Kill();                            // SIGKILL to every part, as a crashing server
//   server.Restart();                         // killed, then started again on the same socket
//
// Child programs (the tuner itself, pactl, paplay) get ClientEnvironment().
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/pulse/child_process.h"

namespace testsupport {

class PulseServer {
public:
    static constexpr const char* SinkName = "guitar";
    static constexpr const char* SourceName = "guitar.monitor";

    // Starts the server and waits until it answers (at most 10 s). Check Running().
    PulseServer();
    // Kills the server if it still runs and removes its directory.
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool Running();
    // Why starting failed, with the server's log.
    const std::string& Failure() const { return failure_; }
    // The value for PULSE_SERVER: "unix:<directory>/pulse/native".
    std::string Address() const;

    // The environment a client program needs: the current one with PULSE_SERVER, PULSE_COOKIE
    // and PULSE_CLIENTCONFIG pointing here.
    std::vector<std::string> ClientEnvironment() const;
    // Sets those variables in this process. Call it before any thread uses libpulse.
    void UseInThisProcess() const;

    // Plays a sound file into the "guitar" sink; the returned player ends when the file does.
    ChildProcess Play(const std::string& file) const;
    // Runs pactl with `arguments`; its standard output, or empty when it failed.
    std::string Pactl(const std::string& arguments) const;
    // The application name of every record stream open on the server, in the server's order.
    std::vector<std::string> SourceOutputs() const;

    // SIGKILL to every part of the server, and reap: as a server that crashes.
    void Kill();
    // Kills it and starts it again in the same directory, so on the same socket, as a package
    // upgrade or a user does. Check Running().
    void Restart();
    // Which server runs: "pulseaudio" or "pipewire".
    static std::string Kind();
    // SIGSTOP / SIGCONT: a server that stalls, and comes back.
    void Stall();
    void Resume();

private:
    void Start();
    bool WaitUntilAnswering(std::chrono::milliseconds timeout);

    std::string directory_;
    std::string failure_;
    ChildProcess server_;
};

// Writes a WAV file of a sine tone with sox: `hertz`, `seconds` long, 16-bit stereo at 44100 Hz.
bool WriteSineWav(const std::string& path, double hertz, double seconds);

// A fresh directory under /tmp for a test's files, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace testsupport
