// A program window on the screen and the services its form calls. Subclasses build the window
// itself: a dialog run by the system's dialog manager, or the plain full-screen console.
#pragma once

#include "app/form.h"
#include "win32/handles.h"
#include "win32/monitors.h"

#include <windows.h>

namespace app {
class WindowSequence;
}

namespace win32 {

class NativeWindow : public app::Window {
public:
    NativeWindow(app::Form& form, app::WindowSequence& sequence, Desk& desk)
        : form_(form), sequence_(sequence), desk_(desk) {}
    ~NativeWindow() override { NativeWindow::Destroy(); }
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    void Show() override;
    void Destroy() override;
    void Move(app::Twips left, app::Twips top, app::Twips width, app::Twips height) override;
    app::Twips ScreenWidth() override;
    app::Twips ScreenHeight() override;
    // A window has only the controls of its kind; asking for another is a fault of the program.
    void AddItem(int control, std::wstring_view text, int index) override;
    void SetCaption(int control, std::wstring_view text) override;
    void SetEnabled(int control, bool enabled) override;
    void Print(std::wstring_view text, bool lineEnd) override;
    void MsgBox(std::wstring_view prompt, int style, std::wstring_view title) override;
    void Beep() override;
    void Freeze(std::chrono::milliseconds length) override;
    void ShellExecuteA(const char* file) override;

    // Registers a class of the program's windows: its icon, and its background as the class brush.
    static ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure, int extraBytes,
                                    app::Colour background);

protected:
    // The object behind a window of ours, stored in the window itself; null once destroyed.
    static NativeWindow* From(HWND window);
    void Bind(HWND window);
    void SetFormFont();
    // The monitor that is "the screen" to the form (the one the victim uses), in pixels of the desk.
    virtual RECT Screen() { return desk_.InUse(window_).rcMonitor; }
    // Before the window goes from the screen: should it have the foreground, the hidden owner takes
    // it, and holds it, unseen, until the program's next window shows or the program ends.
    static void KeepTheForeground(HWND window);

    app::Form& form_;
    app::WindowSequence& sequence_;
    Desk& desk_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    UniqueFont font_;
};

} // namespace win32
