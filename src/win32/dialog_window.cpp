#include "win32/dialog_window.h"

#include "app/window_sequence.h"
#include "resource_ids.h"
#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"
#include "win32/terminated.h"

#include <commctrl.h>

namespace win32 {
namespace {

inline constexpr wchar_t kDialogClass[] = L"TajneNastaveniDialog";
// A fixed dialog frame: caption and close box, not resizable, no minimize or maximize box.
inline constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
inline constexpr int kFirstControlId = 1000;
// How far a combo box's list drops down: 160 pixels at 96 DPI.
inline constexpr app::Twips kComboListHeight = 2400;
#ifndef WM_DPICHANGED
inline constexpr UINT WM_DPICHANGED = 0x02E0;
#endif
#ifndef WM_GETDPISCALEDSIZE
inline constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

using app::Kind;

ATOM dialogClass = 0;

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
        // The icon at its natural size, its top left corner where the design puts the picture.
        return common | SS_ICON;
    case Kind::Frame:
        return common | BS_GROUPBOX;
    case Kind::CheckBox:
        return common | WS_TABSTOP | BS_AUTOCHECKBOX;
    case Kind::OptionButton:
        // The button itself moves the tab stop to whichever option is chosen.
        return common | BS_AUTORADIOBUTTON;
    case Kind::ComboBox:
        return common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    case Kind::CommandButton:
        // BS_NOTIFY: the window learns when a push button gets the focus by any way (see OnCommand).
        return common | WS_TABSTOP | BS_NOTIFY |
               ((design.state & app::kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case Kind::Timer:
        break;
    }
    return common;
}

// Controls in the order Tab walks them, which is the order the dialog manager reads: the
// Z-order. Windows without a tab stop (pictures, timers) come first.
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

// An empty dialog of our class at a place the system chooses. Its size and controls follow once
// the window exists, in pixels at the resolution of the monitor it is on, which dialog units
// cannot express.
std::vector<WORD> EmptyTemplate(std::wstring_view title) {
    std::vector<WORD> words;
    const auto put = [&](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    const auto text = [&](std::wstring_view value) {
        words.insert(words.end(), value.begin(), value.end());
        words.push_back(0);
    };
    put(kDialogStyle);
    put(0);                  // extended style
    words.push_back(0);      // controls
    words.push_back(0x8000); // x: CW_USEDEFAULT
    words.insert(words.end(), {0, 0, 0});
    words.push_back(0); // menu
    text(kDialogClass);
    text(title);
    return words;
}

void FitComboHeight(HWND combo, int height) {
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

} // namespace

bool DialogWindow::IsDialog(HWND window) {
    return dialogClass != 0 && GetClassLongPtrW(window, GCW_ATOM) == dialogClass;
}

DialogWindow::DialogWindow(app::Form& form, app::WindowSequence& sequence, HWND owner)
    : NativeWindow(form, sequence) {
    // The dialog manager's own window procedure, with a class of ours for the icon.
    if (!dialogClass)
        dialogClass =
            RegisterWindowClass(kDialogClass, &DefDlgProcW, DLGWINDOWEXTRA, form.Layout().background);
    const std::vector<WORD> dialog = EmptyTemplate(form.Layout().title);
    Check(CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                     reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()), owner,
                                     &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this)),
          L"CreateDialogIndirectParamW");
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        self->Bind(window);
        self->OnInitDialog();
        // The dialog manager gives the first control the focus when the window is activated.
        return FALSE;
    }
    auto* self = static_cast<DialogWindow*>(From(window));
    if (!self || Failing()) return FALSE;
    return self->Handle(message, wParam, lParam);
}

void DialogWindow::OnInitDialog() {
    KeepDialogLayoutOurs(window_);
    SetFormFont();
    CreateControls();
    FitFrame();
    // Enter presses OK whenever the focus is not on another push button.
    for (const app::ControlSpec& design : form_.Layout().controls)
        if (design.state & app::kDefault) SendMessageW(window_, DM_SETDEFID, IDOK, 0);
}

int DialogWindow::IdOf(int control) const {
    const unsigned state = form_.Layout().controls[control].state;
    if (state & app::kDefault) return IDOK;
    if (state & app::kCancel) return IDCANCEL;
    return kFirstControlId + control;
}

int DialogWindow::ControlOf(int id) const {
    for (int row = 0; row < static_cast<int>(controls_.size()); ++row)
        if (controls_[row] && IdOf(row) == id) return row;
    return -1;
}

