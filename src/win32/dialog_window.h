// A window with buttons, run by the system's dialog manager: Tab, the arrows, Enter on the focused
// or default button and Esc on the cancel button work as in every Windows dialog. Its controls
// are made from the form's layout table at the monitor's resolution.
#pragma once

#include "win32/native_window.h"

#include <vector>

namespace win32 {

class DialogWindow final : public NativeWindow {
public:
    DialogWindow(app::Form& form, app::WindowSequence& sequence, HWND owner);

    void AddItem(int control, std::wstring_view text, int index) override;
    void SetCaption(int control, std::wstring_view text) override;
    void SetEnabled(int control, bool enabled) override;

    static bool IsDialog(HWND window);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Where a control goes at the window's resolution: its designed rectangle, or as large as its
    // text for a label that sizes itself; a combo box's drop-down list comes below the height.
    struct Placement {
        int x, y, width, height, listHeight;
    };

    void OnInitDialog();
    void CreateControls();
    // The outer size of the window at the DPI: its client area as designed, and the frame.
    SIZE FrameSize(int dpi) const;
    void FitFrame();
    void PlaceFrame(int x, int y, UINT flags);
    void ApplyLayout(int dpi);
    Placement PlacementOf(int control, HDC dc) const;
    int IdOf(int control) const;
    int ControlOf(int id) const;
    void OnCommand(int id, int code);

    std::vector<HWND> controls_; // by table row; null for timers. Owned by window_.
    std::vector<bool> chosen_;   // by table row: the option button chosen in its group
};

} // namespace win32
