// What the program asks of the platform. The Win32 runtime draws real windows; the fake runtime
// of the unit tests records what was asked.
#pragma once

#include "app/layout.h"

#include <chrono>
#include <memory>
#include <string_view>

namespace app {

class Form;

enum class Event { Click, Change, Timer, DisplayChange };

// The control that stands for the window itself, for the events of the window as a whole
// (Form_DisplayChange).
inline constexpr int kForm = -1;

// Style of the finale's message box: stop icon, a single OK button.
inline constexpr int kMsgBoxCritical = 16;

// One program window on the screen, and every service its handlers call. Controls are addressed
// by their row in the window's layout table.
class Window {
public:
    virtual ~Window() = default;

    // Lifetime, used only by the window sequence.
    virtual void Show() = 0;
    virtual void Destroy() = 0; // gone from the screen at once; the object may outlive it

    // Outer position and size.
    virtual void Move(Twips left, Twips top, Twips width, Twips height) = 0;
    virtual Twips ScreenWidth() = 0;
    virtual Twips ScreenHeight() = 0;

    virtual void AddItem(int control, std::wstring_view text, int index) = 0;
    virtual void SetCaption(int control, std::wstring_view text) = 0;
    virtual void SetEnabled(int control, bool enabled) = 0;
    // Text output at the window's current position, then on the next line or right after it.
    virtual void Print(std::wstring_view text, bool lineEnd) = 0;

    virtual void MsgBox(std::wstring_view prompt, int style, std::wstring_view title) = 0;
    virtual void Beep() = 0;
    // Blocks the UI thread: nothing is painted and input given meanwhile is thrown away.
    virtual void Freeze(std::chrono::milliseconds length) = 0;
    // Opens the address with the default program (window 0, default verb, normal window).
    virtual void ShellExecuteA(const char* file) = 0;
};

// The platform itself, used only by the window sequence.
class Runtime {
public:
    virtual ~Runtime() = default;
    // The window and its controls as the form's layout table describes them, not yet visible.
    virtual std::unique_ptr<Window> CreateWindowFor(Form& form) = 0;
    virtual void Quit() = 0; // leave the event loop once the running handler has returned
    // Stops the program at once. Does not return on a real platform.
    virtual void End() = 0;
};

} // namespace app
