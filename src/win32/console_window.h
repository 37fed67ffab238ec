// The full-screen console: a plain popup window with the form's timers and the text it prints. It
// covers the monitor in use, and black covers every other monitor while it is there.
#pragma once

#include "app/tick_schedule.h"
#include "win32/covers.h"
#include "win32/monitors.h"
#include "win32/native_window.h"
#include "win32/stacking.h"

#include <array>
#include <optional>

namespace win32 {

class ConsoleWindow final : public NativeWindow {
public:
    ConsoleWindow(app::Form& form, app::WindowSequence& sequence, Desk& desk, HWND owner);

    void Show() override;
    void Destroy() override;
    void Print(std::wstring_view text, bool lineEnd) override;
    void ShellExecuteA(const char* file) override;

private:
    struct Timer {
        int control;
        app::TickSchedule schedule;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void ArmTimer(const Timer& timer);
    void OnTimer(UINT_PTR id);
    RECT Screen() override { return screen_.rcMonitor; }
    // Looks at the monitors: when they, the console's own or its resolution are no longer what they
    // were, every monitor is covered again and the form told.
    void LookAtTheDesk(int dpi);
    // Where the console, its covers and the finale's box belong, as the foreground lies now.
    void FollowTheKeyboard(bool again = false); // again: put in place whether or not it seems to be
    bool PrepareCanvas();
    void Paint();

    // The form's timers: as many as its layout has (the console's, one).
    std::array<std::optional<Timer>, 1> timers_;
    // What has been printed, kept for repainting: the text is drawn once, here, and copied to
    // the screen whenever the window needs painting.
    UniqueBitmap canvasBitmap_;
    UniqueMemoryDC canvas_;
    SIZE canvasSize_{0, 0};
    POINT printAt_{0, 0};
    Monitor screen_;       // the monitor it covers
    MonitorList monitors_; // every monitor, as last seen
    Covers covers_;        // the others, black
    Stacking stacking_{covers_};
    bool keyboardPosted_ = false;
};

} // namespace win32
