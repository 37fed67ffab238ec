// The monitors of the desk, and the one the victim uses: "the screen" of the program's windows.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cwchar>

namespace win32 {

// A monitor as Windows describes it: rcMonitor in pixels of the desk (left of or above the primary
// monitor is negative), rcWork less the taskbar, MONITORINFOF_PRIMARY in dwFlags, and szDevice, a
// name such as \\.\DISPLAY2 that stays with the monitor when others come or go.
using Monitor = MONITORINFOEXW;

inline bool SameDevice(const Monitor& first, const Monitor& second) {
    return _wcsicmp(first.szDevice, second.szDevice) == 0;
}

// Every monitor of the desk, as Windows lists them: never none (where Windows lists none, the
// primary screen as the system metrics give it), and no more than any desk has. A list of its own
// size, so that the console can look at the desk every tick without asking for memory.
struct MonitorList {
    static constexpr std::size_t kMost = 16;
    std::array<Monitor, kMost> items{};
    std::size_t count = 0;

    const Monitor* begin() const { return items.data(); }
    const Monitor* end() const { return items.data() + count; }
};
MonitorList Monitors();

// The monitor the window is on; for a window on none, the primary monitor.
Monitor MonitorOf(HWND window);

// The work area (the monitor less the taskbar) of the monitor nearest to the rectangle.
RECT WorkAreaNear(const RECT& rect);

// The monitor among these that is `known` (the same device), or the primary one once it is gone.
const Monitor& FindOrPrimary(const MonitorList& monitors, const Monitor& known);

// Whether two lists of monitors cover the same rectangles of the desk, in the same order.
bool SameAreas(const MonitorList& first, const MonitorList& second);

// Where the victim is: the monitor of the program's last window. The next window opens there, so the
// joke follows the victim from monitor to monitor instead of jumping to the primary one.
class Desk {
public:
    // A window of the program goes: the next one opens on its monitor.
    void Remember(HWND window);
    // The monitor in use as it is now: the one remembered (the primary, should it have gone), or,
    // before any window went, the monitor the window is on.
    Monitor InUse(HWND window) const;

private:
    Monitor remembered_;
    bool any_ = false;
};

} // namespace win32
