// Black windows over every monitor but the console's, for as long as the console types: the whole
// desk shows the same thing. Owned by the console, they go with it.
#pragma once

#include "win32/handles.h"
#include "win32/monitors.h"

#include <array>
#include <cstddef>

namespace win32 {

class Covers {
public:
    // One cover a monitor other than the console's, each exactly over its monitor, shown without
    // taking the activation. On one monitor there are none.
    void Lay(HWND console, const MonitorList& monitors, const Monitor& own);
    // Each right behind `after` (a window, or a band such as HWND_TOPMOST), as the console is;
    // whether the system agreed for every one.
    bool Order(HWND after);
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
