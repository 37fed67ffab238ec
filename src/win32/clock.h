// The steady clock the runtime times its timers and pauses with, read from the performance
// counter directly (the library's steady_clock drags its exception machinery into the program).
#pragma once

#include <windows.h>

#include <chrono>

namespace win32 {

inline std::chrono::steady_clock::time_point Now() {
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const long long seconds = counter.QuadPart / frequency.QuadPart;
    const long long rest = counter.QuadPart % frequency.QuadPart;
    return std::chrono::steady_clock::time_point(
        std::chrono::nanoseconds(seconds * 1'000'000'000LL + rest * 1'000'000'000LL / frequency.QuadPart));
}

} // namespace win32
