#include "win32/native_window.h"

#include "app/window_sequence.h"
#include "resource_ids.h"
#include "win32/clock.h"
#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"

#include <commctrl.h>

#include <algorithm>

namespace win32 {
namespace {

inline constexpr wchar_t kDialogClass[] = L"TajneNastaveniDialog";
inline constexpr wchar_t kPlainClass[] = L"TajneNastaveniOkno";
inline constexpr int kFirstControlId = 1000;
// How far a combo box's list drops down, at 96 DPI.
inline constexpr int kComboListHeight = 160;
#ifndef WM_DPICHANGED
inline constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

using app::Kind;

DWORD FrameStyleOf(app::FrameStyle frame) {
    return frame == app::FrameStyle::FixedDialog ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU : WS_POPUP;
}

DWORD FrameExStyleOf(app::FrameStyle frame) {
    return frame == app::FrameStyle::FixedDialog ? WS_EX_CONTROLPARENT : 0;
}

const wchar_t* ClassOf(Kind kind) {
    switch (kind) {
    case Kind::Label:
    case Kind::Image:
        return WC_STATICW;
    case Kind::ComboBox:
        return WC_COMBOBOXW;
    default:
        return WC_BUTTONW;
    }
}

DWORD StyleOf(const app::ControlSpec& design) {
    const DWORD common = WS_CHILD | WS_VISIBLE | ((design.state & app::kDisabled) ? WS_DISABLED : 0);
    switch (design.kind) {
    case Kind::Label:
        return common | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    case Kind::Image:
        return common | SS_ICON | SS_CENTERIMAGE;
    case Kind::Frame:
        return common | BS_GROUPBOX;
    case Kind::CheckBox:
        return common | WS_TABSTOP | BS_AUTOCHECKBOX;
    case Kind::OptionButton:
        // Tab reaches an option group at its chosen button only; see ChooseOption.
        return common | BS_AUTORADIOBUTTON | ((design.state & app::kSelected) ? WS_TABSTOP : 0);
    case Kind::ComboBox:
        return common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    case Kind::CommandButton:
        return common | WS_TABSTOP | ((design.state & app::kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case Kind::Timer:
        break;
    }
    return common;
}

// Controls in the order Tab walks them; the Z-order follows, so windows without a tab stop
// (pictures, timers) come first.
std::vector<int> TabOrder(std::span<const app::ControlSpec> controls) {
    // An insertion sort: stable, and a few bytes where the library's merge sort is kilobytes.
    std::vector<int> order;
    order.reserve(controls.size());
    for (int index = 0; index < static_cast<int>(controls.size()); ++index) {
        auto place = order.end();
        while (place != order.begin() && controls[*(place - 1)].tabIndex > controls[index].tabIndex)
            --place;
        order.insert(place, index);
    }
    return order;
}

HBRUSH SystemOrSolid(app::Colour colour, UniqueBrush& owned) {
    if (colour & 0x80000000u) return GetSysColorBrush(static_cast<int>(colour & 0xFF));
    owned.Reset(Check(CreateSolidBrush(colour), L"CreateSolidBrush"));
    return owned.Get();
}

} // namespace

void NativeWindow::RegisterClasses(HINSTANCE instance) {
    HICON icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    HICON smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    Check(icon, L"LoadImageW");
    for (const wchar_t* name : {kDialogClass, kPlainClass}) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &NativeWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon;
        windowClass.hIconSm = smallIcon;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.lpszClassName = name;
        Check(RegisterClassExW(&windowClass), L"RegisterClassExW");
    }
}

NativeWindow::NativeWindow(app::Form& form, app::WindowSequence& sequence, HWND owner)
    : form_(form), sequence_(sequence), dpi_(SystemDpi()) {
    const app::FormLayout& layout = form_.Layout();
    const DWORD style = FrameStyleOf(layout.frame);
    const DWORD exStyle = FrameExStyleOf(layout.frame);
    RECT outer{0, 0, TwipsToPixels(layout.clientWidth, dpi_), TwipsToPixels(layout.clientHeight, dpi_)};
    AdjustForFrame(outer, style, exStyle, dpi_);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (layout.placement == app::Placement::CentredOnScreen) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    } else if (layout.frame == app::FrameStyle::None) {
        x = y = 0; // a popup window has no system-chosen position
    }
    const std::wstring title(layout.title);
    window_ = Check(CreateWindowExW(exStyle,
                                    layout.frame == app::FrameStyle::FixedDialog ? kDialogClass : kPlainClass,
                                    title.c_str(), style, x, y, width, height, owner, nullptr,
                                    GetModuleHandleW(nullptr), this),
                    L"CreateWindowExW");
    // Created on the monitor the system chose, which may have another resolution.
    dpi_ = WindowDpi(window_);
    SetFormFont();
    CreateControls();

