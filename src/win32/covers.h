// Black windows over every monitor but the console's, for as long as the console types: the whole
// desk shows the same thing. Owned by the console, they go with it.
#pragma once

#include "win32/handles.h"
#include "win32/monitors.h"

#include <array>
#include <cstddef>

namespace win32 {

// Only the window's place in the Z order changes: right behind `after`, or into the band
// HWND_TOPMOST or HWND_NOTOPMOST names.
inline void Reorder(HWND window, HWND after) {
    SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Whether `window` lies above `other` among their siblings.
inline bool IsAbove(HWND window, HWND other) {
    for (HWND above = GetWindow(other, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (above == window) return true;
    return false;
}

class Covers {
public:
    // One cover a monitor other than the console's, each exactly over its monitor, shown without
    // taking the activation. On one monitor there are none.
    void Lay(HWND console, const MonitorList& monitors, const Monitor& own);
    // Each right behind `after` (a window, or HWND_TOPMOST / HWND_NOTOPMOST), as the console is.
    void Order(HWND after);
    // Whether any of them lies above `other`.
    bool Above(HWND other) const;
    void Clear() { Keep(0); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Keep(std::size_t count); // the first covers; the others go

    std::array<UniqueWindow, MonitorList::kMost> windows_;
    std::size_t count_ = 0;
};

} // namespace win32
