// The Windows names the portable code uses: wave input, events, threads, critical sections,
// message boxes and the shell's "open". On Windows these are the real headers, except that the
// calls on an open wave-input device go to our layer over winmm (platform/win32/wavein/), which
// keeps a device that goes alive, and message boxes to a handler a program may register
// (platform/win32/desktop/); elsewhere this header declares our own layer with the same
// names, types and contract, implemented in platform/linux/.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// windows.h first: mmsystem.h and shellapi.h need its types. The blank line keeps the include
// sorter from reordering them.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include "platform/win32/desktop/desktop_services.h"
#include "platform/win32/wavein/kept_wave_in.h"

// Message boxes go where a program without a window can catch them.
#define MessageBoxA VibralonMessageBoxA

// The calls on an open device are our layer's.
#define waveInOpen KeptWaveInOpen
#define waveInPrepareHeader KeptWaveInPrepareHeader
#define waveInUnprepareHeader KeptWaveInUnprepareHeader
#define waveInAddBuffer KeptWaveInAddBuffer
#define waveInStart KeptWaveInStart
#define waveInReset KeptWaveInReset
#define waveInClose KeptWaveInClose
#else

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using BOOL = int;
using MMRESULT = UINT;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Kernel objects (events) are opaque handles.
using HANDLE = void*;
struct HWAVEIN__;
using HWAVEIN = HWAVEIN__*;
using LPHWAVEIN = HWAVEIN*;
struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

// --- wave input -------------------------------------------------------------------------------

struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
using LPWAVEFORMATEX = WAVEFORMATEX*;
using LPCWAVEFORMATEX = const WAVEFORMATEX*;

struct WAVEHDR {
    LPSTR lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    DWORD dwFlags;
    DWORD dwLoops;
    WAVEHDR* lpNext;
    DWORD_PTR reserved;
};
using LPWAVEHDR = WAVEHDR*;

constexpr int MAXPNAMELEN = 32;
constexpr int MAXERRORLENGTH = 256;

struct WAVEINCAPSA {
    WORD wMid;
    WORD wPid;
    UINT vDriverVersion;
    char szPname[MAXPNAMELEN];
    DWORD dwFormats;
    WORD wChannels;
    WORD wReserved1;
};
using LPWAVEINCAPSA = WAVEINCAPSA*;

constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr UINT WAVE_MAPPER = static_cast<UINT>(-1);

constexpr DWORD WAVE_FORMAT_QUERY = 0x0001;
constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_EVENT = 0x00050000;

constexpr DWORD WHDR_DONE = 0x00000001;
constexpr DWORD WHDR_PREPARED = 0x00000002;
constexpr DWORD WHDR_INQUEUE = 0x00000010;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_NOTENABLED = 3;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MMSYSERR_BADERRNUM = 9;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

UINT waveInGetNumDevs();
MMRESULT waveInGetDevCapsA(UINT_PTR uDeviceID, LPWAVEINCAPSA pwic, UINT cbwic);
MMRESULT waveInOpen(LPHWAVEIN phwi, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                    DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT waveInPrepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh);
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh);
MMRESULT waveInAddBuffer(HWAVEIN hwi, LPWAVEHDR pwh, UINT cbwh);
MMRESULT waveInStart(HWAVEIN hwi);
MMRESULT waveInReset(HWAVEIN hwi);
MMRESULT waveInClose(HWAVEIN hwi);
MMRESULT waveInGetErrorTextA(MMRESULT mmrError, LPSTR pszText, UINT cchText);

// --- events -----------------------------------------------------------------------------------

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

HANDLE CreateEventA(LPVOID lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName);
BOOL SetEvent(HANDLE hEvent);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// Also waits for a thread to end, and closes a thread handle.
BOOL CloseHandle(HANDLE hObject);

// --- threads ----------------------------------------------------------------------------------

// The calling convention of system callbacks; one convention on 64-bit Windows, none here.
#define WINAPI
using SIZE_T = std::size_t;
using LPDWORD = DWORD*;
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;

HANDLE CreateThread(LPVOID lpThreadAttributes, SIZE_T dwStackSize,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId);
// Returns the suspend count before the call, (DWORD)-1 for a handle that is no thread.
DWORD ResumeThread(HANDLE hThread);
DWORD GetCurrentThreadId();
// Why the last call of this thread failed. Only CreateThread sets it here, with the errno value
// of the refusal, which std::system_category() reads on this platform.
DWORD GetLastError();

// --- critical sections ------------------------------------------------------------------------

// Opaque: the section's state lives behind impl, made by InitializeCriticalSection.
struct CRITICAL_SECTION {
    void* impl;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

// --- message boxes ----------------------------------------------------------------------------

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr int IDOK = 1;

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// --- the shell --------------------------------------------------------------------------------

constexpr INT SW_SHOWNORMAL = 1;

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, INT nShowCmd);

#endif // _WIN32

// Ours, not Windows': with CALLBACK_EVENT, keep a device that cannot be opened now and start
// recording once it can be. Our Windows layer takes it and winmm never sees it; the Linux layer
// refuses it as an unknown flag (MMSYSERR_INVALFLAG), as any layer that cannot wait does.
constexpr DWORD WAVE_OPEN_AWAIT_DEVICE = 0x01000000;
