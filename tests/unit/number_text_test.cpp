// Numbers as the lists show them: the shortest text that reads back as the same value.
#include "app/number_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(NumberText, WholeNumbersHaveNoDecimalPointAndNoLeadingBlank) {
    EXPECT_EQ(app::NumberText(1.0f), L"1");
    EXPECT_EQ(app::NumberText(60.0f), L"60");
    EXPECT_EQ(app::NumberText(0.0f), L"0");
    EXPECT_EQ(app::NumberText(-7.0f), L"-7");
    EXPECT_EQ(app::NumberText(16777216.0f), L"16777216");
}

TEST(NumberText, FractionsUseTheShortestSinglePrecisionForm) {
    // 0.1f is 0.100000001490116...; its shortest round-trip text is "0.1".
    EXPECT_EQ(app::NumberText(0.1f), L"0.1");
    EXPECT_EQ(app::NumberText(2.5f), L"2.5");
    EXPECT_EQ(app::NumberText(1.0f / 3.0f), L"0.33333334");
}

TEST(NumberText, EveryListNumberReadsBackExactly) {
    for (float value = 1; value <= 60; value += 1) {
        const std::wstring text = app::NumberText(value);
        EXPECT_EQ(std::wcstof(text.c_str(), nullptr), value);
        EXPECT_EQ(text, std::to_wstring(static_cast<int>(value)));
    }
}

} // namespace
