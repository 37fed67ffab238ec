// The program's one answer to a failing system call: the standard run-time error message, then
// the end of the process. Nothing is persisted, so there is nothing to clean up.
#pragma once

#include <windows.h>

namespace win32 {

[[noreturn]] void Fail(const wchar_t* call);
// Ends the process at once, with that exit code.
[[noreturn]] void EndProcess(UINT code);
// True once a failure is being reported: the windows then handle nothing themselves.
bool Failing();

#ifdef NASTAVENI_FAULT_INJECTION
// Test builds only: true when this check of the call is one the tests chose to fail, named in the
// environment variable NASTAVENI_FAIL as "CALL" (every check) or "CALL#N" (the N-th), several
// separated by commas. A function looked up while running is checked by its name: made to fail,
// it is missing, as on older Windows.
bool InjectedFault(const wchar_t* call);
bool InjectedFault(const char* call);
// Says on standard error, once, which of the chosen calls never failed; also when the program
// returns from its entry point.
void ReportFaultsNeverMade();
#endif

// The value as the call returned it, or, in the test build, failed on purpose: the value the call
// returns when it fails.
template <typename T>
T Outcome(T value, [[maybe_unused]] const wchar_t* call, [[maybe_unused]] T failed = T{}) {
#ifdef NASTAVENI_FAULT_INJECTION
    if (InjectedFault(call)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        value = failed;
    }
#endif
    return value;
}

// For calls without which the joke cannot go on (a window, a control, the font, the timer):
// returns the value when it signals success (non-zero/non-null), else fails naming the call.
template <typename T>
T Check(T value, const wchar_t* call) {
    value = Outcome(value, call);
    if (!value) Fail(call);
    return value;
}

// For calls the joke can do without (a beep, a repaint, a line of text): a failure is let go.
template <typename T>
void Attempt(T value, const wchar_t* call) {
    static_cast<void>(Outcome(value, call));
}

} // namespace win32
