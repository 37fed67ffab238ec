// A window with buttons, run by the system's dialog manager: Tab, the arrows, Enter on the focused
// or default button and Esc on the cancel button work as in every Windows dialog. Its controls
// are made from the form's layout table at the monitor's resolution.
#pragma once

#include "win32/native_window.h"

#include <vector>

namespace win32 {

class DialogWindow final : public NativeWindow {
public:
    DialogWindow(app::Form& form, app::WindowSequence& sequence, Desk& desk, HWND owner);

    void AddItem(int control, std::wstring_view text, int index) override;
    void SetCaption(int control, std::wstring_view text) override;
    void SetEnabled(int control, bool enabled) override;

    static bool IsDialog(HWND window);

private:
    // Where a control goes at the window's resolution: its designed rectangle, or as large as its
    // text for a label that sizes itself; a combo box's drop-down list comes below the height.
    struct Placement {
        int x, y, width, height, listHeight;
    };

    // The window and its messages (dialog_window.cpp).
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void AskFocusHandOver(HWND button);
    void HandOverFocus();
    int IdOf(int control) const;
    int ControlOf(int id) const;

    // Its controls, made from the layout table (dialog_controls.cpp).
    void CreateControls();

    // Their places and the frame's at a DPI (dialog_layout.cpp).
    Placement PlacementOf(int control, HDC dc) const;
    // The outer size of the window at the DPI: its client area as designed, and the frame.
    SIZE FrameSize(int dpi) const;
    void FitFrame();
    void PlaceFrame(int x, int y, UINT flags);
    void ApplyLayout(int dpi);
    static void FitComboHeight(HWND combo, int height);

    std::vector<HWND> controls_; // by table row; null for timers. Owned by window_.
    std::vector<bool> chosen_;   // by table row: the option button chosen in its group
    // The push button to become the one Enter presses, once the focus change that gave it the
    // focus is over (see AskFocusHandOver).
    static constexpr UINT kHandOverFocus = WM_APP + 1;
    HWND focusToHandOver_ = nullptr;
    bool handOverPosted_ = false;
    bool handingOver_ = false;
    // The victim drags the window (with the mouse or the keyboard), or has placed it: where it is
    // then is the victim's choice.
    bool dragged_ = false;
    bool placedByVictim_ = false;
};

} // namespace win32
