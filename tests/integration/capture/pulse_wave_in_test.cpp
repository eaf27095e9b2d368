// The wave-input layer against a real sound server (PulseAudio, or PipeWire with its PulseAudio
// service) started for each test: devices, the format query, the record stream it opens, and a
// server that is missing or stalled.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "platform/linux/wavein/pulse/pulse_backend.h"
#include "platform/winapi.h"
#include "tests/support/eventually.h"
#include "tests/support/pulse/pulse_server.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

WAVEFORMATEX Pcm(DWORD rate, WORD channels, WORD bits) {
    const WORD align = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

MMRESULT Query(const WAVEFORMATEX& format, UINT device = 0) {
    return waveInOpen(nullptr, device, &format, 0, 0, WAVE_FORMAT_QUERY);
}

// The server's index of every client connection named Vibralon that is open right now.
std::set<std::string> TunerClients(const testsupport::PulseServer& server) {
    std::set<std::string> clients;
    std::istringstream listing(server.Pactl("list clients"));
    std::string client;
    for (std::string line; std::getline(listing, line);) {
        if (line.starts_with("Client #")) {
            client = line.substr(8);
        } else if (line.find("application.name = \"Vibralon\"") != std::string::npos) {
            clients.insert(client);
        }
    }
    return clients;
}

// The index of the module that made the "guitar" sink, or empty.
std::string GuitarSinkModule(const testsupport::PulseServer& server) {
    std::istringstream listing(server.Pactl("list short modules"));
    for (std::string line; std::getline(listing, line);) {
        if (line.find("module-null-sink") != std::string::npos &&
            line.find("sink_name=guitar") != std::string::npos) {
            return line.substr(0, line.find('\t'));
        }
    }
    return {};
}

class PulseWaveIn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running()) << server_.Failure();
        server_.UseInThisProcess();
    }
    void TearDown() override { CloseHandle(event_); }

    // Opens device 0 at the tuner's format, setting event_.
    void Open(HWAVEIN& handle) {
        const WAVEFORMATEX format = Pcm(11025, 1, 16);
        ASSERT_EQ(
            waveInOpen(&handle, 0, &format, reinterpret_cast<DWORD_PTR>(event_), 0, CALLBACK_EVENT),
            MMSYSERR_NOERROR);
    }

    testsupport::PulseServer server_;
    HANDLE event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

