// The HUD's number formats.
#include <gtest/gtest.h>

#include <limits>

#include "gfx/text.h"

TEST(FloatToText, PrintsSixSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(floatToText(1), "1");
    EXPECT_EQ(floatToText(0.5), "0.5");
    EXPECT_EQ(floatToText(-1), "-1");
    EXPECT_EQ(floatToText(0.2), "0.2");
    EXPECT_EQ(floatToText(0), "0");
    EXPECT_EQ(floatToText(123.456789), "123.457");
    EXPECT_EQ(floatToText(1234567.0), "1.23457e+06");
    // A play rate stepped down by 0.2 from -1 five times in float is not
    // quite zero; the text says so rather than hiding it.
    float rate = -1.0f;
    for (int i = 0; i < 5; i++) rate = static_cast<float>(rate + 0.2);
    EXPECT_NE(floatToText(rate), "0.2");
    EXPECT_LT(floatToText(rate).size(), 14u);
}

TEST(TruncatedText, CutsTowardZeroAtTheGivenDecimals) {
    EXPECT_EQ(truncatedText(59.87f, 1), "59.8");
    EXPECT_EQ(truncatedText(25.0f, 1), "25");
    EXPECT_EQ(truncatedText(24.99f, 1), "24.9");
    EXPECT_EQ(truncatedText(-3.79f, 1), "-3.7");
    EXPECT_EQ(truncatedText(3.14159f, 2), "3.14");
    EXPECT_EQ(truncatedText(7.9f, 0), "7");
    EXPECT_EQ(truncatedText(0.0f, 1), "0");
}

TEST(TruncatedText, HugeValuesDoNotOverflow) {
    EXPECT_EQ(truncatedText(3.0e9f, 1), "3e+09");
    EXPECT_EQ(truncatedText(std::numeric_limits<float>::infinity(), 1), "inf");
}
