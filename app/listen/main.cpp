// vibralon-listen: the tuner's readings in a terminal, from the same worker as the window.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/listen/listen_arguments.h"
#include "app/listen/listen_view.h"
#include "capture/recorder.h"
#include "platform/winapi.h"
#include "worker/display.h"
#include "worker/waiting_waker.h"

#ifdef _WIN32
#include <io.h>

#include "platform/win32/desktop/desktop_services.h"
#else
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "platform/linux/desktop_services.h"
#include "platform/linux/wavein/pulse/pulse_backend.h"
#endif

namespace {

using Clock = ListenView::Clock;

constexpr int CannotListen = 1;
constexpr int BadArguments = 2;

std::atomic<bool> stopAsked{false};
WaitingWaker* stopWaker = nullptr;

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "vibralon-listen: %s\n", message.c_str());
    return status;
}

bool IsTerminal(std::FILE* file) {
#ifdef _WIN32
    return _isatty(_fileno(file)) != 0;
#else
    return isatty(fileno(file)) != 0;
#endif
}

// Ctrl+C and SIGTERM wake the main loop, which ends at once. They are taken by a thread of
// their own that waits for them (blocked everywhere else), so the wake-up is an ordinary call.
class StopSignals {
public:
#ifdef _WIN32
    StopSignals() {
        SetConsoleCtrlHandler(Handler, TRUE);
    }
    ~StopSignals() {
        SetConsoleCtrlHandler(Handler, FALSE);
    }

private:
    static BOOL WINAPI Handler(DWORD) {
        stopAsked.store(true);
        stopWaker->Wake();
        return TRUE;
    }
#else
    // Before any other thread starts, so that every thread inherits the mask.
    StopSignals() {
        sigemptyset(&signals_);
        sigaddset(&signals_, SIGINT);
        sigaddset(&signals_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
        waiter_ = std::thread([this] {
            int signal = 0;
            sigwait(&signals_, &signal);
            stopAsked.store(true);
            if (!ending_.load()) {
                stopWaker->Wake();
            }
        });
    }
    ~StopSignals() {
        ending_.store(true);
        pthread_kill(waiter_.native_handle(), SIGTERM);
        waiter_.join();
    }

private:
    sigset_t signals_{};
    std::atomic<bool> ending_{false};
    std::thread waiter_;
#endif
};

// The recorder tells its failures in message boxes, for the window; here the first is kept for
// the one line on stderr.
std::string firstMessage;

int KeepMessage(const std::string& text, const std::string& caption, unsigned) {
    if (firstMessage.empty()) {
        firstMessage = text.empty() ? caption : text;
    }
    return IDOK;
}

std::string WhyNotListening() {
    if (firstMessage == Recorder::AllocatedText) {
        return "the sound input is held by another program";
    }
    return "cannot open the sound input: " +
           (firstMessage.empty() ? std::string("unknown error") : firstMessage);
}

int Listen(const ListenArguments& arguments, WaitingWaker& waker) {
    if (waveInGetNumDevs() == 0) {
        return Fail("no sound input device (is a sound server running?)", CannotListen);
    }
    const Clock::time_point start = Clock::now();
    ListenView view({.selectedString = arguments.selectedString,
                     .everyBlock = arguments.everyBlock,
                     .json = arguments.json,
                     .inPlace = !arguments.json && !arguments.plain && IsTerminal(stdout)},
                    stdout, start);
    Display display(true, Display::BlockLength, Display::SampleRate, Display::FftLength, view);
    display.SetUpdateWaker(&waker);
    display.Resume();
    // Where a layer can wait for a device that cannot be opened now (ours on Windows), Start
    // succeeds after telling why; the window waits then, but a command fails at once.
    if (!display.Start() || !firstMessage.empty()) {
        display.Stop();
        display.WaitFor();
        return Fail(WhyNotListening(), CannotListen);
    }
    const Clock::time_point end = arguments.seconds > 0
                                      ? start + std::chrono::seconds(arguments.seconds)
                                      : Clock::time_point::max();
    while (!stopAsked.load()) {
        const Clock::time_point now = Clock::now();
        if (now >= end) {
            break;
        }
        // Wakes for the worker's updates, a stop, the silence check or the end, whichever is
        // first; at least once a minute.
        const Clock::duration wait =
            std::min({end - now, view.NextCheck() - now,
                      std::chrono::duration_cast<Clock::duration>(std::chrono::minutes(1))});
        if (waker.WaitFor(std::chrono::ceil<std::chrono::milliseconds>(wait))) {
            display.DeliverUpdates();
        }
        view.Tick(Clock::now());
    }
    display.Stop();
    display.WaitFor();
    view.Finish();
    return view.WriteFailed() ? Fail("cannot write the readings", CannotListen) : 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        std::string error;
        const std::optional<ListenArguments> arguments =
            ParseListenArguments(std::vector<std::string>(argv + 1, argv + argc), error);
        if (!arguments) {
            return Fail(error + " (--help lists the arguments)", BadArguments);
        }
        if (arguments->help) {
            std::printf("%s\n", ListenUsage);
            return 0;
        }
        WaitingWaker waker;
        stopWaker = &waker;
        StopSignals signals;
        desktop::SetMessageBoxHandler(KeepMessage);
#ifndef _WIN32
        std::setlocale(LC_ALL, "");
        SetDefaultWaveInBackend(PulseWaveInBackend());
#endif
        return Listen(*arguments, waker);
    } catch (const std::exception& failure) {
        return Fail(failure.what(), CannotListen);
    }
}
