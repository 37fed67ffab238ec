// Twips and pixels at one resolution: what a window reads of the screen it gives back exactly.
#include "app/twips.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, TheScreenReadInTwipsIsTheScreenAgainInPixelsAtAnyResolution) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int pixels : {640, 768, 800, 1024, 1080, 1366, 1440, 1920, 2160, 2560, 3840, 7680})
            EXPECT_EQ(app::TwipsToPixels(app::PixelsToTwips(pixels, dpi), dpi), pixels) << dpi << " DPI";
}

} // namespace
