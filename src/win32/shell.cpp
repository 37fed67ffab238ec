#include "win32/shell.h"

#include "win32/failure.h"
#include "win32/system_library.h"

#include <objbase.h>
#include <shellapi.h>

namespace win32 {

void OpenWithShell(const char* file) {
    // The shell and COM are loaded for this one call at the very end: the windows before it start
    // faster and smaller without them. They are never freed: the program ends right after.
    // A page that cannot be opened is not worth an error: the joke ends the same way.
    //
    // The shell may hand the address to extensions that need COM, so this thread joins an
    // apartment first; should that fail, the call is made all the same.
    using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    if (const auto join = FunctionIn<CoInitializeExFn>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx"))
        Attempt(SUCCEEDED(join(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)),
                L"CoInitializeEx");
    // The program ends as soon as the call returns, and its message loop is gone by then. A launch
    // that the shell finishes later (a DDE conversation with the browser, an execution delegate)
    // would be finished by that loop, so it would never be: SEE_MASK_NOASYNC makes the shell finish
    // the launch before it returns. No error box either: the result is not wanted.
    using ShellExecuteExAFn = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    if (const auto open =
            FunctionIn<ShellExecuteExAFn>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteExA")) {
        SHELLEXECUTEINFOA launch{};
        launch.cbSize = sizeof launch;
        launch.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        launch.lpFile = file;
        launch.nShow = SW_SHOWNORMAL;
        open(&launch);
    }
    // Nothing is left to wait for: the program ends at once, no tick or message in between.
}

} // namespace win32
