// Twips and pixels. A window converts both ways with one resolution, its monitor's, so that a size
// read in pixels and written back comes out as it was.
#pragma once

#include "app/layout.h"

#include <cstdint>

namespace app {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

// a * b / c, rounded half away from zero, as Windows' MulDiv does.
constexpr int Scale(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

constexpr int TwipsToPixels(Twips twips, int dpi) {
    return Scale(twips, dpi, kTwipsPerInch);
}

constexpr Twips PixelsToTwips(int pixels, int dpi) {
    return Scale(pixels, kTwipsPerInch, dpi);
}

} // namespace app