    const auto now = Now();
    for (std::size_t row = 0; row < layout.controls.size(); ++row) {
        const app::ControlSpec& design = layout.controls[row];
        if (design.kind != Kind::Timer || design.resource <= 0) continue;
        timers_.push_back(
            {static_cast<int>(row), app::TickSchedule(now, std::chrono::milliseconds(design.resource))});
    }
    for (Timer& timer : timers_)
        ArmTimer(timer);
}

NativeWindow::~NativeWindow() {
    Destroy();
}

void NativeWindow::Destroy() {
    if (!window_) return;
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    Check(DestroyWindow(window), L"DestroyWindow");
}

void NativeWindow::CreateControls() {
    const auto controls = form_.Layout().controls;
    controls_.assign(controls.size(), nullptr);
    chosen_.assign(controls.size(), false);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WindowDC dc(window_);
    Check(dc.Get(), L"GetDC");
    Selected selected(dc.Get(), font_.Get());
    const Kind* previousKind = nullptr;
    int previousContainer = app::kNoContainer;
    for (int row : TabOrder(controls)) {
        const app::ControlSpec& design = controls[row];
        if (design.kind == Kind::Timer) continue;
        DWORD style = StyleOf(design);
        // Each control starts a group, except option buttons that follow one in the same box:
        // arrow keys then move within the option group only.
        const bool continuesOptionGroup = design.kind == Kind::OptionButton && previousKind &&
                                          *previousKind == Kind::OptionButton &&
                                          previousContainer == design.container;
        if (!continuesOptionGroup) style |= WS_GROUP;
        previousKind = &design.kind;
        previousContainer = design.container;

        // Created in place, each window move under Wine being a trip to its server.
        const Placement place = PlacementOf(row, dc.Get());
        const std::wstring text(design.kind == Kind::ComboBox ? std::wstring_view() : design.text);
        HWND control =
            Check(CreateWindowExW(0, ClassOf(design.kind), text.c_str(), style, place.x, place.y, place.width,
                                  place.height + place.listHeight, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + row)),
                                  instance, nullptr),
                  L"CreateWindowExW");
        controls_[row] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        if (design.kind == Kind::ComboBox) FitComboHeight(control, place.height);
        switch (design.kind) {
        case Kind::CheckBox:
        case Kind::OptionButton:
            if (design.state & (app::kChecked | app::kSelected))
                SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            chosen_[row] = design.kind == Kind::OptionButton && (design.state & app::kSelected) != 0;
            break;
        case Kind::ComboBox: {
            const std::wstring edit(design.text);
            Check(SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(edit.c_str())),
                  L"WM_SETTEXT");
            break;
        }
        case Kind::Image: {
            // Shared: the system frees it with the module.
            HANDLE icon =
                Check(LoadImageW(instance, MAKEINTRESOURCEW(design.resource), IMAGE_ICON, 0, 0, LR_SHARED),
                      L"LoadImageW");
            SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            break;
        }
        default:
            break;
        }
    }
}

