// The worker's own thread, event, lock and owning pointer.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "capture/recorder_m16.h"
#include "worker/event.h"
#include "worker/mutex.h"
#include "worker/thread.h"
#include "worker/xptr.h"

namespace {

bool IsSet(const Event& event) {
    return WaitForSingleObject(event.Handle(), 0) == WAIT_OBJECT_0;
}

TEST(Event, StartsClearAndOneWaitTakesAnySettings) {
    Event event;
    EXPECT_FALSE(IsSet(event));
    event.Signal();
    event.Signal(); // settings merge
    EXPECT_TRUE(event.Wait());
    EXPECT_FALSE(IsSet(event)) << "auto-reset: the wait took it";
}

class Waiter : public TThread {
public:
    ~Waiter() override { WaitFor(); }

    Event wake;
    std::atomic<int> runs{0};
    std::thread::id ranOn;

protected:
    void Execute() override {
        ranOn = std::this_thread::get_id();
        runs.fetch_add(1);
        wake.Wait();
    }
};

TEST(TThread, RunsExecuteOnceOnItsOwnThreadWhenResumed) {
    Waiter thread;
    thread.WaitFor(); // never resumed: returns at once
    EXPECT_EQ(thread.runs.load(), 0);
    EXPECT_FALSE(thread.Finished());

    thread.Resume();
    thread.Resume(); // no second run
    thread.wake.Signal();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.runs.load(), 1);
    EXPECT_NE(thread.ranOn, std::this_thread::get_id());

    thread.Resume(); // after the end, still no second run
    thread.WaitFor();
    EXPECT_EQ(thread.runs.load(), 1);
}

TEST(MutexAndLock, ExcludeEachOtherAndReleaseOnEveryExit) {
    Mutex mutex;
    long counter = 0;
    const auto add = [&] {
        for (int n = 0; n < 20000; ++n) {
            try {
                Lock lock(mutex);
                ++counter;
                if (n % 1000 == 0) {
                    throw std::runtime_error("leave by exception");
                }
            } catch (const std::runtime_error&) {
            }
        }
    };
    std::thread other(add);
    add();
    other.join();
    EXPECT_EQ(counter, 40000);
}

struct Counted {
    explicit Counted(int& deaths) : deaths(deaths) {}
    ~Counted() { ++deaths; }
    int& deaths;
};

TEST(XPtr, DeletesWhatItHoldsOnceThroughItsStaticType) {
    int deaths = 0;
    {
        XPtr<Counted> held(new Counted(deaths));
        EXPECT_EQ(&held->deaths, &deaths);
    }
    EXPECT_EQ(deaths, 1);

    // The worker's recorder is held through its base.
    PtrRecorder recorder(new RecorderM16(4096, 11025));
    EXPECT_EQ(recorder->BlockBytes(), 8192);
    EXPECT_EQ(recorder->GetSample("\xFF\x7F", 0), 32767);
}

} // namespace
