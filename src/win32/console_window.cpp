#include "win32/console_window.h"

#include "app/window_sequence.h"
#include "win32/clock.h"
#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"
#include "win32/terminated.h"

#include <algorithm>

namespace win32 {
namespace {

inline constexpr wchar_t kConsoleClass[] = L"TajneNastaveniOkno";
inline constexpr UINT_PTR kFirstTimerId = 1000;
inline constexpr UINT kFollowKeyboard = WM_APP + 1;
// The canvas has one bit a pixel: set where text is, clear elsewhere. The window's colours come in
// only when it is copied to the screen.
inline constexpr COLORREF kInk = RGB(255, 255, 255);
inline constexpr COLORREF kPaper = RGB(0, 0, 0);

ATOM consoleClass = 0;

} // namespace

ConsoleWindow::ConsoleWindow(app::Form& form, app::WindowSequence& sequence, Desk& desk, HWND owner)
    : NativeWindow(form, sequence, desk), screen_(desk.InUse(nullptr)), monitors_(Monitors()) {
    const app::FormLayout& layout = form.Layout();
    // Registered with the first console, its background the class brush.
    if (!consoleClass)
        consoleClass = RegisterWindowClass(kConsoleClass, &ConsoleWindow::WindowProc, 0, layout.background);
    // A popup has no place the system would choose. Made on the monitor in use, so that it has that
    // monitor's resolution, and sized once it exists, until its form moves it.
    const auto title = Terminated(layout.title);
    // Topmost: above every other program's window while the program has the keyboard (see
    // FollowTheKeyboard).
    Check(CreateWindowExW(WS_EX_TOPMOST, kConsoleClass, title.c_str(), WS_POPUP, screen_.rcMonitor.left,
                          screen_.rcMonitor.top, 1, 1, owner, nullptr, GetModuleHandleW(nullptr), this),
          L"CreateWindowExW");
    stacking_.Attach(window_);
    Move(0, 0, layout.clientWidth, layout.clientHeight);
    SetFormFont();

    const auto now = Now();
    std::size_t count = 0;
    for (std::size_t row = 0; row < layout.controls.size(); ++row) {
        const app::ControlSpec& design = layout.controls[row];
        if (design.kind != app::Kind::Timer || design.resource <= 0) continue;
        // A layout with more timers than there is room for is a fault of the program: reported.
        std::optional<Timer>& timer = timers_.at(count++);
        timer =
            Timer{static_cast<int>(row), app::TickSchedule(now, std::chrono::milliseconds(design.resource))};
        ArmTimer(*timer);
    }
}

void ConsoleWindow::Show() {
    NativeWindow::Show();
    covers_.Lay(window_, monitors_, screen_);
    FollowTheKeyboard(true);
}

void ConsoleWindow::Destroy() {
    covers_.Clear();
    NativeWindow::Destroy();
}

void ConsoleWindow::ShellExecuteA(const char* file) {
    // Whatever the launch shows first (the browser, a choice of browser, a warning) opens in front:
    // nothing of the joke covers any monitor by then. The hidden owner keeps the foreground, so that
    // the program the shell starts may take it.
    covers_.Clear();
    if (window_) {
        KeepTheForeground(window_);
        ShowWindow(window_, SW_HIDE);
    }
    NativeWindow::ShellExecuteA(file);
}

void ConsoleWindow::ArmTimer(const Timer& timer) {
    const auto delay = timer.schedule.DelayUntilNext(Now());
    Check(SetTimer(window_, kFirstTimerId + static_cast<UINT_PTR>(timer.control),
                   static_cast<UINT>(delay.count()), nullptr),
          L"SetTimer");
}

void ConsoleWindow::LookAtTheDesk(int dpi) {
    const MonitorList monitors = Monitors();
    // Its own monitor, wherever it is now; the primary one once it has gone.
    const Monitor screen = FindOrPrimary(monitors, screen_);
    const bool moved =
        dpi != dpi_ || !SameDevice(screen, screen_) || !EqualRect(&screen.rcMonitor, &screen_.rcMonitor);
    if (!moved && SameAreas(monitors, monitors_)) return;
    dpi_ = dpi;
    screen_ = screen;
    monitors_ = monitors;
    if (IsWindowVisible(window_)) {
        covers_.Lay(window_, monitors_, screen_);
        // New covers come topmost: put behind the window in front again, if that is where they belong.
        FollowTheKeyboard(true);
    }
    // The form may end the program or unload the window: nothing of the object is touched after it.
    if (moved) sequence_.Deliver(form_, app::kForm, app::Event::DisplayChange);
}

void ConsoleWindow::FollowTheKeyboard(bool again) {
    keyboardPosted_ = false;
    if (!IsWindowVisible(window_)) return;
    stacking_.Follow(again);
    stacking_.MindTheBox(screen_.rcWork);
}

void ConsoleWindow::OnTimer(UINT_PTR id) {
    // Windows tells of a new screen (WM_DISPLAYCHANGE, WM_DPICHANGED); every tick looks at the
    // monitors as well, so that a change told to nobody, or told before the size was new, is not
    // missed. A new DPI always comes with its message. The foreground is looked at too: Windows may
    // have refused it to the console, and nobody tells the program so.
    HWND window = window_;
    LookAtTheDesk(dpi_);
    if (From(window) != this) return; // the form unloaded the window
    FollowTheKeyboard();
    for (std::optional<Timer>& slot : timers_) {
        if (!slot || kFirstTimerId + static_cast<UINT_PTR>(slot->control) != id) continue;
        Timer& timer = *slot;
        const bool due = timer.schedule.TakeTick(Now());
        ArmTimer(timer);
        // The tick may unload this window or end the program: nothing of the object is touched after it.
        if (due) sequence_.Deliver(form_, timer.control, app::Event::Timer);
        return;
    }
}

bool ConsoleWindow::PrepareCanvas() {
    RECT client{};
    GetClientRect(window_, &client);
    // Never smaller than before: a screen made smaller and then larger again still shows every
    // line whole, where it was.
    const SIZE size{std::max(client.right, canvasSize_.cx), std::max(client.bottom, canvasSize_.cy)};
    if (canvas_ && canvasSize_.cx == size.cx && canvasSize_.cy == size.cy) return true;
    // Sized once the form has stretched the window over the screen, before the first line. One bit
    // a pixel: text or background, coloured when copied to the screen; a screen's worth of colour
    // would cost megabytes.
    UniqueMemoryDC canvas(Outcome(CreateCompatibleDC(nullptr), L"CreateCompatibleDC"));
    UniqueBitmap bitmap(Outcome(CreateBitmap(size.cx, size.cy, 1, 1, nullptr), L"CreateBitmap"));
    if (!canvas || !bitmap) return canvas_.Get() != nullptr; // the old canvas goes on, if there is one
    HDC dc = canvas.Get();
    // Both stay selected for the canvas's life; deleting the DC first lets them go.
    SelectObject(dc, bitmap.Get());
    SelectObject(dc, font_.Get());
    PatBlt(dc, 0, 0, size.cx, size.cy, BLACKNESS);
    SetTextColor(dc, kInk);
    SetBkColor(dc, kPaper);
    SetBkMode(dc, OPAQUE);
    // What was typed before the screen changed, where it was.
    if (canvas_) BitBlt(dc, 0, 0, canvasSize_.cx, canvasSize_.cy, canvas_.Get(), 0, 0, SRCCOPY);
    canvas_ = std::move(canvas); // the old DC first, so that the old bitmap is no longer selected
    canvasBitmap_ = std::move(bitmap);
    canvasSize_ = size;
    return true;
}

void ConsoleWindow::Print(std::wstring_view text, bool lineEnd) {
    // Text that cannot be drawn is not worth an error: the joke goes on without it.
    if (!PrepareCanvas()) return;
    HDC dc = canvas_.Get();
    const SIZE extent = TextExtent(dc, text);
    if (!text.empty()) {
        Attempt(ExtTextOutW(dc, printAt_.x, printAt_.y, 0, nullptr, text.data(),
                            static_cast<UINT>(text.size()), nullptr),
                L"ExtTextOutW");
        const RECT drawn{printAt_.x, printAt_.y, printAt_.x + extent.cx, printAt_.y + extent.cy};
        Attempt(InvalidateRect(window_, &drawn, FALSE), L"InvalidateRect");
    }
    if (lineEnd) {
        TEXTMETRICW metrics{};
        Check(GetTextMetricsW(dc, &metrics), L"GetTextMetricsW");
        printAt_ = {0, printAt_.y + metrics.tmHeight + metrics.tmExternalLeading};
    } else {
        printAt_.x += extent.cx;
    }
}

void ConsoleWindow::Paint() {
    PaintScope paint(window_);
    if (!canvas_) return; // nothing printed yet: the class brush has painted the background
    const RECT& area = paint.Area();
    // From one bit a pixel to the window's colours: set bits (ink) take the background colour of
    // the target, clear bits (paper) its text colour.
    SetBkColor(paint.Get(), form_.Layout().foreground);
    SetTextColor(paint.Get(), form_.Layout().background);
    Attempt(BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                   canvas_.Get(), area.left, area.top, SRCCOPY),
            L"BitBlt");
}

