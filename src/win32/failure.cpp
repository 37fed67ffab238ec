#include "win32/failure.h"

#include <cwchar>

namespace win32 {

void Fail(const wchar_t* call) {
    const DWORD error = GetLastError();
    wchar_t text[512];
    std::swprintf(
        text, sizeof text / sizeof text[0],
        L"Chyba za běhu programu.\r\n\r\nVolání %ls selhalo (kód chyby %lu).\r\n\r\nProgram bude ukončen.",
        call, static_cast<unsigned long>(error));
    MessageBoxW(nullptr, text, L"Tajné nastavení systému Windows", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    ExitProcess(1);
}

} // namespace win32
