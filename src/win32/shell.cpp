#include "win32/shell.h"

#include "win32/failure.h"
#include "win32/system_library.h"

#include <objbase.h>

namespace win32 {

void OpenWithShell(const char* file) {
    // The shell and COM are loaded for this one call at the very end: the windows before it start
    // faster and smaller without them. They are never freed: the program ends right after.
    // A page that cannot be opened is not worth an error: the joke ends the same way.
    //
    // The shell may hand the address to extensions that need COM, and from a thread outside a
    // single-threaded apartment it launches on a thread of its own, which the end of the process
    // would cut off: the program ends as soon as the call returns. So this thread joins an
    // apartment first; then the launch happens within the call. Should that fail, the call is
    // made all the same.
    using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    if (const auto join = FunctionIn<CoInitializeExFn>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx"))
        Attempt(SUCCEEDED(join(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)),
                L"CoInitializeEx");
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    if (const auto open = FunctionIn<ShellExecuteAFn>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteA"))
        open(nullptr, nullptr, file, nullptr, nullptr, SW_SHOWNORMAL);
    // Nothing is left to wait for: the program ends at once, no tick or message in between.
}

} // namespace win32
