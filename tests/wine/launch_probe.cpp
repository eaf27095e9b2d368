// Windows: starts a program as a shortcut set to "Run: Minimized" does (the show command
// SW_SHOWMINNOACTIVE in its start-up information), waits for its main window to show, prints
// whether that window is minimized ("iconic" or "normal"), then closes it and prints its exit
// code ("exit N").
//
//   launch_probe.exe PROGRAM.exe
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK KeepShownWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: launch_probe PROGRAM.exe\n", stderr);
        return 2;
    }
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        std::fprintf(stderr, "cannot start it (error %lu)\n", GetLastError());
        return 1;
    }
    Search search{started.dwProcessId, nullptr};
    for (int i = 0; i < 300 && search.found == nullptr; ++i) {
        Sleep(100);
        EnumWindows(&KeepShownWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found == nullptr) {
        std::fputs("no window showed\n", stderr);
        TerminateProcess(started.hProcess, 1);
        return 1;
    }
    // Settled: a window first shown normal and minimized right after would pass otherwise.
    Sleep(500);
    std::puts(IsIconic(search.found) ? "iconic" : "normal");
    PostMessageW(search.found, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fputs("still running 10 s after the close\n", stderr);
        TerminateProcess(started.hProcess, 1);
    }
    GetExitCodeProcess(started.hProcess, &code);
    std::printf("exit %lu\n", code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 0;
}
