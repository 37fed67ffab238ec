// The program's one answer to a failing system call: the standard run-time error message, then
// the end of the process. Nothing is persisted, so there is nothing to clean up.
#pragma once

#include <windows.h>

namespace win32 {

[[noreturn]] void Fail(const wchar_t* call);

// Returns the value when it signals success (non-zero/non-null), else fails naming the call.
template <typename T>
T Check(T value, const wchar_t* call) {
    if (!value) Fail(call);
    return value;
}

} // namespace win32
