// The recorder and a device that captures on a thread of its own, as the real back ends do:
// every block reaches the worker whole, in order, with no sample lost or torn. Under
// ThreadSanitizer this also checks the done-bit hand-over between the two threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "capture/recorder_m16.h"
#include "capture/sample_iter.h"
#include "tests/support/wavein/fake_wave_in.h"

namespace {

constexpr int SamplesPerBlock = 256;
constexpr int Blocks = 300;
// The device stays this many blocks ahead of the worker at most, so none is ever dropped.
constexpr int Lead = 5;

TEST(RecorderThreads, BlocksArriveWholeAndInOrderFromACaptureThread) {
    wavein_testing::FakeWaveIn device;
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    RecorderM16 recorder(SamplesPerBlock, 11025);
    ASSERT_TRUE(recorder.Start(event));

    std::atomic<int> taken{0};
    std::thread capture([&] {
        // A counting signal fed in pieces that straddle block boundaries.
        std::vector<std::int16_t> piece(97);
        std::int16_t next = 0;
        for (long fed = 0; fed < static_cast<long>(Blocks) * SamplesPerBlock;) {
            while (fed / SamplesPerBlock - taken.load() >= Lead) {
                std::this_thread::yield();
            }
            for (auto& sample : piece) {
                sample = next++;
            }
            device.Feed(piece.data(), piece.size() * sizeof(std::int16_t));
            fed += static_cast<long>(piece.size());
        }
    });

    std::int16_t expected = 0;
    int mismatches = 0;
    while (taken.load() < Blocks) {
        WaitForSingleObject(event, INFINITE);
        while (taken.load() < Blocks && recorder.CurrentBlockDone()) {
            SampleIter iter(recorder);
            recorder.BlockDone();
            for (; iter.index < iter.count; ++iter.index) {
                if (iter.recorder->GetSample(iter.data, iter.index) != expected++) {
                    ++mismatches;
                }
            }
            taken.fetch_add(1);
        }
    }
    capture.join();
    recorder.Stop();
    CloseHandle(event);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(expected, static_cast<std::int16_t>(Blocks * SamplesPerBlock));
}

} // namespace
