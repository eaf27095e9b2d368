#include "tests/support/wavein/fake_wave_in.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <utility>

namespace wavein_testing {
namespace {

std::atomic<FakeWaveIn*> active{nullptr};

DWORD FlagsOf(const WAVEHDR& header) {
    return std::atomic_ref<DWORD>(const_cast<DWORD&>(header.dwFlags))
        .load(std::memory_order_acquire);
}

} // namespace

// The back end's functions; a friend so they can reach the device's state.
struct FakeBackend {
    static FakeWaveIn& Fake() {
        FakeWaveIn* fake = active.load();
        assert(fake != nullptr);
        return *fake;
    }

    static bool ListSources(std::vector<WaveInSource>& sources) {
        FakeWaveIn& fake = Fake();
        std::lock_guard lock(fake.mutex_);
        sources.assign(fake.devices_, WaveInSource{"fake", "F"});
        return true;
    }

    static MMRESULT QueryFormat(const WaveInSource&, const WAVEFORMATEX&) {
        FakeWaveIn& fake = Fake();
        std::lock_guard lock(fake.mutex_);
        return fake.queryResult_;
    }

    static MMRESULT Open(const WaveInSource&, const WAVEFORMATEX& format, WaveInSink& sink,
                         WaveInStream*& stream) {
        FakeWaveIn& fake = Fake();
        std::lock_guard lock(fake.mutex_);
        if (fake.openResult_ != MMSYSERR_NOERROR) {
            return fake.openResult_;
        }
        ++fake.openStreams_;
        fake.sink_ = &sink;
        fake.format_ = format;
        fake.recording_ = false;
        stream = reinterpret_cast<WaveInStream*>(&sink);
        return MMSYSERR_NOERROR;
    }

    // Capture runs from a start to a reset, as the core's queue has it.
    static void Start(WaveInStream*) { SetRecording(true); }
    static void Stop(WaveInStream*) { SetRecording(false); }
    static void SetRecording(bool recording) {
        FakeWaveIn& fake = Fake();
        std::lock_guard lock(fake.mutex_);
        fake.recording_ = recording;
    }

    static MMRESULT Close(WaveInStream* stream) {
        FakeWaveIn& fake = Fake();
        std::lock_guard lock(fake.mutex_);
        if (fake.closeResult_ != MMSYSERR_NOERROR) {
            return fake.closeResult_;
        }
        --fake.openStreams_;
        if (reinterpret_cast<WaveInSink*>(stream) == fake.sink_) {
            fake.sink_ = nullptr;
        }
        return MMSYSERR_NOERROR;
    }
};

namespace {

constexpr WaveInBackend fakeBackend{.name = "fake",
                                    .driverVersion = 0,
                                    .listSources = FakeBackend::ListSources,
                                    .queryFormat = FakeBackend::QueryFormat,
                                    .open = FakeBackend::Open,
                                    .start = FakeBackend::Start,
                                    .stop = FakeBackend::Stop,
                                    .close = FakeBackend::Close};

} // namespace

FakeWaveIn::FakeWaveIn() {
    calls_.reserve(64);
    FakeWaveIn* expected = nullptr;
    const bool alone = active.compare_exchange_strong(expected, this);
    assert(alone && "one FakeWaveIn at a time");
    (void)alone;
    previous_ = SelectWaveInBackend(&fakeBackend);
}

FakeWaveIn::~FakeWaveIn() {
    SelectWaveInBackend(previous_);
    active.store(nullptr);
}

void CallArrived(const RecordedCall& call) {
    FakeWaveIn* fake = active.load();
    if (fake == nullptr) {
        return;
    }
    if (call.call == Call::Unprepare) {
        fake->unprepares_.fetch_add(1);
    }
    std::lock_guard lock(fake->mutex_);
    if (call.call == Call::Open && !(call.flags & WAVE_FORMAT_QUERY)) {
        fake->event_ = reinterpret_cast<HANDLE>(call.callback);
    }
    if (call.call == Call::AddBuffer && call.header != nullptr) {
        fake->NoteAdded(call.header);
    }
    if (fake->keepCalls_) {
        fake->calls_.push_back(call);
    }
}

void CallAnswered(Call call) {
    FakeWaveIn* fake = active.load();
    if (fake == nullptr) {
        return;
    }
    std::function<void(Call)> hook;
    {
        std::lock_guard lock(fake->mutex_);
        hook = fake->hook_;
    }
    if (hook) {
        hook(call);
    }
}

void FakeWaveIn::SetCallHook(std::function<void(Call)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

void FakeWaveIn::KeepCalls(bool keep) {
    std::lock_guard lock(mutex_);
    keepCalls_ = keep;
}

std::vector<RecordedCall> FakeWaveIn::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<RecordedCall> FakeWaveIn::CallsOf(Call call) const {
    std::vector<RecordedCall> found;
    for (const RecordedCall& recorded : Calls()) {
        if (recorded.call == call) {
            found.push_back(recorded);
        }
    }
    return found;
}

void FakeWaveIn::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

bool FakeWaveIn::IsOpen() const {
    std::lock_guard lock(mutex_);
    return openStreams_ > 0;
}

int FakeWaveIn::Queued() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(headers_, headers_ + headerCount_, [](const WAVEHDR* h) {
        return (FlagsOf(*h) & WHDR_INQUEUE) != 0;
    }));
}

