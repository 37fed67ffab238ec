// Numbers as the lists show them.
#include "app/number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NumberText, WholeNumbersHaveNoDecimalPointAndNoLeadingBlank) {
    EXPECT_EQ(app::NumberText(1.0f).view(), L"1");
    EXPECT_EQ(app::NumberText(60.0f).view(), L"60");
    EXPECT_EQ(app::NumberText(0.0f).view(), L"0");
    EXPECT_EQ(app::NumberText(-0.0f).view(), L"0");
    EXPECT_EQ(app::NumberText(-7.0f).view(), L"-7");
    EXPECT_EQ(app::NumberText(16777216.0f).view(), L"16777216");
    EXPECT_EQ(app::NumberText(-1e18f).view(), L"-999999984306749440");
    for (float value = 1; value <= 60; value += 1)
        EXPECT_EQ(app::NumberText(value).view(), std::to_wstring(static_cast<int>(value)));
}

} // namespace
