#include "win32/covers.h"

#include "win32/failure.h"
#include "win32/native_window.h"
#include "win32/stacking.h"

namespace win32 {
namespace {

inline constexpr wchar_t kCoverClass[] = L"TajneNastaveniZaves";

ATOM coverClass = 0;

} // namespace

LRESULT CALLBACK Covers::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND console = GetWindow(window, GW_OWNER);
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A click on a cover is a click on the console: it comes to the front, with the keyboard
        // (or the box that waits does).
        TakeTheKeyboard(console);
        return MA_NOACTIVATE;
    case kPointerActivate:
        // A tap or a pen, on Windows 8 and later: as a click.
        TakeTheKeyboard(console);
        return kPointerNoActivate;
    case WM_CLOSE:
        // Asked to close ("End task" asks every window): the console is, as its own close would.
        SendMessageW(console, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void Covers::Lay(HWND console, const MonitorList& monitors, const Monitor& own) {
    std::size_t used = 0;
    for (const Monitor& monitor : monitors) {
        if (SameDevice(monitor, own)) continue;
        const RECT& area = monitor.rcMonitor;
        if (used == count_) {
            if (!coverClass)
                coverClass =
                    NativeWindow::RegisterWindowClass(kCoverClass, &Covers::WindowProc, 0, app::kBlack);
            // No text, no taskbar button, never the active window; topmost as the console is.
            HWND cover = Outcome(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                                 kCoverClass, L"", WS_POPUP, area.left, area.top,
                                                 area.right - area.left, area.bottom - area.top, console,
                                                 nullptr, GetModuleHandleW(nullptr), nullptr),
                                 L"CreateWindowExW");
            // A monitor left uncovered is not worth an error: the joke goes on on the others.
            if (!cover) continue;
            windows_[count_++].Reset(cover);
        }
        SetWindowPos(windows_[used++].Get(), nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    Keep(used);
}

void Covers::Keep(std::size_t count) {
    for (; count_ > count; --count_)
        windows_[count_ - 1].Reset();
}

bool Covers::Order(HWND after) {
    bool agreed = true;
    for (std::size_t i = 0; i < count_; ++i)
        agreed = Reorder(windows_[i].Get(), after) && agreed;
    return agreed;
}

bool Covers::Above(HWND other) const {
    for (std::size_t i = 0; i < count_; ++i)
        if (IsAbove(windows_[i].Get(), other)) return true;
    return false;
}

} // namespace win32
