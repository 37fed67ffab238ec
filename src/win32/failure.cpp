#include "win32/failure.h"

namespace win32 {

void Fail(const wchar_t* call) {
    const DWORD error = GetLastError();
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