void DialogWindow::CreateControls() {
    const auto controls = form_.Layout().controls;
    controls_.assign(controls.size(), nullptr);
    chosen_.assign(controls.size(), false);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WindowDC dc(window_);
    Check(dc.Get(), L"GetDC");
    Selected selected(dc.Get(), font_.Get());
    const app::ControlSpec* previous = nullptr;
    for (int row : TabOrder(controls)) {
        const app::ControlSpec& design = controls[row];
        if (design.kind == Kind::Timer) continue;
        DWORD style = StyleOf(design);
        // Each control starts a group, except option buttons that follow one in the same box:
        // the arrow keys then move within the option group only.
        const bool continuesOptionGroup = design.kind == Kind::OptionButton && previous &&
                                          previous->kind == Kind::OptionButton &&
                                          previous->container == design.container;
        if (!continuesOptionGroup) style |= WS_GROUP;
        previous = &design;

        // Created in place, each window move under Wine being a trip to its server.
        const Placement place = PlacementOf(row, dc.Get());
        const auto text = Terminated(design.kind == Kind::ComboBox ? std::wstring_view() : design.text);
        HWND control = Check(CreateWindowExW(0, ClassOf(design.kind), text.c_str(), style, place.x, place.y,
                                             place.width, place.height + place.listHeight, window_,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(row))),
                                             instance, nullptr),
                             L"CreateWindowExW");
        controls_[row] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        switch (design.kind) {
        case Kind::CheckBox:
        case Kind::OptionButton:
            if (design.state & (app::kChecked | app::kSelected))
                SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            chosen_[row] = design.kind == Kind::OptionButton && (design.state & app::kSelected) != 0;
            break;
        case Kind::ComboBox: {
            FitComboHeight(control, place.height);
            const auto edit = Terminated(design.text);
            // TRUE when set; a combo box reports failure with CB_ERR or CB_ERRSPACE, both negative.
            if (Outcome(SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(edit.c_str())),
                        L"WM_SETTEXT", LRESULT{CB_ERRSPACE}) <= 0)
                Fail(L"WM_SETTEXT");
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
    const app::FormLayout& layout = form_.Layout();
    const auto [width, height] = FrameSize(dpi_);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    if (layout.placement == app::Placement::CentredOnScreen) {
        const RECT screen = MonitorOf(window_);
        x = screen.left + (screen.right - screen.left - width) / 2;
        y = screen.top + (screen.bottom - screen.top - height) / 2;
    } else {
        flags |= SWP_NOMOVE;
    }
    PlaceFrame(x, y, flags);
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
        // A picture keeps the size of its icon.
        const UINT keepSize = controls[row].kind == Kind::Image ? SWP_NOSIZE : 0;
        Check(SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height + place.listHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE | keepSize),
              L"SetWindowPos");
        if (controls[row].kind == Kind::ComboBox) FitComboHeight(control, place.height);
    }
    Attempt(InvalidateRect(window_, nullptr, TRUE), L"InvalidateRect");
}

void DialogWindow::AddItem(int control, std::wstring_view text, int index) {
    const auto item = Terminated(text);
    const LRESULT result = SendMessageW(controls_.at(control), CB_INSERTSTRING, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(item.c_str()));
    if (result == CB_ERR || result == CB_ERRSPACE) Fail(L"CB_INSERTSTRING");
}

void DialogWindow::SetCaption(int control, std::wstring_view text) {
    const auto caption = Terminated(text);
    Check(SetWindowTextW(controls_.at(control), caption.c_str()), L"SetWindowTextW");
    // Painted now, so that a pause that follows shows the new caption.
    Attempt(UpdateWindow(controls_[control]), L"UpdateWindow");
}

void DialogWindow::SetEnabled(int control, bool enabled) {
    EnableWindow(controls_.at(control), enabled);
}

void DialogWindow::OnCommand(int id, int code) {
    const int control = ControlOf(id);
    if (control < 0) return; // Esc in a window without a cancel button, say
    switch (form_.Layout().controls[control].kind) {
    case Kind::CommandButton:
        // A push button that got the focus other than by Tab (first in the window, or from the mouse)
        // is handed to the dialog manager as Tab's would be, so that it becomes the button Enter
        // presses; Wine's dialog manager does that only for Tab. Posted, as the message's
        // documentation asks of a window that is in the middle of a focus change.
        if (code == BN_SETFOCUS)
            PostMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(controls_[control]), TRUE);
        [[fallthrough]];
    case Kind::CheckBox:
        if (code == BN_CLICKED) sequence_.Deliver(form_, control, app::Event::Click);
        break;
    case Kind::OptionButton:
        // Clicking the option that is already chosen changes nothing and raises nothing.
        if (code == BN_CLICKED && !chosen_[control]) {
            for (std::size_t row = 0; row < chosen_.size(); ++row)
                if (form_.Layout().controls[row].container == form_.Layout().controls[control].container)
                    chosen_[row] = static_cast<int>(row) == control;
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

bool DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // The form's handler may unload this window: nothing of the object is touched after it.
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_CLOSE:
        // Not the dialog manager's Esc: closing the window through its frame unloads it.
        sequence_.Close(form_);
        return true;
    case WM_GETDPISCALEDSIZE: {
        // The size the window will have at the new DPI, so that Windows suggests a place for it.
        *reinterpret_cast<SIZE*>(lParam) = FrameSize(LOWORD(wParam));
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
        return true;
    }
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: laid out anew from the design, frame included, at the
        // place Windows suggests.
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        ApplyLayout(HIWORD(wParam));
        PlaceFrame(suggested.left, suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    default:
        return false;
    }
}

} // namespace win32
