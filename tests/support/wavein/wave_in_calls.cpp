// The wave-input entry points as the code under test reaches them: a call comes here first, is
// shown to the test device, goes on to the real core (this build's copy, its entry points
// renamed: core_entry_points.h) and, once answered, runs the device's hook.
#include "tests/support/wavein/fake_wave_in.h"

namespace {

using wavein_testing::Call;
using wavein_testing::RecordedCall;

template <typename Answer> auto Recorded(const RecordedCall& call, Answer answer) {
    wavein_testing::CallArrived(call);
    const auto answered = answer();
    wavein_testing::CallAnswered(call.call);
    return answered;
}

RecordedCall HeaderCall(Call call, HWAVEIN handle, WAVEHDR* header, UINT size) {
    RecordedCall recorded{.call = call, .handle = handle, .header = header, .size = size};
    if (header != nullptr) {
        recorded.headerAtCall = *header;
    }
    return recorded;
}

} // namespace

// The core's entry points, as its copy in this build names them.
decltype(waveInGetNumDevs) core_waveInGetNumDevs;
decltype(waveInGetDevCapsA) core_waveInGetDevCapsA;
decltype(waveInOpen) core_waveInOpen;
decltype(waveInPrepareHeader) core_waveInPrepareHeader;
decltype(waveInUnprepareHeader) core_waveInUnprepareHeader;
decltype(waveInAddBuffer) core_waveInAddBuffer;
decltype(waveInStart) core_waveInStart;
decltype(waveInReset) core_waveInReset;
decltype(waveInClose) core_waveInClose;

UINT waveInGetNumDevs() {
    return Recorded({.call = Call::GetNumDevs}, [] { return core_waveInGetNumDevs(); });
}

MMRESULT waveInGetDevCapsA(UINT_PTR device, LPWAVEINCAPSA caps, UINT size) {
    return Recorded({.call = Call::GetDevCaps, .device = static_cast<UINT>(device)},
                    [&] { return core_waveInGetDevCapsA(device, caps, size); });
}

MMRESULT waveInOpen(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) {
    RecordedCall call{.call = Call::Open,
                      .device = device,
                      .handleGiven = handle != nullptr,
                      .callback = callback,
                      .flags = flags};
    if (format != nullptr) {
        call.format = *format;
    }
    return Recorded(
        call, [&] { return core_waveInOpen(handle, device, format, callback, instance, flags); });
}

MMRESULT waveInPrepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    return Recorded(HeaderCall(Call::Prepare, handle, header, size),
                    [&] { return core_waveInPrepareHeader(handle, header, size); });
}

MMRESULT waveInUnprepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    return Recorded(HeaderCall(Call::Unprepare, handle, header, size),
                    [&] { return core_waveInUnprepareHeader(handle, header, size); });
}

MMRESULT waveInAddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    return Recorded(HeaderCall(Call::AddBuffer, handle, header, size),
                    [&] { return core_waveInAddBuffer(handle, header, size); });
}

MMRESULT waveInStart(HWAVEIN handle) {
    return Recorded({.call = Call::Start, .handle = handle},
                    [&] { return core_waveInStart(handle); });
}

MMRESULT waveInReset(HWAVEIN handle) {
    return Recorded({.call = Call::Reset, .handle = handle},
                    [&] { return core_waveInReset(handle); });
}

MMRESULT waveInClose(HWAVEIN handle) {
    return Recorded({.call = Call::Close, .handle = handle},
                    [&] { return core_waveInClose(handle); });
}
