// The runtime on real Windows: the program's windows, the message loop, and the end.
#pragma once

#include "app/runtime.h"
#include "app/window_sequence.h"
#include "win32/handles.h"
#include "win32/monitors.h"

namespace win32 {

class Win32Runtime final : public app::Runtime {
public:
    Win32Runtime();

    void Attach(app::WindowSequence& sequence);
    // Runs the message loop until the last window is gone; returns the exit code.
    int Run();

    std::unique_ptr<app::Window> CreateWindowFor(app::Form& form) override;
    void Quit() override;
    void End() override;

private:
    app::WindowSequence* sequence_ = nullptr;
    Desk desk_;
    // Owns every program window, so that they get no taskbar button of their own yet stay
    // reachable with Alt+Tab. Never shown.
    UniqueWindow owner_;
};

} // namespace win32
