// The Windows controls of a dialog, made from its form's layout table: class and style by kind,
// created in the order Tab walks them, with their initial state.
#include "win32/dialog_window.h"

#include "win32/failure.h"
#include "win32/terminated.h"

#include <commctrl.h>

namespace win32 {
namespace {

using app::Kind;

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

} // namespace

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

} // namespace win32
