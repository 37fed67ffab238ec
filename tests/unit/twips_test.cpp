// Twips and pixels at one resolution: what a window reads of the screen it gives back exactly.
#include "app/twips.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, TheScreenReadInTwipsIsTheScreenAgainInPixelsAtAnyResolution) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int pixels : {640, 768, 800, 1024, 1080, 1366, 1440, 1920, 2160, 2560, 3840, 7680})
            EXPECT_EQ(app::TwipsToPixels(app::PixelsToTwips(pixels, dpi), dpi), pixels) << dpi << " DPI";
}

TEST(Twips, RoundHalfAwayFromZeroAsWindowsDoes) {
    const auto& form = settings::kForm1Layout;
    EXPECT_EQ(app::TwipsToPixels(form.clientWidth, 96), 314);
    EXPECT_EQ(app::TwipsToPixels(form.clientHeight, 96), 377);
    EXPECT_EQ(app::TwipsToPixels(form.clientWidth, 144), 471);
    EXPECT_EQ(app::TwipsToPixels(form.clientHeight, 144), 566); // 565.5
    EXPECT_EQ(app::TwipsToPixels(-7, 144), -1);                 // -0.7
    EXPECT_EQ(app::PixelsToTwips(1, 96), 15);
}

} // namespace
