// Resolution handling: twips to pixels at the monitor's real DPI. The newer per-monitor functions
// are looked up at run time so that the program still starts on older Windows.
#pragma once

#include "app/layout.h"

#include <windows.h>

namespace win32 {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPointsPerInch = 72;
inline constexpr int kDefaultDpi = 96;

inline int TwipsToPixels(app::Twips twips, int dpi) {
    return MulDiv(twips, dpi, kTwipsPerInch);
}
inline app::Twips PixelsToTwips(int pixels, int dpi) {
    return MulDiv(pixels, kTwipsPerInch, dpi);
}
inline int PointsToPixels(int points, int dpi) {
    return MulDiv(points, dpi, kPointsPerInch);
}

// DPI of the primary monitor, for windows not yet created and for the screen size.
int SystemDpi();
// DPI of the monitor the window is on.
int WindowDpi(HWND window);
// Outer window rectangle for a client rectangle at the given DPI.
void AdjustForFrame(RECT& rect, DWORD style, DWORD exStyle, int dpi);

} // namespace win32
