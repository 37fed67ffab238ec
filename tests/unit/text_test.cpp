// Texts in buffers of their own: what fits is kept, with a NUL after it; what does not, is told.
#include "app/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, WhatFitsIsKeptWithANulAfterIt) {
    app::Text<8> text(L"abc");
    EXPECT_TRUE(text.Append(L"de"));
    EXPECT_TRUE(text.Append(L'f'));
    EXPECT_EQ(text.view(), L"abcdef");
    EXPECT_EQ(text.c_str()[6], L'\0');
}

TEST(Text, WhatDoesNotFitIsToldAndTheBufferStaysWhole) {
    app::Text<4> text(L"abc");
    EXPECT_FALSE(text.Append(L"def"));
    EXPECT_EQ(text.view(), L"abcd");
    EXPECT_EQ(text.c_str()[4], L'\0');
    EXPECT_FALSE(text.Append(L'g'));
    EXPECT_TRUE(text.Append(L""));
    EXPECT_EQ(text.view(), L"abcd");
}

} // namespace
