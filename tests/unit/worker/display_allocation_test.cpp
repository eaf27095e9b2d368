// The per-block step allocates nothing: whole wake-ups of the worker, each taking one block
// through the real recorder, Fft and note identification into the update ring, are run with
// every operator new of the process counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/posix/wavein/testing/fake_wave_in.h"
#include "recording_view.h"
#include "worker/display.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    if (void* block = std::aligned_alloc(align, rounded == 0 ? align : rounded)) {
        return block;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}

namespace {

TEST(AllocationHook, CountsWhileArmed) {
    allocations = 0;
    counting = true;
    delete new int(7);
    counting = false;
    delete new int(8);
    EXPECT_EQ(allocations.load(), 1);
}

TEST(DisplayAllocation, PerBlockStepAllocatesNothing) {
    wavein_testing::FakeWaveIn device;
    device.KeepCalls(false); // keeping them would allocate
    RecordingView view;
    view.Select(0);
    CountingWaker waker;
    Display display(true, Display::BlockLength, Display::SampleRate, Display::FftLength, view);
    display.SetUpdateWaker(&waker);
    display.Resume();
    ASSERT_TRUE(display.Start());
    ASSERT_TRUE(Eventually([&] { return display.HandledWakeUps() == 1; }));

    // Nine blocks: from the first one on, and once round the recorder's ring of eight.
    constexpr int Blocks = 9;
    allocations = 0;
    counting = true;
    bool allHandled = true;
    for (long block = 0; block < Blocks && allHandled; ++block) {
        device.CompleteBlock(110.0);
        allHandled = Eventually([&] { return display.HandledWakeUps() == block + 2; });
    }
    counting = false;
    ASSERT_TRUE(allHandled);
    EXPECT_EQ(allocations.load(), 0);

    // The blocks really went all the way into the ring (which keeps the newest sixteen).
    EXPECT_EQ(waker.wakes.load(), 2 * Blocks);
    EXPECT_EQ(display.DeliverUpdates(), ViewUpdates::Capacity);
    ASSERT_FALSE(view.shown.empty());
    EXPECT_EQ(view.shown.back().reading.frame, 9);
    EXPECT_EQ(view.shown.back().reading.direction, 1);
    display.Stop();
    display.WaitFor();
}

} // namespace
