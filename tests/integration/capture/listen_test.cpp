// vibralon-listen, the real program, hearing a rendered guitar through a private sound server.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "analysis/identify_note.h"
#include "app/listen/listen_arguments.h"
#include "tests/support/eventually.h"
#include "tests/support/pulse/pulse_server.h"
#include "ui/a11y/reading_words.h"

namespace {

using namespace std::chrono_literals;
using testsupport::ChildProcess;
using Clock = std::chrono::steady_clock;

std::string Read(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ListenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running()) << server_.Failure();
        const std::string render = std::string(VIBRALON_RENDER_GUITAR) + " " + wav_ + " 45 2 10";
        ASSERT_EQ(std::system(render.c_str()), 0);
        // Played as a string into a microphone arrives: at once. At paplay's default latency the
        // null sink hands its monitor the sound in chunks of about 2 s.
        player_ = ChildProcess({"paplay", "--latency-msec=100", "--device=guitar", wav_},
                               server_.ClientEnvironment());
        // The string sounds before the program starts, so its 2 s are the program's own.
        const Clock::time_point end = Clock::now() + 10s;
        while (server_.Pactl("list short sink-inputs").empty() && Clock::now() < end) {
            std::this_thread::sleep_for(10ms);
        }
    }
    ChildProcess Listen(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv{VIBRALON_LISTEN};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return ChildProcess(argv, server_.ClientEnvironment(), log_);
    }
    // Waits up to `timeout` for the output to hold `text`.
    bool Says(const std::string& text, std::chrono::milliseconds timeout) {
        return Eventually([&] { return Read(log_).find(text) != std::string::npos; }, timeout);
    }

    testsupport::PulseServer server_;
    testsupport::TempDir dir_;
    std::string wav_ = dir_.Path() + "/a_string.wav";
    std::string log_ = dir_.Path() + "/listen.log";
    ChildProcess player_;
};

TEST_F(ListenTest, NamesTheAStringWithinTwoSecondsAndEndsAtOnceOnSigint) {
    ChildProcess listen = Listen({});
    EXPECT_TRUE(Says("A, ", 2s)) << Read(log_);
    listen.Signal(SIGINT);
    EXPECT_EQ(listen.Wait(1s), 0) << Read(log_);
}

long CpuTicks(pid_t pid) {
    std::istringstream stat(Read("/proc/" + std::to_string(pid) + "/stat"));
    std::string field;
    long ticks = 0;
    for (int k = 1; k <= 15 && stat >> field; ++k) {
        ticks += k >= 14 ? std::stol(field) : 0; // utime, stime
    }
    return ticks;
}

// The window's rule: 3 s without a block, "Not listening" (and waiting costs nothing); blocks
// again, "Listening".
TEST_F(ListenTest, SaysWhenTheInputGoesAndComesBack) {
    ChildProcess listen = Listen({});
    ASSERT_TRUE(Says("A, ", 5s)) << Read(log_);
    server_.Stall();
    ASSERT_TRUE(Says("Not listening\n", 6s)) << Read(log_);
    const long ticks = CpuTicks(listen.Pid());
    std::this_thread::sleep_for(1s);
    EXPECT_LE(CpuTicks(listen.Pid()) - ticks, 5); // of 100 a second
    server_.Resume();
    EXPECT_TRUE(Says("Not listening\nListening\n", 6s)) << Read(log_);
}

// On a terminal (script's), each reading is written over the last; one line ends it.
TEST_F(ListenTest, ATerminalGetsTheReadingsInPlace) {
    ChildProcess listen(
        {"script", "-qec", std::string(VIBRALON_LISTEN) + " --seconds 3", "/dev/null"},
        server_.ClientEnvironment(), log_);
    ASSERT_EQ(listen.Wait(10s), 0) << Read(log_);
    const std::string said = Read(log_);
    EXPECT_TRUE(said.starts_with("\rA, ")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

// Each JSON line parsed; with the A string picked, the words are the window's accessible reading
// of the block's reading and frequency.
TEST_F(ListenTest, JsonLinesCarryTheWindowsWordsForThePickedString) {
    ChildProcess listen = Listen({"--json", "--every-block", "--string", "A5", "--seconds", "4"});
    ASSERT_EQ(listen.Wait(10s), 0) << Read(log_);
    const std::string parsed = dir_.Path() + "/parsed";
    const std::string python = "python3 -c 'import json, sys\n"
                               "for line in open(sys.argv[1]):\n"
                               "    o = json.loads(line)\n"
                               "    print(o[\"hertz\"], o[\"words\"], sep=\"\\t\")' " +
                               log_ + " >" + parsed;
    ASSERT_EQ(std::system(python.c_str()), 0) << Read(log_);
    std::istringstream lines(Read(parsed));
    int blocks = 0;
    int inTune = 0;
    for (std::string line; std::getline(lines, line); ++blocks) {
        const std::size_t tab = line.find('\t');
        const int hertz = std::stoi(line.substr(0, tab));
        const std::string words = line.substr(tab + 1);
        EXPECT_EQ(words, a11y::Words(a11y::Describe(IdentifyNote(hertz, 1), hertz, 1)));
        inTune += words == "in tune" ? 1 : 0;
    }
    EXPECT_GE(blocks, 6);
    EXPECT_GE(inTune, blocks / 2) << Read(parsed);
}

TEST(ListenArguments, NameStringsAsTheWindowAndItsDigitKeysDo) {
    std::string error;
    const auto string = [&error](const char* name) {
        const auto parsed = ParseListenArguments({"--string", name}, error);
        return parsed ? parsed->selectedString : -2;
    };
    EXPECT_EQ(string("E6"), 0);
    EXPECT_EQ(string("a5"), 1);
    EXPECT_EQ(string("2"), 4);
    EXPECT_EQ(string("1"), 5);
    EXPECT_EQ(string("7"), -2);
    EXPECT_FALSE(ParseListenArguments({"--seconds", "0"}, error));
}

TEST_F(ListenTest, NoServerIsOneLineAndAFailure) {
    ChildProcess listen({VIBRALON_LISTEN},
                        testsupport::EnvironmentWith({"PULSE_SERVER"},
                                                     {"PULSE_SERVER=unix:" + dir_.Path() + "/no"}),
                        log_);
    EXPECT_EQ(listen.Wait(10s), 1);
    const std::string said = Read(log_);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

} // namespace