void FakeWaveIn::Feed(const void* bytes, std::size_t count) {
    WaveInSink* sink = nullptr;
    {
        std::lock_guard lock(mutex_);
        sink = sink_;
    }
    if (sink != nullptr) {
        sink->Deliver(bytes, count);
    }
}

template <typename Write> bool FakeWaveIn::FillHead(Write write) {
    const std::size_t room = HeadRoom();
    if (room == 0) {
        return false;
    }
    // In pieces, so that nothing is allocated; only the last one completes the block.
    std::int16_t piece[256];
    for (std::size_t left = room / 2; left > 0;) {
        const std::size_t count = std::min(left, std::size(piece));
        write(std::span(piece, count));
        Feed(piece, count * sizeof piece[0]);
        left -= count;
    }
    return true;
}

bool FakeWaveIn::CompleteHead(char fill) {
    return FillHead([fill](std::span<std::int16_t> samples) {
        std::fill(samples.begin(), samples.end(),
                  static_cast<std::int16_t>(static_cast<std::uint8_t>(fill) * 0x101));
    });
}

bool FakeWaveIn::CompleteBlocks(std::initializer_list<double> hertz) {
    std::size_t blockBytes = 0;
    {
        std::lock_guard lock(mutex_);
        assert(sink_ == nullptr || format_.wBitsPerSample == 16);
        blockBytes = headerCount_ > 0 ? headers_[0]->dwBufferLength : 0;
    }
    const std::size_t room = HeadRoom();
    if (room == 0) {
        return false;
    }
    // One delivery for all the blocks, so that their completions set the event once.
    std::vector<std::int16_t> samples((room + (hertz.size() - 1) * blockBytes) / 2);
    std::size_t first = 0;
    for (const double tone : hertz) {
        const std::size_t count = (first == 0 ? room : blockBytes) / 2;
        WriteTone(tone, std::span(samples).subspan(first, count));
        first += count;
    }
    Feed(samples.data(), samples.size() * sizeof samples[0]);
    return true;
}

bool FakeWaveIn::CompleteBlock(double hertz) {
    return FillHead([this, hertz](std::span<std::int16_t> samples) { WriteTone(hertz, samples); });
}

void FakeWaveIn::NoteAdded(const WAVEHDR* header) {
    const WAVEHDR** end = headers_ + headerCount_;
    const WAVEHDR** found = std::find(headers_, end, header);
    if (found == end) {
        if (headerCount_ == MaxHeaders) {
            return;
        }
        ++headerCount_;
    } else if (FlagsOf(*header) & WHDR_INQUEUE) {
        return; // the core refuses it: it is queued already, in its old place
    }
    *found = header;
    addedAt_[found - headers_] = ++adds_;
}

std::size_t FakeWaveIn::HeadRoom() const {
    std::lock_guard lock(mutex_);
    if (sink_ == nullptr || !recording_) {
        return 0;
    }
    // The head is the queued block added first.
    const WAVEHDR* head = nullptr;
    long headAddedAt = 0;
    for (int k = 0; k < headerCount_; ++k) {
        if ((FlagsOf(*headers_[k]) & WHDR_INQUEUE) &&
            (head == nullptr || addedAt_[k] < headAddedAt)) {
            head = headers_[k];
            headAddedAt = addedAt_[k];
        }
    }
    return head != nullptr ? head->dwBufferLength - head->dwBytesRecorded : 0;
}

void FakeWaveIn::WriteTone(double hertz, std::span<std::int16_t> samples) {
    const double rate = static_cast<double>(format_.nSamplesPerSec);
    for (std::int16_t& sample : samples) {
        const double angle = 2.0 * std::numbers::pi * hertz * static_cast<double>(phase_++) / rate;
        sample = static_cast<std::int16_t>(std::lround(12000.0 * std::sin(angle)));
    }
}

void FakeWaveIn::Signal() const {
    HANDLE event = nullptr;
    {
        std::lock_guard lock(mutex_);
        event = event_;
    }
    if (event != nullptr) {
        SetEvent(event);
    }
}

bool FakeWaveIn::TakeSignal() const {
    HANDLE event = nullptr;
    {
        std::lock_guard lock(mutex_);
        event = event_;
    }
    return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

bool FakeWaveIn::SignalWaiting() const {
    // Looking takes the setting: put it back for the thread it was meant for.
    if (!TakeSignal()) {
        return false;
    }
    Signal();
    return true;
}

} // namespace wavein_testing
