// The runtime on real Windows: native windows for the program's forms, the message loop, and
// the services behind the forms' calls.
#pragma once

#include "app/runtime.h"
#include "app/window_sequence.h"
#include "win32/handles.h"
#include "win32/native_window.h"

#include <memory>
#include <vector>

namespace win32 {

class Win32Runtime final : public app::Runtime {
public:
    explicit Win32Runtime(HINSTANCE instance);

    void Attach(app::WindowSequence& sequence) { sequence_ = &sequence; }
    // Runs the message loop until the last window is gone; returns the exit code.
    int Run();

    void CreateWindowFor(app::Form& form) override;
    void ShowWindowFor(app::Form& form) override;
    void DestroyWindowFor(app::Form& form) override;
    void Quit() override;

    void Move(app::Form& form, app::Twips left, app::Twips top, app::Twips width, app::Twips height) override;
    app::Twips ScreenWidth() override;
    app::Twips ScreenHeight() override;

    void AddItem(app::Form& form, int control, std::wstring_view text, int index) override;
    void SetCaption(app::Form& form, int control, std::wstring_view text) override;
    void SetEnabled(app::Form& form, int control, bool enabled) override;
    void Print(app::Form& form, std::wstring_view text, bool lineEnd) override;
    void MsgBox(std::wstring_view prompt, int style, std::wstring_view title) override;
    void Beep() override;
    void Freeze(std::chrono::milliseconds length) override;
    void ShellExecuteA(const char* file) override;
    void End() override;

private:
    struct Loaded {
        app::Form* form;
        std::unique_ptr<NativeWindow> window;
    };

    NativeWindow& WindowOf(app::Form& form);
    bool IsDialogWindow(HWND window) const;

    app::WindowSequence* sequence_ = nullptr;
    // Owns every program window, so that they get no taskbar button of their own yet stay
    // reachable with Alt+Tab. Never shown.
    UniqueWindow owner_;
    std::vector<Loaded> windows_;
    // Windows already destroyed whose objects may still be on the call stack; freed by the loop.
    std::vector<std::unique_ptr<NativeWindow>> retired_;
};

} // namespace win32
