// The wave-input entry points as the code under test reaches them: the test link wraps each one
// (ld --wrap, see CMakeLists.txt), so a call comes here first, is shown to the test device, goes
// on to the real core and, once answered, runs the device's hook.
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

// The names the linker gives: __real_X is the core's X, __wrap_X what callers of X reach.
extern "C" {

decltype(waveInGetNumDevs) __real_waveInGetNumDevs;
decltype(waveInGetDevCapsA) __real_waveInGetDevCapsA;
decltype(waveInOpen) __real_waveInOpen;
decltype(waveInPrepareHeader) __real_waveInPrepareHeader;
decltype(waveInUnprepareHeader) __real_waveInUnprepareHeader;
decltype(waveInAddBuffer) __real_waveInAddBuffer;
decltype(waveInStart) __real_waveInStart;
decltype(waveInReset) __real_waveInReset;
decltype(waveInClose) __real_waveInClose;

UINT __wrap_waveInGetNumDevs() {
    return Recorded({.call = Call::GetNumDevs}, [] { return __real_waveInGetNumDevs(); });
}

MMRESULT __wrap_waveInGetDevCapsA(UINT_PTR device, LPWAVEINCAPSA caps, UINT size) {
    return Recorded({.call = Call::GetDevCaps, .device = static_cast<UINT>(device)},
                    [&] { return __real_waveInGetDevCapsA(device, caps, size); });
}

MMRESULT __wrap_waveInOpen(LPHWAVEIN handle, UINT device, LPCWAVEFORMATEX format,
                           DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    RecordedCall call{.call = Call::Open,
                      .device = device,
                      .handleGiven = handle != nullptr,
                      .callback = callback,
                      .flags = flags};
    if (format != nullptr) {
        call.format = *format;
    }
    return Recorded(
        call, [&] { return __real_waveInOpen(handle, device, format, callback, instance, flags); });
}

MMRESULT __wrap_waveInPrepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    return Recorded(HeaderCall(Call::Prepare, handle, header, size),
                    [&] { return __real_waveInPrepareHeader(handle, header, size); });
}

MMRESULT __wrap_waveInUnprepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    return Recorded(HeaderCall(Call::Unprepare, handle, header, size),
                    [&] { return __real_waveInUnprepareHeader(handle, header, size); });
}

MMRESULT __wrap_waveInAddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size) {
    return Recorded(HeaderCall(Call::AddBuffer, handle, header, size),
                    [&] { return __real_waveInAddBuffer(handle, header, size); });
}

MMRESULT __wrap_waveInStart(HWAVEIN handle) {
    return Recorded({.call = Call::Start, .handle = handle},
                    [&] { return __real_waveInStart(handle); });
}

MMRESULT __wrap_waveInReset(HWAVEIN handle) {
    return Recorded({.call = Call::Reset, .handle = handle},
                    [&] { return __real_waveInReset(handle); });
}

MMRESULT __wrap_waveInClose(HWAVEIN handle) {
    return Recorded({.call = Call::Close, .handle = handle},
                    [&] { return __real_waveInClose(handle); });
}

} // extern "C"