LRESULT CALLBACK ConsoleWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        static_cast<ConsoleWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)->Bind(window);
    auto* self = static_cast<ConsoleWindow*>(From(window));
    if (!self || Failing()) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT ConsoleWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_CLOSE:
        sequence_.Close(form_);
        return 0;
    case WM_DISPLAYCHANGE:
        LookAtTheDesk(WindowDpi(window_));
        return 0;
    case WM_DPICHANGED:
        LookAtTheDesk(HIWORD(wParam));
        return 0;
    case WM_ACTIVATEAPP:
        // Told while the foreground is still changing hands: looked at once the change is over, by
        // one message at most on its way.
        if (!keyboardPosted_) keyboardPosted_ = PostMessageW(window_, kFollowKeyboard, 0, 0) != FALSE;
        return 0;
    case kFollowKeyboard:
        FollowTheKeyboard();
        return 0;
    case WM_ACTIVATE:
        // The finale's box takes the activation as it first shows: it goes where it belongs at once,
        // not a tick later. (Shown while another program has the keyboard, the box is found by the
        // tick.)
        if (LOWORD(wParam) == WA_INACTIVE && IsWindowVisible(window_)) stacking_.MindTheBox(screen_.rcWork);
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_MOUSEACTIVATE:
    case kPointerActivate:
        // A click or a tap on the console while the box waits: the keyboard goes to the box, not to
        // the console, which the box has disabled.
        if (!WaitingBox(window_)) return DefWindowProcW(window_, message, wParam, lParam);
        TakeTheKeyboard(window_);
        return message == WM_MOUSEACTIVATE ? MA_NOACTIVATE : kPointerNoActivate;
    case WM_SETCURSOR:
        // Windows tells of a click on a disabled window this way: its box comes to the front.
        if (static_cast<short>(LOWORD(lParam)) == HTERROR && HIWORD(lParam) == WM_LBUTTONDOWN)
            TakeTheKeyboard(window_);
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_SIZE:
        // A larger screen: the canvas grows with the window, so the new part paints black.
        if (canvas_) PrepareCanvas();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

} // namespace win32
