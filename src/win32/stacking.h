// The console's place in the Z order. Keys go to the foreground window, whatever lies on top: the
// console and its covers are above every window only while the program has the keyboard, and right
// behind the window that has it otherwise. The finale's box waits above every window whoever has
// the keyboard: small, it hides nothing, and hidden it would wait for ever.
#pragma once

#include "win32/covers.h"

#include <windows.h>

namespace win32 {

// Windows 8 and later send an inactive window WM_POINTERACTIVATE for a tap or a pen's touch, where
// a mouse brings WM_MOUSEACTIVATE (the program's headers are those of an older Windows).
inline constexpr UINT kPointerActivate = 0x024B;
inline constexpr LRESULT kPointerNoActivate = MA_NOACTIVATE; // PA_NOACTIVATE

// Only the window's place in the Z order changes: right behind `after`, or into the band
// HWND_TOPMOST, HWND_NOTOPMOST or HWND_BOTTOM names. Whether the system agreed: it may refuse to
// place a window next to one of a process of higher integrity.
bool Reorder(HWND window, HWND after);

// Whether `window` lies above `other` among their siblings.
bool IsAbove(HWND window, HWND other);

// The message box that waits for the victim: a dialog owned by the console, which it has disabled.
// Found from the window system: a message box sends its owner no WM_ENTERIDLE (DS_NOIDLEMSG).
HWND WaitingBox(HWND console);

// A click (or a tap) on the console or on a black monitor: the keyboard goes to the box while it
// waits, else to the console. The click is the user's input, so Windows lets the program take the
// foreground. A window disabled by the box could be given it too, and the keys would go nowhere.
void TakeTheKeyboard(HWND console);

class Stacking {
public:
    explicit Stacking(Covers& covers) : covers_(covers) {}
    void Attach(HWND console) { console_ = console; }

    // Puts the console and its covers where they belong, as the foreground lies now; `again`:
    // whether or not they seem to be there. Then minds the box.
    void Follow(bool again = false);
    // The box, once it waits: centred on the work area given (once, as it first waits: the victim
    // may move it after that), and above every window, the one in front included.
    void MindTheBox(const RECT& work);

private:
    // Behind `front`, the hidden owner first, then the console, then its covers (a window stays above
    // the one that owns it); whether the system agreed to all of it.
    bool PlaceBehind(HWND front);

    HWND console_ = nullptr;
    Covers& covers_;
    HWND centredBox_ = nullptr;
    // The window in front that would not have the console right behind it: the console went to the
    // bottom instead, and is not put behind that window again while it stays in front.
    HWND refusedFront_ = nullptr;
};

} // namespace win32