TEST_F(PulseWaveIn, DevicesAreTheServersSourcesWithTheDefaultFirst) {
    // As the program starts: the connection and listing made ahead answer the first call; the
    // second, after a change, asks the server again.
    ConnectToSoundServerAhead();
    EXPECT_EQ(waveInGetNumDevs(), 1u);
    // A second sink brings a second source, its monitor (PipeWire has no sine source module).
    ASSERT_FALSE(server_.Pactl("load-module module-null-sink sink_name=second").empty());
    // PipeWire answers the load before its monitor source exists; wait until the server lists it.
    ASSERT_TRUE(Eventually([&] {
        return server_.Pactl("list short sources").find("second.monitor") != std::string::npos;
    }));
    EXPECT_EQ(waveInGetNumDevs(), 2u);

    WAVEINCAPSA caps{};
    ASSERT_EQ(waveInGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    const std::string name = caps.szPname;
    EXPECT_FALSE(name.empty());
    EXPECT_LT(name.size(), static_cast<std::size_t>(MAXPNAMELEN));
    // The name is the server's own description of the default source, cut to fit.
    EXPECT_NE(server_.Pactl("list sources").find("Description: " + name), std::string::npos)
        << name;
    EXPECT_EQ(caps.wChannels, 2);
    EXPECT_EQ(waveInGetDevCapsA(2, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
}

TEST_F(PulseWaveIn, TheQueryAcceptsWhatTheServerCanConvert) {
    for (const DWORD rate : {8000u, 11025u, 22050u, 44100u, 48000u}) {
        for (const WORD channels : {1, 2}) {
            for (const WORD bits : {8, 16}) {
                EXPECT_EQ(Query(Pcm(rate, channels, bits)), MMSYSERR_NOERROR)
                    << rate << " Hz " << channels << " ch " << bits << " bit";
            }
        }
    }
    EXPECT_EQ(Query(Pcm(7999, 1, 16)), WAVERR_BADFORMAT);
    EXPECT_EQ(Query(Pcm(48001, 1, 16)), WAVERR_BADFORMAT);
    EXPECT_EQ(Query(Pcm(11025, 3, 16)), WAVERR_BADFORMAT);
    EXPECT_EQ(Query(Pcm(11025, 1, 24)), WAVERR_BADFORMAT);
    WAVEFORMATEX inconsistent = Pcm(11025, 1, 16);
    inconsistent.nBlockAlign = 4;
    EXPECT_EQ(Query(inconsistent), WAVERR_BADFORMAT);
    WAVEFORMATEX notPcm = Pcm(11025, 1, 16);
    notPcm.wFormatTag = 3;
    EXPECT_EQ(Query(notPcm), WAVERR_BADFORMAT);
    EXPECT_EQ(Query(Pcm(11025, 1, 16), 1), MMSYSERR_BADDEVICEID);
}

TEST_F(PulseWaveIn, OpenConnectsANamedStreamAtTheRequestedFormatAndCloseSignals) {
    HWAVEIN handle = nullptr;
    ASSERT_NO_FATAL_FAILURE(Open(handle));
    EXPECT_EQ(WaitForSingleObject(event_, 0), WAIT_OBJECT_0) << "set once open";

    EXPECT_EQ(server_.SourceOutputs(), std::vector<std::string>{"Vibralon"});
    const std::string streams = server_.Pactl("list source-outputs");
    EXPECT_NE(streams.find("s16le 1ch 11025Hz"), std::string::npos) << streams;
    EXPECT_NE(streams.find("application.icon_name = \"vibralon\""), std::string::npos);
    EXPECT_NE(streams.find("media.name = \"Vibralon\""), std::string::npos);
    const std::string sources = server_.Pactl("list short sources");
    const std::string monitorIndex = sources.substr(0, sources.find('\t'));
    ASSERT_NE(sources.find(std::string("\t") + testsupport::PulseServer::SourceName),
              std::string::npos);
    EXPECT_NE(streams.find("Source: " + monitorIndex + "\n"), std::string::npos)
        << "on the default source";

    EXPECT_EQ(waveInClose(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(WaitForSingleObject(event_, 0), WAIT_OBJECT_0) << "set once more on close";
    EXPECT_TRUE(Eventually([&] { return server_.SourceOutputs().empty(); }));
    EXPECT_EQ(waveInClose(handle), MMSYSERR_INVALHANDLE) << "a closed handle is refused";
}

TEST_F(PulseWaveIn, CloseWaitsForResetToHandEveryBlockBack) {
    HWAVEIN handle = nullptr;
    ASSERT_NO_FATAL_FAILURE(Open(handle));
    std::vector<char> pool(2 * 64);
    WAVEHDR headers[2]{};
    for (int k = 0; k < 2; ++k) {
        headers[k].lpData = pool.data() + 64 * k;
        headers[k].dwBufferLength = 64;
        ASSERT_EQ(waveInPrepareHeader(handle, &headers[k], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(handle, &headers[k], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveInClose(handle), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInReset(handle), MMSYSERR_NOERROR);
    for (const WAVEHDR& header : headers) {
        EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_DONE);
        EXPECT_EQ(waveInUnprepareHeader(handle, const_cast<WAVEHDR*>(&header), sizeof(WAVEHDR)),
                  MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveInClose(handle), MMSYSERR_NOERROR);
}

TEST_F(PulseWaveIn, WithoutASourceTheStreamWaitsOnItsConnectionAndResumesWhenOneComes) {
    const WAVEFORMATEX format = Pcm(11025, 1, 16);
    HWAVEIN handle = nullptr;
    ASSERT_EQ(waveInOpen(&handle, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    // Twentieths of a second: each comes back soon after sound flows.
    std::vector<char> pool(2 * 1102);
    WAVEHDR headers[2]{};
    const auto queue = [&] {
        for (WAVEHDR& header : headers) {
            ASSERT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        }
    };
    // Read as the capture thread writes them, for the thread sanitizer's build.
    const auto done = [](WAVEHDR& header) {
        return (std::atomic_ref<DWORD>(header.dwFlags).load(std::memory_order_acquire) &
                WHDR_DONE) != 0;
    };
    const auto filled = [&] { return done(headers[0]); };
    for (int k = 0; k < 2; ++k) {
        headers[k].lpData = pool.data() + 1102 * k;
        headers[k].dwBufferLength = 1102;
        ASSERT_EQ(waveInPrepareHeader(handle, &headers[k], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    queue();
    ASSERT_EQ(waveInStart(handle), MMSYSERR_NOERROR);
    ASSERT_TRUE(Eventually(filled)) << "no sound at first";
    ASSERT_TRUE(Eventually([&] { return done(headers[1]); }));

    // The only sink goes, and with it the source (PulseAudio's only one): the stream has
    // nothing to record from.
    const std::string module = GuitarSinkModule(server_);
    ASSERT_FALSE(module.empty()) << server_.Pactl("list short modules");
    server_.Pactl("unload-module " + module);
    ASSERT_TRUE(Eventually([&] {
        return server_.Pactl("list short sources").find(testsupport::PulseServer::SourceName) ==
               std::string::npos;
    }));
    std::this_thread::sleep_for(300ms);
    queue();
    // Waiting for a source must not cost the server a new client every moment.
    std::set<std::string> seen;
    for (const auto until = Clock::now() + 3s; Clock::now() < until;) {
        const std::set<std::string> now = TunerClients(server_);
        seen.insert(now.begin(), now.end());
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_LE(seen.size(), 2u) << "client connections made while no source was there";

    ASSERT_FALSE(server_.Pactl("load-module module-null-sink sink_name=guitar").empty());
    server_.Pactl(std::string("set-default-source ") + testsupport::PulseServer::SourceName);
    // The source's announcement brings the stream back at once, the fallback timer (doubled
    // up to 4 s by now) later; on a busy machine either may be slow, so the bound only ends a
    // wait that would never end, and the time taken is printed.
    const auto returned = Clock::now();
    EXPECT_TRUE(Eventually(filled, 20s)) << "no sound within 20 s of the source's return";
    std::printf("sound again %.2f s after the source's return\n",
                std::chrono::duration<double>(Clock::now() - returned).count());

    EXPECT_EQ(waveInReset(handle), MMSYSERR_NOERROR);
    for (WAVEHDR& header : headers) {
        EXPECT_EQ(waveInUnprepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveInClose(handle), MMSYSERR_NOERROR);
}

TEST_F(PulseWaveIn, AskingForDevicesWhileAStreamWaitsForItsServerTouchesNothingUnlocked) {
    // With a stream open and its server gone, the mainloop thread makes the connection again
    // every quarter second; the next call that asks for devices reads that connection's state
    // from the caller's thread. The thread sanitizer's build sees any of it read unlocked.
    HWAVEIN handle = nullptr;
    ASSERT_NO_FATAL_FAILURE(Open(handle));
    server_.Kill();
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(waveInGetNumDevs(), 0u);
    EXPECT_EQ(waveInClose(handle), MMSYSERR_NOERROR);
}

TEST_F(PulseWaveIn, AStalledServerCountsAsNoServerAfterAShortWait) {
    server_.Stall();
    const auto started = Clock::now();
    ConnectToSoundServerAhead();
    EXPECT_EQ(waveInGetNumDevs(), 0u);
    EXPECT_NE(Query(Pcm(11025, 1, 16)), MMSYSERR_NOERROR);
    // A hang guard, not a speed target: each call gives up after its own short time-out.
    EXPECT_LT(Clock::now() - started, 10s);
    server_.Resume();
    EXPECT_EQ(waveInGetNumDevs(), 1u);
}

TEST(PulseWaveInWithoutServer, HasNoDeviceAndOpensNothing) {
    setenv("PULSE_SERVER", "unix:/nonexistent/vibralon/native", 1);
    SetDefaultWaveInBackend(PulseWaveInBackend());
    ConnectToSoundServerAhead();
    EXPECT_EQ(waveInGetNumDevs(), 0u);
    const WAVEFORMATEX format = Pcm(11025, 1, 16);
    EXPECT_NE(Query(format), MMSYSERR_NOERROR);
    HWAVEIN handle = nullptr;
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(
        waveInOpen(&handle, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT),
        MMSYSERR_NODRIVER);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    WAVEINCAPSA caps{};
    EXPECT_NE(waveInGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    CloseHandle(event);
}

TEST(PulseWaveInWithoutServer, AConnectionBegunAheadAndNeverAskedForEndsWithTheProgram) {
    // As a program that finds no display: begun ahead, then exit, with nothing asked of it. The
    // child is a fresh run of this test program, so no thread of this one is copied into it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("PULSE_SERVER", "unix:/nonexistent/vibralon/native", 1);
            ConnectToSoundServerAhead();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
