// Worked examples of the standards: the CVT entries of the DMT list come back from the formula,
// interlaced timings are summed over both fields, what cannot be made is refused, and the
// lists answer a typed size or a measurement.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "timing/standards/Timing.h"

namespace standards {
namespace {

const TableEntry& Dmt(int id) {
    for (const TableEntry& e : DmtTable())
        if (e.Code == id)
            return e;
    throw std::runtime_error("no such DMT id");
}

Timing Computed(Formula formula, int w, int h, double rate, bool interlaced = false) {
    const Outcome out = Compute(formula, {w, h, rate, interlaced});
    EXPECT_TRUE(out.Ok) << out.Why;
    return out.Result;
}

// The DMT list took these from the CVT formulas; ours must give them back field by field.
TEST(Cvt, GivesBackTheDmtEntriesMadeWithIt) {
    EXPECT_EQ(Computed(Formula::Cvt, 1280, 800, 60), Dmt(0x1C).Value);
    EXPECT_EQ(Computed(Formula::Cvt, 1680, 1050, 60), Dmt(0x3A).Value);
    EXPECT_EQ(Computed(Formula::Cvt, 1920, 1200, 75), Dmt(0x46).Value);
    EXPECT_EQ(Computed(Formula::CvtRb, 1920, 1200, 60), Dmt(0x44).Value);
    EXPECT_EQ(Computed(Formula::CvtRb, 1856, 1392, 120), Dmt(0x43).Value);
    EXPECT_EQ(Computed(Formula::CvtRb2, 4096, 2160, 60), Dmt(0x57).Value);
    EXPECT_EQ(Computed(Formula::CvtRb2, 4096, 2160, 60 / 1.001), Dmt(0x58).Value);
}

TEST(Cvt, ReducedBlankingV2MeetsTheRateAndV3RoundsItsClockUp) {
    const Timing v2 = Computed(Formula::CvtRb2, 1920, 1080, 60);
    EXPECT_EQ(v2.HTotal, 2000);
    EXPECT_EQ(v2.VTotal, 1111);
    EXPECT_DOUBLE_EQ(v2.PixelClockKHz, 133320.0);
    EXPECT_DOUBLE_EQ(RefreshRate(v2), 60.0);
    EXPECT_EQ(Summary(v2), "133.320 MHz, 66.660 kHz, 60.00 Hz, total 2000x1111");
    const Timing v3 = Computed(Formula::CvtRb3, 1920, 1080, 60);
    EXPECT_DOUBLE_EQ(v3.PixelClockKHz, 133500.0);
    EXPECT_GE(RefreshRate(v3), 60.0);
}

// The half lines of the two fields make one more front-porch line; the rate is the field rate.
TEST(Cvt, SumsAnInterlacedTimingOverBothFields) {
    const Timing t = Computed(Formula::Cvt, 1920, 1080, 60, true);
    EXPECT_TRUE(t.Interlaced);
    EXPECT_EQ(t.VActive, 1080);
    EXPECT_EQ(t.VFrontPorch, 7);
    EXPECT_EQ(t.VSync, 10);
    EXPECT_EQ(VBackPorch(t), 28);
    EXPECT_EQ(t.VTotal, 1125);
    EXPECT_NEAR(RefreshRate(t), 59.94, 0.005);
    EXPECT_EQ(TimingName(t), "1920x1080i59.94");
}

TEST(Cvt, KeepsAWidthBetweenCellsWithTheBlankingOfTheCellBelow) {
    const Timing t = Computed(Formula::Cvt, 1366, 768, 60);
    const Timing cell = Computed(Formula::Cvt, 1360, 768, 60);
    EXPECT_EQ(t.HActive, 1366);
    EXPECT_EQ(t.HTotal, cell.HTotal + 6);
    EXPECT_EQ(t.HFrontPorch, cell.HFrontPorch);
    EXPECT_EQ(t.PixelClockKHz, cell.PixelClockKHz);
    // Reduced blanking v2 takes the width as it is.
    EXPECT_EQ(Computed(Formula::CvtRb2, 1366, 768, 60).HTotal, 1446);
}

TEST(Gtf, RoundsTheWidthToTheNearestCell) {
    const Timing t = Computed(Formula::Gtf, 1366, 768, 60);
    EXPECT_EQ(t.HActive, 1368);
    const Timing hd = Computed(Formula::Gtf, 1920, 1080, 60);
    EXPECT_EQ(hd.HTotal, 2576);
    EXPECT_EQ(hd.VTotal, 1118);
    EXPECT_EQ(hd.HFrontPorch, 120);
    EXPECT_EQ(hd.HSync, 208);
    EXPECT_DOUBLE_EQ(hd.PixelClockKHz, 172798.0);
}

TEST(Refusals, SayWhyInTheUsersWords) {
    const struct {
        Formula formula;
        Request request;
        const char* why;
    } cases[] = {
        {Formula::Cvt, {1920, 0, 60, false}, "The height must be above 0."},
        {Formula::Gtf, {0, 1080, 60, false}, "The width must be above 0."},
        {Formula::CvtRb, {1920, 1080, 0, false}, "The rate must be above 0 Hz."},
        {Formula::CvtRb2, {1920, 1080, 60, true}, "CVT-RB2 has no interlaced timings."},
        {Formula::CvtRb3, {1920, 1080, 60, true}, "CVT-RB3 has no interlaced timings."},
        {Formula::Cvt,
         {1920, 1081, 60, true},
         "An interlaced height must be even: each field has half of it."},
        {Formula::Cvt,
         {4, 480, 60, false},
         "The width must be at least 8 pixels, one character cell."},
        {Formula::CvtRb,
         {1920, 1080, 3000, false},
         "At 3000.00 Hz a frame is shorter than the vertical blanking the standard needs."},
        {Formula::Gtf,
         {640, 480, 24, false},
         "The standard gives no horizontal blanking at this size and rate."},
        {Formula::CvtRb2,
         {65500, 1080, 60, false},
         "The totals are beyond what a format holds (65535)."},
    };
    for (const auto& c : cases) {
        const Outcome out = Compute(c.formula, c.request);
        EXPECT_FALSE(out.Ok) << c.why;
        EXPECT_EQ(out.Why, c.why);
    }
}

TEST(Lists, HoldEveryCodeWithTheVideoRatesAfterTheirWholeRates) {
    EXPECT_EQ(DmtTable().size(), 88u);
    int codes = 0;
    for (size_t i = 0; i < CtaTable().size(); ++i) {
        const TableEntry& e = CtaTable()[i];
        if (!e.VideoRate) {
            ++codes;
            continue;
        }
        ASSERT_GT(i, 0u);
        const TableEntry& whole = CtaTable()[i - 1];
        EXPECT_EQ(whole.Code, e.Code);
        EXPECT_DOUBLE_EQ(e.Value.PixelClockKHz, whole.Value.PixelClockKHz / 1.001);
    }
    EXPECT_EQ(codes, 127 + 27);
}

TEST(Lists, FitWhatIsTypedWithZeroForAny) {
    const auto all768 = FittingEntries(TableEntry::Dmt, {1024, 768, 0, false});
    ASSERT_EQ(all768.size(), 5u);
    EXPECT_EQ(ListedLabel(all768[0]), "DMT 0x10");
    EXPECT_EQ(FittingEntries(TableEntry::Dmt, {1024, 768, 0, true}).size(), 1u);
    const auto p60 = FittingEntries(TableEntry::Cta, {1920, 1080, 60, false});
    ASSERT_EQ(p60.size(), 2u);  // VIC 16 and its 64:27 twin 76, not the 59.94 ones
    EXPECT_EQ(ListedLabel(p60[0]), "VIC 16");
    EXPECT_EQ(ListedLabel(p60[1]), "VIC 76");
    const auto sd = FittingEntries(TableEntry::Cta, {720, 480, 59.94, true});
    ASSERT_EQ(sd.size(), 2u);
    EXPECT_EQ(ListedLabel(sd[0]), "VIC 6 unrepeated");
    EXPECT_EQ(sd[0].Value.HTotal, 858);
    EXPECT_DOUBLE_EQ(sd[0].Value.PixelClockKHz, 13500.0);
}

TEST(Lists, MatchAMeasurementClosestFirst) {
    const auto hd = MatchMeasurement(1920, 1080, 67.43, 0.5);
    ASSERT_FALSE(hd.empty());
    EXPECT_EQ(TimingName(hd[0].Value), "1920x1080p59.94");
    for (size_t i = 1; i < hd.size(); ++i)
        EXPECT_LE(std::fabs(hd[i - 1].OffsetPercent), std::fabs(hd[i].OffsetPercent));
    // An interlaced signal by its field height, as the chip counts it once set for it.
    const auto field = MatchMeasurement(1920, 540, 28.13, 0.5);
    ASSERT_FALSE(field.empty());
    EXPECT_EQ(ListedLabel(field[0]), "VIC 20");
    EXPECT_TRUE(MatchMeasurement(1920, 1080, 70.0, 0.5).empty());
    EXPECT_TRUE(MatchMeasurement(0, 0, 0.0, 0.5).empty());
}

}  // namespace
}  // namespace standards
