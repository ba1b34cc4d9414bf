// The editor's derivation as a pure function: the same numbers the editor writes into its hidden
// fields, for the worked timings and at the edges where the editor refuses.
#include <gtest/gtest.h>

#include "format/TimingMath.h"

namespace {

TEST(FrameRegistersTest, Progressive1080p60) {
    fmt::FrameRegisters frame;
    ASSERT_EQ(fmt::DeriveFrameRegisters(2200, 1125, 60, frame), fmt::FrameDerivation::Ok);
    EXPECT_EQ(frame.PLLDivRatio, 0x898);
    EXPECT_EQ(frame.FR_LL, 424);
    EXPECT_EQ(frame.L_MAX, 1125);
    EXPECT_DOUBLE_EQ(frame.PixelClockMHz, 148.5);
}

TEST(FrameRegistersTest, FractionalRateUsesItsWholePart) {
    fmt::FrameRegisters frame;
    ASSERT_EQ(fmt::DeriveFrameRegisters(2200, 1125, 59, frame), fmt::FrameDerivation::Ok);
    EXPECT_EQ(frame.FR_LL, 431);
    EXPECT_DOUBLE_EQ(frame.PixelClockMHz, 146.025);
}

TEST(FrameRegistersTest, RefusalsStillGiveThePllRatio) {
    fmt::FrameRegisters frame;
    EXPECT_EQ(fmt::DeriveFrameRegisters(2200, 1125, 0, frame),
              fmt::FrameDerivation::FrameRateNotPositive);
    EXPECT_EQ(frame.PLLDivRatio, 2200);
    EXPECT_EQ(frame.FR_LL, 0);
    EXPECT_EQ(fmt::DeriveFrameRegisters(2200, 0, 60, frame),
              fmt::FrameDerivation::VerticalTotalZero);
    EXPECT_EQ(frame.PLLDivRatio, 2200);
}

TEST(FrameRegistersTest, HugeTypedTotalsDoNotOverflow) {
    fmt::FrameRegisters frame;
    ASSERT_EQ(fmt::DeriveFrameRegisters(2147483647, 2147483647, 2147483647, frame),
              fmt::FrameDerivation::Ok);
    EXPECT_GT(frame.PixelClockMHz, 9.9e21);
}

TEST(VbiLinesTest, WorkedExamples) {
    const fmt::VbiLines p = fmt::DeriveVbiLines(1125, 1080, 4, 5, false);
    EXPECT_EQ(p.VBackPorch, 36);
    EXPECT_EQ(p.F1Start, 0x462);
    EXPECT_EQ(p.F1End, 0x02A);
    EXPECT_EQ(p.F2Start, 0x462);
    EXPECT_EQ(p.F2End, 0x48F);
    const fmt::VbiLines i = fmt::DeriveVbiLines(1125, 1080, 5, 10, true);
    EXPECT_EQ(i.F1Start, 0x464);
    EXPECT_EQ(i.F1End, 0x015);
    EXPECT_EQ(i.F2Start, 0x231);
    EXPECT_EQ(i.F2End, 0x248);
}

TEST(VbiLinesTest, InconsistentTimingWrapsToSixteenBits) {
    // Totals smaller than their parts: a negative back porch, stored in two's complement.
    const fmt::VbiLines lines = fmt::DeriveVbiLines(100, 200, 4, 5, false);
    EXPECT_EQ(lines.VBackPorch, -109);
    EXPECT_EQ(lines.F1End, 0xFF99);
}

// The numbers a record stores for rates with two decimals: those of IEEE double arithmetic,
// on every build. With extended precision (the x87 unit a 32-bit build computes with unless told
// otherwise) several come out one hundredth low: 5993 for 59.94, 6396 for 63.97 kHz.
TEST(StoredRatesTest, TwoDecimalRatesAreStoredAsTheirHundredths) {
    EXPECT_EQ(fmt::FrameRateField(59.94), 5994);
    EXPECT_EQ(fmt::FrameRateField(29.97), 2997);
    EXPECT_EQ(fmt::FrameRateField(74.97), 7497);
    EXPECT_EQ(fmt::FrameRateField(119.88), 11988);
    EXPECT_EQ(fmt::FrameRateField(23.98), 2398);
    // A 1280x1024 input at 60 Hz measures 3581 counts: 63.97 kHz.
    EXPECT_EQ(fmt::LineFreqField(3581), 6397);
    EXPECT_EQ(fmt::LineFreqField(3394), 6750);
    EXPECT_EQ(fmt::LineFreqField(4737), 4836);
}

}  // namespace
