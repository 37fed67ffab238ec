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
    if (failing) ExitProcess(1);
    failing = true;
    EnumThreadWindows(GetCurrentThreadId(), &HideWindow, 0);
    wchar_t text[512];
    // user32's formatter: the C runtime's printf family would double the program's size.
    wsprintfW(text,
              L"Chyba za běhu programu.\r\n\r\nVolání %.200ls selhalo (kód chyby %lu).\r\n\r\nProgram bude "
              L"ukončen.",
              call, static_cast<unsigned long>(error));
    MessageBoxW(nullptr, text, L"Tajné nastavení systému Windows", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    ExitProcess(1);
}

} // namespace win32

#ifdef NASTAVENI_FAULT_INJECTION
namespace win32 {

bool InjectedFault(const wchar_t* call) {
    static wchar_t chosen[128];
    static int wanted = -1; // -1: not read yet; 0: nothing to fail
    static int seen = 0;
    if (wanted < 0) {
        wanted = 0;
        if (GetEnvironmentVariableW(L"NASTAVENI_FAIL", chosen, 128) > 0) {
            wanted = 1;
            for (wchar_t* mark = chosen; *mark; ++mark) {
                if (*mark == L'#') {
                    *mark = L'\0';
                    wanted = 0;
                    for (const wchar_t* digit = mark + 1; *digit >= L'0' && *digit <= L'9'; ++digit)
                        wanted = wanted * 10 + (*digit - L'0');
                    break;
                }
            }
        }
    }
    if (wanted == 0 || lstrcmpW(chosen, call) != 0) return false;
    return ++seen == wanted;
}

} // namespace win32
#endif
