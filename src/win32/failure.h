// The program's one answer to a failing system call: the standard run-time error message, then
// the end of the process. Nothing is persisted, so there is nothing to clean up.
#pragma once

#include <windows.h>

namespace win32 {

[[noreturn]] void Fail(const wchar_t* call);
// True once a failure is being reported: the windows then handle nothing themselves.
bool Failing();

#ifdef NASTAVENI_FAULT_INJECTION
// Test builds only: true when this check of the call is the one the tests chose to fail,
// named in the environment variable NASTAVENI_FAIL as "CALL" or "CALL#N" (the N-th check).
bool InjectedFault(const wchar_t* call);
#endif

// Returns the value when it signals success (non-zero/non-null), else fails naming the call.
template <typename T>
T Check(T value, const wchar_t* call) {
#ifdef NASTAVENI_FAULT_INJECTION
    if (InjectedFault(call)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        value = T{};
    }
#endif
    if (!value) Fail(call);
    return value;
}

} // namespace win32
