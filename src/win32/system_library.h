// Functions taken from system libraries while running: the newer ones that older Windows lacks,
// and those of libraries loaded only when needed.
#pragma once

#include "app/text.h"
#include "win32/failure.h"

#include <windows.h>

#include <string_view>

namespace win32 {

// From the system folder only: never a file of that name lying next to the program.
inline HMODULE LoadSystemLibrary(std::wstring_view name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    app::Text<MAX_PATH - 1> path(std::wstring_view(folder, length));
    if (!path.Append(L'\\') || !path.Append(name)) return nullptr;
    return LoadLibraryW(path.c_str());
}

// The function of that name, or null where the library or the function is missing (or, in the
// fault-injection build, made to be missing).
template <typename F>
F FunctionIn(HMODULE library, const char* name) {
#ifdef NASTAVENI_FAULT_INJECTION
    if (InjectedFault(name)) return nullptr;
#endif
    // Through void*: GCC warns of a cast from FARPROC straight to another function type.
    // NOLINTNEXTLINE(bugprone-casting-through-void)
    return library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

} // namespace win32
