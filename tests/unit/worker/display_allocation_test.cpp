// The per-block step allocates nothing: whole wake-ups of the worker, each taking one block
// through the real recorder, Fft and note identification into the update ring, are run with
// every operator new of the process counted.
#include <gtest/gtest.h>

#include <atomic>

#include "allocation_counter.h"
#include "tests/support/wavein/fake_wave_in.h"
#include "tests/support/worker/recording_view.h"
#include "worker/display.h"

namespace {

TEST(AllocationHook, CountsEveryNew) {
    const std::uint64_t before = AllocationCount();
    // Held in volatiles: a new whose pointer goes nowhere may be left out by the compiler.
    int* volatile one = new int(7);
    int* volatile three = new int[3];
    delete one;
    delete[] three;
    EXPECT_EQ(AllocationCount() - before, 2u);
}

TEST(DisplayAllocation, PerBlockStepAllocatesNothing) {
    wavein_testing::FakeWaveIn device;
    device.KeepCalls(false); // keeping them would allocate
    RecordingView view;
    view.Select(0);
    CountingWaker waker;
    Display display(true, Display::BlockLength, Display::SampleRate, Display::FftLength, view);
    display.SetUpdateWaker(&waker);
    ASSERT_TRUE(display.Start());
    // The open notification taken here: each block is then one wake-up of the worker and one of the
    // UI thread.
    ASSERT_TRUE(device.TakeSignal());
    display.Resume();

    // Nine blocks: from the first one on, and once round the recorder's ring of eight.
    constexpr int Blocks = 9;
    const std::uint64_t before = AllocationCount();
    bool allHandled = true;
    for (int block = 0; block < Blocks && allHandled; ++block) {
        device.CompleteBlock(110.0);
        allHandled = Eventually([&] { return waker.wakes.load() == block + 1; });
    }
    const std::uint64_t allocations = AllocationCount() - before;
    ASSERT_TRUE(allHandled);
    EXPECT_EQ(allocations, 0u);

    // The blocks really went all the way into the ring (which keeps the newest eight, each a lamp
    // change and a reading).
    EXPECT_EQ(waker.wakes.load(), Blocks);
    EXPECT_EQ(display.DeliverUpdates(), 2 * ViewUpdates::Capacity);
    ASSERT_FALSE(view.shown.empty());
    EXPECT_EQ(view.shown.back().reading.frame, 9);
    EXPECT_EQ(view.shown.back().reading.direction, 1);
    display.Stop();
    display.WaitFor();
}

} // namespace
