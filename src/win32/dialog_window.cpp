// The dialog itself: its class and empty template, the dialog manager's notifications turned into
// the form's events, and the services that change its controls.
#include "win32/dialog_window.h"

#include "app/window_sequence.h"
#include "resource_ids.h"
#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"
#include "win32/terminated.h"

#include <commctrl.h>

#include <utility>

namespace win32 {
namespace {

inline constexpr wchar_t kDialogClass[] = L"TajneNastaveniDialog";
// A fixed dialog frame: caption and close box, not resizable, no minimize or maximize box.
inline constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
inline constexpr int kFirstControlId = 1000;
#ifndef WM_GETDPISCALEDSIZE
inline constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

using app::Kind;

ATOM dialogClass = 0;

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
    put(0);             // extended style
    words.push_back(0); // controls
    // x: CW_USEDEFAULT, which the dialog manager passes on to the window it creates. Microsoft
    // documents no such value for a template, so a window that lands on no monitor is moved
    // (FitFrame).
    words.push_back(0x8000);
    words.insert(words.end(), {0, 0, 0});
    words.push_back(0); // menu
    text(kDialogClass);
    text(title);
    return words;
}

} // namespace

bool DialogWindow::IsDialog(HWND window) {
    return dialogClass != 0 && GetClassLongPtrW(window, GCW_ATOM) == dialogClass;
}

DialogWindow::DialogWindow(app::Form& form, app::WindowSequence& sequence, Desk& desk, HWND owner)
    : NativeWindow(form, sequence, desk) {
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
        if (code == BN_SETFOCUS) AskFocusHandOver(controls_[control]);
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

// A push button that got the focus other than by Tab (first in the window, or from the mouse) is
// handed to the dialog manager as Tab's would be, so that it becomes the button Enter presses;
// Wine's dialog manager does that only for Tab. Not now, in the middle of a focus change, but
// from a posted message. The hand-over itself moves the focus, and an activation and a click can
// each move it once more before the message arrives: so one message at most is on its way, it
// hands over the button that has the focus when it arrives, and a focus change of its own asks
// for nothing. Otherwise two buttons could hand the focus to each other for ever, and posted
// messages, read before input, would keep every key and click out.
void DialogWindow::AskFocusHandOver(HWND button) {
    if (handingOver_) return;
    focusToHandOver_ = button;
    if (!handOverPosted_)
        handOverPosted_ = Outcome(PostMessageW(window_, kHandOverFocus, 0, 0), L"PostMessageW") != FALSE;
}

void DialogWindow::HandOverFocus() {
    handOverPosted_ = false;
    HWND button = std::exchange(focusToHandOver_, nullptr);
    if (!button || GetFocus() != button) return;
    handingOver_ = true;
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
    handingOver_ = false;
}

bool DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kHandOverFocus:
        HandOverFocus();
        return true;
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
        // place Windows suggests. That place keeps the window under the pointer of a victim who
        // drags it; it was worked out from the old size, so a window the program placed is placed
        // again at its new size: centred if so designed, and inside the work area.
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        ApplyLayout(HIWORD(wParam));
        PlaceFrame(suggested.left, suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (!dragged_ && !placedByVictim_) FitFrame();
        return true;
    }
    case WM_ENTERSIZEMOVE:
        dragged_ = true;
        return false;
    case WM_EXITSIZEMOVE:
        dragged_ = false;
        placedByVictim_ = true;
        return false;
    default:
        return false;
    }
}

} // namespace win32
