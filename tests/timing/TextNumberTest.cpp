// The three text-to-number rules every field reader uses.
#include "timing/TextNumber.h"

#include <gtest/gtest.h>

namespace timing {
namespace {

TEST(TextNumber, DecimalIntegerReadsTheLeadingNumberOnly) {
    EXPECT_EQ(ParseDecimalInt("65.0000"), 65);
    EXPECT_EQ(ParseDecimalInt("  -12x"), -12);
    EXPECT_EQ(ParseDecimalInt("+7"), 7);
    EXPECT_EQ(ParseDecimalInt(""), 0);
    EXPECT_EQ(ParseDecimalInt("abc"), 0);
    EXPECT_EQ(ParseDecimalInt("59.94"), 59);
    // A number too large for int is clamped instead of wrapping into a surprise.
    EXPECT_EQ(ParseDecimalInt("99999999999999"), 2147483647);
    EXPECT_EQ(ParseDecimalInt("-99999999999999"), -2147483647 - 1);
}

TEST(TextNumber, HexAcceptsPrefixSignAndEitherCase) {
    EXPECT_EQ(ParseHex("3FF"), 0x3FFu);
    EXPECT_EQ(ParseHex("0x1a8"), 0x1A8u);
    EXPECT_EQ(ParseHex("  fe zz"), 0xFEu);
    EXPECT_EQ(ParseHex(""), 0u);
    EXPECT_EQ(ParseHex("xyz"), 0u);
    EXPECT_EQ(ParseHex("0x"), 0u);
    EXPECT_EQ(ParseHex("-2") & 0xFFFF, 0xFFFEu);
}

TEST(TextNumber, DecimalNumberTimesHundredTruncates) {
    EXPECT_EQ(Hundredths("59.94"), 5994);
    EXPECT_EQ(Hundredths("60"), 6000);
    EXPECT_EQ(Hundredths("29.97"), 2997);
    EXPECT_EQ(Hundredths(""), 0);
    EXPECT_EQ(Hundredths("0.5"), 50);
    EXPECT_DOUBLE_EQ(ParseDecimalNumber("1e2"), 100.0);
}

TEST(TextNumber, NoInfinityOrNanReachesAnIntegerConversion) {
    EXPECT_EQ(ParseDecimalNumber("inf"), 0.0);
    EXPECT_EQ(ParseDecimalNumber("nan"), 0.0);
    EXPECT_EQ(ParseDecimalNumber("0x10"), 0.0);
    EXPECT_EQ(Hundredths("1e300"), 2147483647);
    EXPECT_EQ(Hundredths("-1e300"), -2147483647 - 1);
}

}  // namespace
}  // namespace timing
