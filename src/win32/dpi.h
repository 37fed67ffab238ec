// Resolution handling: twips to pixels at the monitor's real DPI. The newer per-monitor functions
// are looked up at run time so that the program still starts on older Windows.
#pragma once

#include "app/twips.h"

#include <windows.h>

namespace win32 {

inline constexpr int kDefaultDpi = 96;

// Declared by the headers of Windows 8.1 and later only.
#ifndef WM_DPICHANGED
inline constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

using app::PixelsToTwips;
using app::TwipsToPixels;

inline int PointsToPixels(int points, int dpi) {
    return TwipsToPixels(points * app::kTwipsPerPoint, dpi);
}

// DPI of the monitor the window is on: every size of the window is computed with it. (Windows
// without per-monitor DPI have one for all windows.)
int WindowDpi(HWND window);
// Outer window rectangle for a client rectangle at the given DPI.
void AdjustForFrame(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// A dialog moved to a monitor of another DPI is laid out by the program alone, from its design,
// not also by the dialog manager from the template's dialog units.
void KeepDialogLayoutOurs(HWND dialog);

} // namespace win32
