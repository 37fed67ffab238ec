// Times a program from its process start to its first window on screen, from inside the same
// Windows: a watcher outside would pay a process start per look, more than the time measured.
//
//   window_watch [--settle MS] [--stay] TITLE PROGRAM [ARGUMENT...]
//   window_watch --hold
//
// Prints, one figure a line: `visible_ms` (until a visible top-level window titled TITLE exists),
// `idle_ms` (until the program first waits for input, i.e. has drawn and entered its loop), after
// the settle time `memory ...` (the process's counters, bytes), then closes the window and prints
// `ended_ms`. With --stay it leaves the window alone, keeps sampling while someone else drives
// the program, and prints the last sample as `memory_final ...` once the program has ended.
//
// --hold only keeps the Wine desktop open until it is killed: Wine closes the desktop a moment
// after its last program ends, and a program started just then finds it gone (or has to wait for
// a new one), which is nothing a program on Windows ever meets. It prints `holding` once it is
// one of the desktop's programs.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kGiveUpMs = 60000;
constexpr DWORD kSampleMs = 10;

LARGE_INTEGER frequency, started;

double ElapsedMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - started.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

void Print(const char* key, double ms) {
    std::printf("%s %.3f\n", key, ms);
    std::fflush(stdout);
}

bool Sample(HANDLE process, PROCESS_MEMORY_COUNTERS& counters) {
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) != FALSE;
}

void PrintMemory(const char* key, const PROCESS_MEMORY_COUNTERS& counters) {
    std::printf("%s peak_working_set=%llu working_set=%llu peak_pagefile=%llu pagefile=%llu\n", key,
                static_cast<unsigned long long>(counters.PeakWorkingSetSize),
                static_cast<unsigned long long>(counters.WorkingSetSize),
                static_cast<unsigned long long>(counters.PeakPagefileUsage),
                static_cast<unsigned long long>(counters.PagefileUsage));
    std::fflush(stdout);
}

int Fail(const char* what, HANDLE process = nullptr) {
    std::fprintf(stderr, "window_watch: %s (error %lu)\n", what, GetLastError());
    if (process) TerminateProcess(process, 1);
    return 2;
}

std::wstring Quoted(const wchar_t* argument) {
    return L"\"" + std::wstring(argument) + L"\"";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"--hold") == 0) {
        if (GetDesktopWindow()) {
            std::puts("holding");
            std::fflush(stdout);
        }
        Sleep(INFINITE);
    }
    DWORD settleMs = 500;
    bool stay = false;
    int next = 1;
    for (; next < argc && argv[next][0] == L'-'; ++next) {
        if (std::wcscmp(argv[next], L"--stay") == 0) {
            stay = true;
        } else if (std::wcscmp(argv[next], L"--settle") == 0 && next + 1 < argc) {
            settleMs = static_cast<DWORD>(std::wcstoul(argv[++next], nullptr, 10));
        } else {
            break;
        }
    }
    if (argc - next < 2) {
        std::fputs("usage: window_watch [--settle MS] [--stay] TITLE PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    const wchar_t* title = argv[next];
    std::wstring commandLine = Quoted(argv[next + 1]);
    for (int i = next + 2; i < argc; ++i)
        commandLine += L" " + Quoted(argv[i]);

    timeBeginPeriod(1); // Windows sleeps in 15.6 ms steps otherwise; Wine always sleeps 1 ms
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    QueryPerformanceCounter(&started);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child))
        return Fail("CreateProcessW");
    CloseHandle(child.hThread);
    const HANDLE process = child.hProcess;

    // Waiting for idleness doubles as the 1 ms pause between looks, so both are caught in one loop.
    HWND window = nullptr;
    bool idle = false;
    while (!window || !idle) {
        if (!window) {
            HWND found = FindWindowW(nullptr, title);
            if (found && IsWindowVisible(found)) {
                window = found;
                Print("visible_ms", ElapsedMs());
            }
        }
        if (!idle) {
            if (WaitForInputIdle(process, 1) == 0) {
                idle = true;
                Print("idle_ms", ElapsedMs());
            }
        } else if (!window) {
            Sleep(1);
        }
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return Fail("the program ended first");
        if (ElapsedMs() > kGiveUpMs) return Fail("no window", process);
    }

    Sleep(settleMs);
    PROCESS_MEMORY_COUNTERS counters;
    if (!Sample(process, counters)) return Fail("GetProcessMemoryInfo", process);
    PrintMemory("memory", counters);

    if (stay) {
        while (WaitForSingleObject(process, kSampleMs) == WAIT_TIMEOUT) {
            // A program on its way out may be answered with zeros; a peak never goes down.
            PROCESS_MEMORY_COUNTERS latest;
            if (Sample(process, latest) && latest.PeakWorkingSetSize >= counters.PeakWorkingSetSize)
                counters = latest;
        }
        PrintMemory("memory_final", counters);
    } else {
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
            return Fail("still running after WM_CLOSE", process);
        Print("ended_ms", ElapsedMs());
    }
    CloseHandle(process);
    timeEndPeriod(1);
    return 0;
}
