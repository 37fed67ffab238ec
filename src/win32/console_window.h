// The full-screen console: a plain popup window with the form's timers and the text it prints.
#pragma once

#include "app/tick_schedule.h"
#include "win32/native_window.h"

#include <vector>

namespace win32 {

class ConsoleWindow final : public NativeWindow {
public:
    ConsoleWindow(app::Form& form, app::WindowSequence& sequence, HWND owner);

    void Print(std::wstring_view text, bool lineEnd) override;

private:
    struct Timer {
        int control;
        app::TickSchedule schedule;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void ArmTimer(const Timer& timer);
    void OnTimer(UINT_PTR id);
    // Tells the form when the monitor's size or resolution is no longer what it was.
    void NoticeScreenChange(int dpi);
    bool PrepareCanvas();
    void Paint();

    std::vector<Timer> timers_;
    // What has been printed, kept for repainting: the text is drawn once, here, and copied to
    // the screen whenever the window needs painting.
    UniqueBitmap canvasBitmap_;
    UniqueMemoryDC canvas_;
    SIZE canvasSize_{0, 0};
    POINT printAt_{0, 0};
    RECT screen_{}; // the monitor as last seen
};

} // namespace win32
