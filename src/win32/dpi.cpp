#include "win32/dpi.h"

#include "win32/failure.h"
#include "win32/system_library.h"

namespace win32 {
namespace {

template <typename F>
F UserFunction(const char* name) {
    return FunctionIn<F>(GetModuleHandleW(L"user32.dll"), name);
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

inline constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
inline constexpr int kDisableAll = 0x01; // DDC_DISABLE_ALL

int ScreenDcDpi() {
    HDC screen = Check(GetDC(nullptr), L"GetDC");
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace

int WindowDpi(HWND window) {
    // Windows 10 version 1607 and later.
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    // Windows 8.1 to 10 version 1511: each monitor has its own DPI too. The library is loaded
    // only here, on those versions.
    static const auto getDpiForMonitor =
        FunctionIn<GetDpiForMonitorFn>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    if (getDpiForMonitor) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x,
                                       &y)) &&
            x != 0)
            return static_cast<int>(x);
    }
    return ScreenDcDpi(); // the one resolution of older Windows
}

void AdjustForFrame(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = UserFunction<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi) {
        Check(adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)),
              L"AdjustWindowRectExForDpi");
        return;
    }
    Check(AdjustWindowRectEx(&rect, style, FALSE, exStyle), L"AdjustWindowRectEx");
}

void KeepDialogLayoutOurs(HWND dialog) {
    // Windows 10 version 1703 and later.
    static const auto setBehavior = UserFunction<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehavior) Attempt(setBehavior(dialog, kDisableAll, kDisableAll), L"SetDialogDpiChangeBehavior");
}

} // namespace win32
