// Where a dialog's controls and frame go at the resolution of its monitor, from the design in
// twips: when the window is made, and again when it moves to a monitor of another DPI.
#include "win32/dialog_window.h"

#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"
#include "win32/monitors.h"

#include <algorithm>

namespace win32 {
namespace {

// How far a combo box's list drops down: 160 pixels at 96 DPI.
inline constexpr app::Twips kComboListHeight = 2400;

using app::Kind;

} // namespace

void DialogWindow::FitComboHeight(HWND combo, int height) {
    // A closed combo box is as tall as its edit field, which follows the font; the edit field's
    // height is what can be set. Corrected by what the control actually does with it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT actual{};
        Check(GetWindowRect(combo, &actual), L"GetWindowRect");
        const int difference = height - (actual.bottom - actual.top);
        if (difference == 0) return;
        const LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        if (item == CB_ERR || item + difference <= 0) return;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item + difference);
    }
}

DialogWindow::Placement DialogWindow::PlacementOf(int control, HDC dc) const {
    const auto controls = form_.Layout().controls;
    const app::ControlSpec& design = controls[control];
    app::Twips left = design.left, top = design.top;
    if (design.container != app::kNoContainer) {
        left += controls[design.container].left;
        top += controls[design.container].top;
    }
    // Both edges converted, so neighbours stay neighbours at any resolution.
    const int x = TwipsToPixels(left, dpi_), y = TwipsToPixels(top, dpi_);
    Placement place{x, y, TwipsToPixels(left + design.width, dpi_) - x,
                    TwipsToPixels(top + design.height, dpi_) - y, 0};
    if (design.state & app::kAutoSize) {
        const SIZE extent = TextExtent(dc, design.text);
        place.width = extent.cx;
        place.height = extent.cy;
    }
    if (design.kind == Kind::ComboBox) place.listHeight = TwipsToPixels(kComboListHeight, dpi_);
    return place;
}

SIZE DialogWindow::FrameSize(int dpi) const {
    const app::FormLayout& layout = form_.Layout();
    RECT outer{0, 0, TwipsToPixels(layout.clientWidth, dpi), TwipsToPixels(layout.clientHeight, dpi)};
    AdjustForFrame(outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                   static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void DialogWindow::FitFrame() {
    // Sized first, then placed at the size it really has: its frame may differ from the one worked
    // out for its DPI (see PlaceFrame).
    PlaceFrame(0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT placed{};
    Check(GetWindowRect(window_, &placed), L"GetWindowRect");
    const int width = placed.right - placed.left, height = placed.bottom - placed.top;
    // Centred by design, or where the system chose unless that is on no monitor at all.
    int x = placed.left, y = placed.top;
    if (form_.Layout().placement == app::Placement::CentredOnScreen ||
        !Outcome(MonitorFromRect(&placed, MONITOR_DEFAULTTONULL), L"MonitorFromRect")) {
        // The monitor the victim uses; for the first window, the primary one if it is on none.
        const RECT screen = Screen();
        x = screen.left + (screen.right - screen.left - width) / 2;
        y = screen.top + (screen.bottom - screen.top - height) / 2;
    }
    // Never under the taskbar or past the screen's edge, on a small screen: within the work area of
    // the monitor, its caption first where the window is larger than that.
    const RECT work = WorkAreaNear({x, y, x + width, y + height});
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    if (x != placed.left || y != placed.top)
        Check(SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
              L"SetWindowPos");
}

void DialogWindow::PlaceFrame(int x, int y, UINT flags) {
    const auto [width, height] = FrameSize(dpi_);
    Check(SetWindowPos(window_, nullptr, x, y, width, height, flags), L"SetWindowPos");
    // The frame was worked out from the system's metrics at the window's DPI. Should the frame the
    // window really has differ (under Wine, say, which keeps a window's frame metrics when it is
    // told of another DPI), the client area is made what the design says all the same.
    RECT client{};
    Check(GetClientRect(window_, &client), L"GetClientRect");
    const int moreWidth = TwipsToPixels(form_.Layout().clientWidth, dpi_) - client.right;
    const int moreHeight = TwipsToPixels(form_.Layout().clientHeight, dpi_) - client.bottom;
    if (moreWidth != 0 || moreHeight != 0)
        Check(
            SetWindowPos(window_, nullptr, 0, 0, width + moreWidth, height + moreHeight, flags | SWP_NOMOVE),
            L"SetWindowPos");
}

void DialogWindow::ApplyLayout(int dpi) {
    dpi_ = dpi;
    // The old font is deleted only once no control holds it any more.
    UniqueFont font = CreateFormFont(form_.Layout().font, dpi_);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    const auto controls = form_.Layout().controls;
    for (HWND control : controls_)
        if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);
    WindowDC dc(window_);
    Check(dc.Get(), L"GetDC");
    Selected selected(dc.Get(), font_.Get());
    for (std::size_t row = 0; row < controls.size(); ++row) {
        HWND control = controls_[row];
        if (!control) continue;
        const Placement place = PlacementOf(static_cast<int>(row), dc.Get());
        // A picture keeps the size of its icon.
        const UINT keepSize = controls[row].kind == Kind::Image ? SWP_NOSIZE : 0;
        Check(SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height + place.listHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE | keepSize),
              L"SetWindowPos");
        if (controls[row].kind == Kind::ComboBox) FitComboHeight(control, place.height);
    }
    Attempt(InvalidateRect(window_, nullptr, TRUE), L"InvalidateRect");
}

} // namespace win32
