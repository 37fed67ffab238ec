// One program window on the screen: built from its form's layout table, it turns Windows
// notifications into the form's named events. The only code besides the runtime that sees HWNDs.
#pragma once

#include "app/form.h"
#include "app/tick_schedule.h"
#include "win32/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace app {
class WindowSequence;
}

namespace win32 {

class NativeWindow {
public:
    NativeWindow(app::Form& form, app::WindowSequence& sequence, HWND owner);
    ~NativeWindow();

    // Destroys the window now; the object itself may still be on the call stack.
    void Destroy();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND Handle() const { return window_; }
    bool IsDialog() const { return form_.Layout().frame == app::FrameStyle::FixedDialog; }

    void Show();
    void Move(app::Twips left, app::Twips top, app::Twips width, app::Twips height);
    void AddItem(int control, std::wstring_view text, int index);
    void SetCaption(int control, std::wstring_view text);
    void SetEnabled(int control, bool enabled);
    void Print(std::wstring_view text, bool lineEnd);

    static void RegisterClasses(HINSTANCE instance);

private:
    struct Timer {
        int control;
        app::TickSchedule schedule;
        bool running = false;
    };
    struct PrintedText {
        POINT at;
        std::wstring text;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Where a control goes at the window's resolution: its designed rectangle, or as large as its
    // text for a label that sizes itself; a combo box's drop-down list comes below the height.
    struct Placement {
        int x, y, width, height, listHeight;
    };

    void CreateControls();
    void SetFormFont();
    void ApplyLayout(int dpi);
    Placement PlacementOf(int control, HDC dc) const;
    static void FitComboHeight(HWND combo, int height);
    void OnCommand(int id, int code);
    void OnTimer(UINT_PTR id);
    void ArmTimer(Timer& timer);
    void Paint();
    void DrawPrinted(HDC dc, const PrintedText& text) const;
    int ControlOf(int id) const;
    int ButtonWith(unsigned state) const;
    void ChooseOption(int control);
    void FocusFirstControl();

    app::Form& form_;
    app::WindowSequence& sequence_;
    HWND window_ = nullptr;
    int dpi_;
    UniqueFont font_;
    std::vector<HWND> controls_; // by table row; null for timers. Owned by window_.
    std::vector<bool> chosen_;   // by table row: the option button chosen in its group
    std::vector<Timer> timers_;
    std::vector<PrintedText> printed_;
    POINT printAt_{0, 0};
    HWND lastFocus_ = nullptr;
};

} // namespace win32
