#include "win32/failure.h"

namespace win32 {

namespace {
bool failing = false;

BOOL CALLBACK HideWindow(HWND window, LPARAM) {
    ShowWindow(window, SW_HIDE);
    return TRUE;
}
} // namespace

bool Failing() {
    return failing;
}

void Fail(const wchar_t* call) {
    const DWORD error = GetLastError();
    // The message box below runs a message loop: from here on the windows take no more events
    // (no timer tick, no click may run a handler in a broken state), and none stays half drawn.
    if (failing) EndProcess(1);
    failing = true;
    EnumThreadWindows(GetCurrentThreadId(), &HideWindow, 0);
    wchar_t text[512];
    // user32's formatter: the C runtime's printf family would double the program's size.
    wsprintfW(text,
              L"Chyba za běhu programu.\r\n\r\nVolání %.200ls selhalo (kód chyby %lu).\r\n\r\nProgram bude "
              L"ukončen.",
              call, static_cast<unsigned long>(error));
    MessageBoxW(nullptr, text, L"Tajné nastavení systému Windows", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    EndProcess(1);
}

void EndProcess(UINT code) {
#ifdef NASTAVENI_FAULT_INJECTION
    ReportFaultsNeverMade();
#endif
    ExitProcess(code);
}

} // namespace win32

#ifdef NASTAVENI_FAULT_INJECTION
#include <cstdlib>
#include <span>

namespace win32 {

namespace {

// One call the tests chose to fail: its name, which of its checks fails (0: every one), how many
// checks of it have been made, and whether one was made to fail.
struct ChosenFault {
    const wchar_t* call;
    int wanted;
    int seen;
    bool made;
};

// NASTAVENI_FAIL, read once: "CALL", "CALL#N", or several of these separated by commas.
std::span<ChosenFault> ChosenFaults() {
    static wchar_t text[256];
    static ChosenFault faults[8];
    static int count = -1;
    if (count >= 0) return {faults, static_cast<std::size_t>(count)};
    count = 0;
    std::atexit(&ReportFaultsNeverMade);
    const DWORD length = GetEnvironmentVariableW(L"NASTAVENI_FAIL", text, 256);
    if (length == 0 || length >= 256) return {};
    for (wchar_t* part = text; *part && count < 8;) {
        ChosenFault& fault = faults[count++];
        fault = {part, 0, 0, false};
        while (*part && *part != L',' && *part != L'#')
            ++part;
        if (*part == L'#') {
            *part++ = L'\0';
            while (*part >= L'0' && *part <= L'9')
                fault.wanted = fault.wanted * 10 + (*part++ - L'0');
        }
        if (*part == L',') *part++ = L'\0';
    }
    return {faults, static_cast<std::size_t>(count)};
}

} // namespace

bool InjectedFault(const wchar_t* call) {
    for (ChosenFault& fault : ChosenFaults()) {
        if (lstrcmpW(fault.call, call) != 0) continue;
        ++fault.seen;
        const bool fails = fault.wanted == 0 || fault.seen == fault.wanted;
        fault.made = fault.made || fails;
        return fails;
    }
    return false;
}

// A chosen call that never failed is a test that did not test what it names (a call renamed, a
// typo, a path not taken): said on standard error as the process ends, once, for the tests to see;
// the line comes with no name after it when every chosen call failed, so that a program that
// never got as far as saying it is told from one that made every failure.
void ReportFaultsNeverMade() {
    static bool reported = false;
    if (reported || ChosenFaults().empty()) return;
    reported = true;
    char line[320] = "nastaveni_faults: never made to fail:";
    int length = lstrlenA(line);
    // Names are cut at 300 characters in all: with "#N" and the line end, the line fits.
    for (const ChosenFault& fault : ChosenFaults()) {
        if (fault.made || length >= 300) continue;
        line[length++] = ' ';
        for (const wchar_t* c = fault.call; *c && length < 300; ++c)
            line[length++] = static_cast<char>(*c);
        if (fault.wanted) length += wsprintfA(line + length, "#%d", fault.wanted);
    }
    line[length++] = '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
}

bool InjectedFault(const char* call) {
    wchar_t wide[64]{};
    for (int i = 0; i < 63 && call[i]; ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(call[i]));
    return InjectedFault(wide);
}

} // namespace win32
#endif
