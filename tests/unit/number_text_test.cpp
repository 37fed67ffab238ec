// Numbers as the lists show them: the shortest text that reads back as the same value.
#include "app/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

TEST(NumberText, WholeNumbersHaveNoDecimalPointAndNoLeadingBlank) {
    EXPECT_EQ(app::NumberText(1.0f), L"1");
    EXPECT_EQ(app::NumberText(60.0f), L"60");
    EXPECT_EQ(app::NumberText(0.0f), L"0");
    EXPECT_EQ(app::NumberText(-0.0f), L"0");
    EXPECT_EQ(app::NumberText(-7.0f), L"-7");
    EXPECT_EQ(app::NumberText(16777216.0f), L"16777216");
}

TEST(NumberText, FractionsAndLargeNumbersUseTheShortestForm) {
    // 0.1f is 0.100000001490116...; its shortest round-trip text is "0.1".
    EXPECT_EQ(app::NumberText(0.1f), L"0.1");
    EXPECT_EQ(app::NumberText(2.5f), L"2.5");
    EXPECT_EQ(app::NumberText(-0.375f), L"-0.375");
    EXPECT_EQ(app::NumberText(1.0f / 3.0f), L"0.33333334");
    EXPECT_EQ(app::NumberText(1e20f), L"1e+20");
    EXPECT_EQ(app::NumberText(1.5e-7f), L"1.5e-07");
    EXPECT_EQ(app::NumberText(3.4028235e38f), L"3.4028235e+38");
}

TEST(NumberText, EveryListNumberReadsBackExactly) {
    for (float value = 1; value <= 60; value += 1)
        EXPECT_EQ(app::NumberText(value), std::to_wstring(static_cast<int>(value)));
}

// Compared with the standard library's shortest form: the same value and as few digits.
TEST(NumberText, RandomFloatsReadBackWithNoMoreDigitsThanTheLibraryNeeds) {
    std::mt19937 random(42);
    std::uniform_int_distribution<std::uint32_t> bits;
    int checked = 0;
    while (checked < 20000) {
        const std::uint32_t pattern = bits(random);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value)) continue;
        ++checked;
        const std::wstring text = app::NumberText(value);
        const std::string narrow(text.begin(), text.end());
        ASSERT_EQ(std::strtof(narrow.c_str(), nullptr), value) << narrow;
        char expected[64];
        const auto end =
            std::to_chars(expected, expected + sizeof expected, value, std::chars_format::scientific).ptr;
        const std::string library(expected, end);
        const auto significant = [](const std::string& s) {
            int n = 0;
            for (char c : s.substr(0, s.find_first_of("eE")))
                n += (c >= '1' && c <= '9') || (c == '0' && n > 0);
            return n;
        };
        std::string mine = narrow;
        // Trailing zeros of whole numbers are not significant digits.
        if (mine.find_first_of(".e") == std::string::npos) mine.erase(mine.find_last_not_of('0') + 1);
        ASSERT_LE(significant(mine), significant(library)) << narrow << " vs " << library;
    }
}

} // namespace