NativeWindow::Placement NativeWindow::PlacementOf(int control, HDC dc) const {
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
    if (design.kind == Kind::ComboBox) place.listHeight = MulDiv(kComboListHeight, dpi_, kDefaultDpi);
    return place;
}

void NativeWindow::SetFormFont() {
    font_ = CreateFormFont(form_.Layout().font, dpi_);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void NativeWindow::ApplyLayout(int dpi) {
    dpi_ = dpi;
    SetFormFont();
    const auto controls = form_.Layout().controls;
    WindowDC dc(window_);
    Check(dc.Get(), L"GetDC");
    Selected selected(dc.Get(), font_.Get());
    for (std::size_t row = 0; row < controls.size(); ++row) {
        HWND control = controls_[row];
        if (!control) continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        const Placement place = PlacementOf(static_cast<int>(row), dc.Get());
        Check(SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height + place.listHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE),
              L"SetWindowPos");
        if (controls[row].kind == Kind::ComboBox) FitComboHeight(control, place.height);
    }
    Check(InvalidateRect(window_, nullptr, TRUE), L"InvalidateRect");
}

void NativeWindow::FitComboHeight(HWND combo, int height) {
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

void NativeWindow::Show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    Check(UpdateWindow(window_), L"UpdateWindow");
    if (IsDialog()) FocusFirstControl();
}

void NativeWindow::FocusFirstControl() {
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);
}

void NativeWindow::Move(app::Twips left, app::Twips top, app::Twips width, app::Twips height) {
    Check(SetWindowPos(window_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_),
                       TwipsToPixels(width, dpi_), TwipsToPixels(height, dpi_),
                       SWP_NOZORDER | SWP_NOACTIVATE),
          L"SetWindowPos");
}

void NativeWindow::AddItem(int control, std::wstring_view text, int index) {
    const std::wstring item(text);
    const LRESULT result = SendMessageW(controls_[control], CB_INSERTSTRING, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(item.c_str()));
    if (result == CB_ERR || result == CB_ERRSPACE) Fail(L"CB_INSERTSTRING");
}

void NativeWindow::SetCaption(int control, std::wstring_view text) {
    const std::wstring caption(text);
    Check(SetWindowTextW(controls_[control], caption.c_str()), L"SetWindowTextW");
    // Painted now, so that a pause that follows shows the new caption.
    Check(UpdateWindow(controls_[control]), L"UpdateWindow");
}

void NativeWindow::SetEnabled(int control, bool enabled) {
    EnableWindow(controls_[control], enabled);
}

void NativeWindow::Print(std::wstring_view text, bool lineEnd) {
    WindowDC dc(window_);
    Check(dc.Get(), L"GetDC");
    Selected selected(dc.Get(), font_.Get());
    const SIZE extent = TextExtent(dc.Get(), text);
    if (!text.empty()) {
        printed_.push_back({printAt_, std::wstring(text)});
        DrawPrinted(dc.Get(), printed_.back());
    }
    if (lineEnd) {
        TEXTMETRICW metrics{};
        Check(GetTextMetricsW(dc.Get(), &metrics), L"GetTextMetricsW");
        printAt_ = {0, printAt_.y + metrics.tmHeight + metrics.tmExternalLeading};
    } else {
        printAt_.x += extent.cx;
    }
}

void NativeWindow::DrawPrinted(HDC dc, const PrintedText& text) const {
    const app::FormLayout& layout = form_.Layout();
    SetTextColor(dc, layout.foreground);
    SetBkColor(dc, layout.background);
    SetBkMode(dc, OPAQUE);
    Check(ExtTextOutW(dc, text.at.x, text.at.y, 0, nullptr, text.text.c_str(),
                      static_cast<UINT>(text.text.size()), nullptr),
          L"ExtTextOutW");
}

