#include "win32/stacking.h"

namespace win32 {
namespace {

// The class of every dialog the system makes, message boxes among them.
inline constexpr ATOM kDialogAtom = 0x8002;

bool Topmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

} // namespace

bool Reorder(HWND window, HWND after) {
    return SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != FALSE;
}

bool IsAbove(HWND window, HWND other) {
    for (HWND above = GetWindow(other, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (above == window) return true;
    return false;
}

HWND WaitingBox(HWND console) {
    if (!(GetWindowLongW(console, GWL_STYLE) & WS_DISABLED)) return nullptr;
    for (HWND window = GetWindow(console, GW_HWNDFIRST); window; window = GetWindow(window, GW_HWNDNEXT))
        if (GetWindow(window, GW_OWNER) == console && GetClassLongW(window, GCW_ATOM) == kDialogAtom &&
            !(GetWindowLongW(window, GWL_STYLE) & WS_DISABLED))
            return window;
    return nullptr;
}

void TakeTheKeyboard(HWND console) {
    HWND box = WaitingBox(console);
    SetForegroundWindow(box ? box : console);
}

void Stacking::Follow(bool again) {
    // Looked at as the windows lie, not as they were last put: the system moves them too (Wine
    // raises a window a moment after it gave it the foreground).
    HWND front = GetForegroundWindow();
    const bool topmost = Topmost(console_);
    // While the foreground changes hands, no window has it: the console stays in its band until
    // one has (the next tick looks again). Taken for the program's, a change to another program
    // seen at that moment would put the console above the window about to get the keys.
    const bool ours = front ? GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId() : topmost;
    // Right behind that window, not below every other: the rest of the desk still shows the joke.
    // (Not behind a topmost window, which would make the console topmost again, nor behind Wine's
    // own desktop, which is no sibling.)
    const bool behindFront = front && !ours && !Topmost(front) &&
                             GetAncestor(front, GA_PARENT) == GetAncestor(console_, GA_PARENT);
    if (front != refusedFront_) refusedFront_ = nullptr;
    const bool inPlace =
        ours ? topmost : !topmost && !(behindFront && (IsAbove(console_, front) || covers_.Above(front)));
    // A refused place is not asked for again: the console lies at the bottom, below the window in
    // front, where the last look left it.
    if (again || (!inPlace && !refusedFront_)) {
        HWND band = ours ? HWND_TOPMOST : HWND_NOTOPMOST;
        Reorder(console_, band);
        covers_.Order(band);
        if (behindFront && !PlaceBehind(front)) {
            refusedFront_ = front;
            PlaceBehind(HWND_BOTTOM);
        }
    }
}

bool Stacking::PlaceBehind(HWND front) {
    const bool owner = Reorder(GetWindow(console_, GW_OWNER), front);
    const bool console = Reorder(console_, front);
    return covers_.Order(front) && owner && console;
}

void Stacking::MindTheBox(const RECT& work) {
    HWND box = WaitingBox(console_);
    if (!box) return;
    if (box != centredBox_) {
        centredBox_ = box;
        RECT outer{};
        if (GetWindowRect(box, &outer)) {
            const int width = outer.right - outer.left, height = outer.bottom - outer.top;
            SetWindowPos(box, nullptr, work.left + (work.right - work.left - width) / 2,
                         work.top + (work.bottom - work.top - height) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    // A window made non-topmost takes the windows it owns along: the console's drop behind another
    // program takes the box too, unless it is put back.
    HWND front = GetForegroundWindow();
    if (!Topmost(box) || (front && front != box && IsAbove(front, box))) Reorder(box, HWND_TOPMOST);
}

} // namespace win32
