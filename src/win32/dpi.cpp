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
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int ScreenDcDpi() {
    HDC screen = Check(GetDC(nullptr), L"GetDC");
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace

RECT MonitorOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return monitor.rcMonitor;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    return ScreenDcDpi(); // the one resolution of Windows without per-monitor DPI
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

} // namespace win32