void NativeWindow::Paint() {
    PaintScope paint(window_);
    if (printed_.empty()) return;
    Selected selected(paint.Get(), font_.Get());
    for (const PrintedText& text : printed_)
        DrawPrinted(paint.Get(), text);
}

int NativeWindow::ControlOf(int id) const {
    const int row = id - kFirstControlId;
    return row >= 0 && row < static_cast<int>(controls_.size()) && controls_[row] ? row : -1;
}

int NativeWindow::ButtonWith(unsigned state) const {
    const auto controls = form_.Layout().controls;
    for (std::size_t row = 0; row < controls.size(); ++row)
        if (controls[row].kind == Kind::CommandButton && (controls[row].state & state))
            return static_cast<int>(row);
    return -1;
}

void NativeWindow::ChooseOption(int control) {
    const auto controls = form_.Layout().controls;
    for (std::size_t row = 0; row < controls.size(); ++row) {
        if (controls[row].kind != Kind::OptionButton ||
            controls[row].container != controls[control].container)
            continue;
        chosen_[row] = static_cast<int>(row) == control;
        LONG_PTR style = GetWindowLongPtrW(controls_[row], GWL_STYLE);
        style = chosen_[row] ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(controls_[row], GWL_STYLE, style);
    }
}

void NativeWindow::OnCommand(int id, int code) {
    if (id == IDCANCEL) { // Esc anywhere in the window
        const int cancel = ButtonWith(app::kCancel);
        if (cancel >= 0 && IsWindowEnabled(controls_[cancel]))
            sequence_.Deliver(form_, cancel, app::Event::Click);
        return;
    }
    const int control = ControlOf(id);
    if (control < 0) return;
    switch (form_.Layout().controls[control].kind) {
    case Kind::CommandButton:
    case Kind::CheckBox:
        if (code == BN_CLICKED) sequence_.Deliver(form_, control, app::Event::Click);
        break;
    case Kind::OptionButton:
        // Clicking the option that is already chosen changes nothing and raises nothing.
        if (code == BN_CLICKED && !chosen_[control]) {
            ChooseOption(control);
            sequence_.Deliver(form_, control, app::Event::Click);
        }
        break;
    case Kind::ComboBox:
        // Typing raises CBN_EDITCHANGE; choosing a list entry does not.
        if (code == CBN_EDITCHANGE) sequence_.Deliver(form_, control, app::Event::Change);
        break;
    default:
        break;
    }
}

void NativeWindow::ArmTimer(Timer& timer) {
    const auto delay = timer.schedule.DelayUntilNext(Now());
    Check(SetTimer(window_, static_cast<UINT_PTR>(kFirstControlId + timer.control),
                   static_cast<UINT>(delay.count()), nullptr),
          L"SetTimer");
}

void NativeWindow::OnTimer(UINT_PTR id) {
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return static_cast<UINT_PTR>(kFirstControlId + timer.control) == id;
    });
    if (found == timers_.end()) return;
    Timer& timer = *found;
    // A tick during the previous tick's handler (a message box's modal loop) is not delivered.
    if (timer.running) return;
    if (timer.schedule.TakeTick(Now())) {
        timer.running = true;
        sequence_.Deliver(form_, timer.control, app::Event::Timer);
        timer.running = false;
    }
    if (window_) ArmTimer(timer);
}

LRESULT CALLBACK NativeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || Failing()) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT NativeWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID: {
        const int button = ButtonWith(app::kDefault);
        if (button < 0) return 0;
        return MAKELRESULT(kFirstControlId + button, DC_HASDEFID);
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CLOSE:
        sequence_.Close(form_);
        return 0;
    case WM_ACTIVATE:
        if (!IsDialog()) break;
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
        } else {
            FocusFirstControl();
        }
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window_, &client);
        UniqueBrush owned;
        FillRect(reinterpret_cast<HDC>(wParam), &client, SystemOrSolid(form_.Layout().background, owned));
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyLayout(HIWORD(wParam));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace win32
