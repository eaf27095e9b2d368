// The wave-input entry points: which back end they reach, the texts for the codes they give, and
// the client library the sound server's back end loads.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/wavein/pulse/pulse_backend.h"
#include "platform/linux/wavein/pulse/pulse_library.h"
#include "platform/linux/wavein/wave_in_backend.h"
#include "platform/wavein/open_devices.h"
#include "tests/support/wavein/fake_wave_in.h"

namespace {

TEST(WaveInBackends, TheSoundServerIsTheDefaultAndAFakeOnlyWhenSelected) {
    EXPECT_STREQ(CurrentWaveInBackend().name, "none") << "until the program sets its own";
    SetDefaultWaveInBackend(PulseWaveInBackend());
    EXPECT_STREQ(CurrentWaveInBackend().name, "pulseaudio");
    {
        wavein_testing::FakeWaveIn fake;
        fake.SetDeviceCount(3);
        EXPECT_EQ(waveInGetNumDevs(), 3u);
    }
    EXPECT_STREQ(CurrentWaveInBackend().name, "pulseaudio");
    const WaveInBackend* previous = SelectWaveInBackend(&NullWaveInBackend());
    EXPECT_EQ(waveInGetNumDevs(), 0u);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    EXPECT_NE(waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    SelectWaveInBackend(previous);
}

// A handle kept after its close reaches nothing, neither while nothing is open nor once other
// devices are opened (the last one likely where the closed one stood): winmm's answer to it.
TEST(WaveInHandles, AClosedHandleIsRefusedAndNeverNamesADeviceOpenedLater) {
    wavein_testing::FakeWaveIn fake;
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    HWAVEIN closed = nullptr;
    ASSERT_EQ(waveInOpen(&closed, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInClose(closed), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInStart(closed), MMSYSERR_INVALHANDLE);
    std::set<HWAVEIN> given{closed};
    for (int k = 0; k < 8; ++k) {
        HWAVEIN open = nullptr;
        ASSERT_EQ(waveInOpen(&open, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
        EXPECT_TRUE(given.insert(open).second) << "handle given out twice, round " << k;
        EXPECT_EQ(waveInReset(closed), MMSYSERR_INVALHANDLE) << k;
        EXPECT_EQ(waveInClose(closed), MMSYSERR_INVALHANDLE) << k;
        EXPECT_TRUE(fake.IsOpen()) << "the stale handle closed the device open now, round " << k;
        ASSERT_EQ(waveInClose(open), MMSYSERR_NOERROR);
        closed = open;
    }
    EXPECT_EQ(waveInStart(reinterpret_cast<HWAVEIN>(&given)), MMSYSERR_INVALHANDLE)
        << "never given out";
}

// The open's checks both layers make: only the query, an event or no callback, and a layer's
// own flags where it takes them; a handle to fill and an event to set when opening.
TEST(WaveInOpenChecks, TakeOnlyWhatThePortableCodeUses) {
    using open_devices::CheckOpen;
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    HWAVEIN handle = nullptr;
    const auto event = DWORD_PTR{1};
    EXPECT_EQ(CheckOpen(&handle, nullptr, event, CALLBACK_EVENT, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(CheckOpen(nullptr, &format, 0, WAVE_FORMAT_QUERY, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(CheckOpen(&handle, &format, event, CALLBACK_EVENT, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(CheckOpen(&handle, &format, 0, CALLBACK_NULL, 0), MMSYSERR_NOERROR);
    const DWORD callbackFunction = 0x00030000;
    EXPECT_EQ(CheckOpen(&handle, &format, event, callbackFunction, 0), MMSYSERR_INVALFLAG);
    EXPECT_EQ(CheckOpen(nullptr, &format, event, CALLBACK_EVENT, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(CheckOpen(&handle, &format, 0, CALLBACK_EVENT, 0), MMSYSERR_INVALPARAM);
    const DWORD awaiting = CALLBACK_EVENT | WAVE_OPEN_AWAIT_DEVICE;
    EXPECT_EQ(CheckOpen(&handle, &format, event, awaiting, WAVE_OPEN_AWAIT_DEVICE),
              MMSYSERR_NOERROR);
    // Linux's layer cannot wait for a device: it takes none of ours.
    wavein_testing::FakeWaveIn fake;
    EXPECT_EQ(waveInOpen(&handle, 0, &format, event, 0, awaiting), MMSYSERR_INVALFLAG);
    EXPECT_FALSE(fake.IsOpen());
}

// The client library the back end loads itself: all of it, or nothing and the loader's reason.
TEST(PulseLibrary, LoadsEveryFunctionOrFailsWithTheReason) {
    const auto resolved = [](const PulseLibrary& library) {
        int count = 0;
#define VIBRALON_COUNT_RESOLVED(name) count += library.name != nullptr ? 1 : 0;
        VIBRALON_PULSE_FUNCTIONS(VIBRALON_COUNT_RESOLVED)
#undef VIBRALON_COUNT_RESOLVED
        return count;
    };
    PulseLibrary library;
    std::string reason;
    EXPECT_FALSE(LoadPulseLibraryFrom("libvibralon-absent.so.0", library, reason));
    EXPECT_NE(reason.find("libvibralon-absent.so.0"), std::string::npos) << reason;
    // A library that loads but is not the sound server's: nothing of it is taken.
    reason.clear();
    EXPECT_FALSE(LoadPulseLibraryFrom("libm.so.6", library, reason));
    EXPECT_NE(reason.find("pa_"), std::string::npos) << reason;
    EXPECT_EQ(resolved(library), 0);

    reason.clear();
    ASSERT_TRUE(LoadPulseLibraryFrom(PulseLibraryFile, library, reason)) << reason;
#define VIBRALON_COUNT_LISTED(name) +1
    constexpr int listed = 0 VIBRALON_PULSE_FUNCTIONS(VIBRALON_COUNT_LISTED);
#undef VIBRALON_COUNT_LISTED
    EXPECT_EQ(resolved(library), listed);
    // And the program's own load, whichever call comes first, gives the same.
    ASSERT_TRUE(LoadPulseLibrary());
    EXPECT_EQ(resolved(Pulse()), listed);
}

// Every code a back end of ours returns has its own plain sentence.
TEST(WaveInErrorText, EveryCodeWeReturnHasItsOwnSentence) {
    const MMRESULT codes[] = {MMSYSERR_ERROR,     MMSYSERR_BADDEVICEID, MMSYSERR_NOTENABLED,
                              MMSYSERR_ALLOCATED, MMSYSERR_INVALHANDLE, MMSYSERR_NODRIVER,
                              MMSYSERR_NOMEM,     MMSYSERR_INVALFLAG,   MMSYSERR_INVALPARAM,
                              WAVERR_BADFORMAT,   WAVERR_STILLPLAYING,  WAVERR_UNPREPARED};
    std::set<std::string> texts;
    for (const MMRESULT code : codes) {
        char text[164];
        std::memset(text, 'x', sizeof text);
        ASSERT_EQ(waveInGetErrorTextA(code, text, sizeof text), MMSYSERR_NOERROR) << code;
        const std::string sentence = text;
        EXPECT_GT(sentence.size(), 10u) << code;
        EXPECT_LT(sentence.size(), sizeof text) << code;
        EXPECT_EQ(sentence.back(), '.') << code;
        texts.insert(sentence);
    }
    EXPECT_EQ(texts.size(), std::size(codes));
}

TEST(WaveInErrorText, IsCutToTheBufferAndRefusesUnknownCodes) {
    // Every text into every buffer shorter than it, down to one byte: the leading part that
    // fits, terminated, and not a byte written past the buffer (the buffer is exactly that
    // long, so a sanitizer build sees a stray byte; the guard bytes after a copy of it show
    // one in any build).
    for (const MMRESULT code :
         {MMSYSERR_ERROR, MMSYSERR_NODRIVER, WAVERR_BADFORMAT, MMSYSERR_ALLOCATED}) {
        char whole[256] = {};
        ASSERT_EQ(waveInGetErrorTextA(code, whole, sizeof whole), MMSYSERR_NOERROR);
        const std::string text = whole;
        for (UINT size = 1; size <= text.size(); ++size) {
            const auto exact = std::make_unique<char[]>(size);
            ASSERT_EQ(waveInGetErrorTextA(code, exact.get(), size), MMSYSERR_NOERROR);
            EXPECT_EQ(std::string(exact.get()), text.substr(0, size - 1)) << size;
            std::vector<char> guarded(size + 8, '#');
            ASSERT_EQ(waveInGetErrorTextA(code, guarded.data(), size), MMSYSERR_NOERROR);
            EXPECT_EQ(std::string(guarded.begin() + size, guarded.end()), "########") << size;
        }
    }

    char small[8];
    EXPECT_EQ(waveInGetErrorTextA(MMSYSERR_ALLOCATED, small, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInGetErrorTextA(12345, small, sizeof small), MMSYSERR_BADERRNUM);
}

} // namespace
