// Black windows over every monitor but the console's, for as long as the console types: the whole
// desk shows the same thing. Owned by the console, they go with it.
#pragma once

#include "win32/handles.h"
#include "win32/monitors.h"

#include <vector>

namespace win32 {

class Covers {
public:
    // One cover a monitor other than the console's, each exactly over its monitor, shown without
    // taking the activation. On one monitor there are none.
    void Lay(HWND console, const std::vector<Monitor>& monitors, const Monitor& own);
    // Each right behind `after` (a window, or HWND_TOPMOST / HWND_NOTOPMOST), as the console is.
    void Order(HWND after);
    void Clear() { windows_.clear(); }
    std::size_t Count() const { return windows_.size(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::vector<UniqueWindow> windows_;
};

} // namespace win32
