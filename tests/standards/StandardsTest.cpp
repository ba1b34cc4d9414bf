// Worked examples of the standards: the CVT entries of the DMT list come back from the formula,
// interlaced timings are summed over both fields, what cannot be made is refused, and the
// lists answer a typed size or a measurement.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <stdexcept>

#include "standards/Timing.h"

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

// Every DMT entry that VESA made with a CVT formula, as the DMT list names them, with the
// formula and its nominal rate. The formula must give each back field by field.
TEST(Cvt, GivesBackEveryDmtEntryMadeWithIt) {
    constexpr Formula C = Formula::Cvt, R = Formula::CvtRb;
    const struct {
        int Id;
        Formula With;
        double Rate;
    } made[] = {
        {0x0D, R, 120},
        {0x14, R, 120},
        {0x16, R, 60},
        {0x17, C, 60},
        {0x18, C, 75},
        {0x19, C, 85},
        {0x1A, R, 120},
        {0x1B, R, 60},
        {0x1C, C, 60},
        {0x1D, C, 75},
        {0x1E, C, 85},
        {0x1F, R, 120},
        {0x22, R, 120},
        {0x26, R, 120},
        {0x28, R, 120},
        {0x29, R, 60},
        {0x2A, C, 60},
        {0x2B, C, 75},
        {0x2C, C, 85},
        {0x2D, R, 120},
        {0x2E, R, 60},
        {0x2F, C, 60},
        {0x30, C, 75},
        {0x31, C, 85},
        {0x32, R, 120},
        {0x38, R, 120},
        {0x39, R, 60},
        {0x3A, C, 60},
        {0x3B, C, 75},
        {0x3C, C, 85},
        {0x3D, R, 120},
        {0x40, R, 120},
        {0x43, R, 120},
        {0x44, R, 60},
        {0x45, C, 60},
        {0x46, C, 75},
        {0x47, C, 85},
        {0x48, R, 120},
        {0x4B, R, 120},
        {0x4C, R, 60},
        {0x4D, C, 60},
        {0x4E, C, 75},
        {0x4F, C, 85},
        {0x50, R, 120},
        {0x57, Formula::CvtRb2, 60},
        {0x58, Formula::CvtRb2, 60 / 1.001},
    };
    int matched = 0;
    for (const auto& m : made) {
        const Timing& published = Dmt(m.Id).Value;
        const Outcome out = Compute(m.With, {published.HActive, published.VActive, m.Rate});
        EXPECT_TRUE(out.Ok && out.Note.empty()) << EntryLabel(Dmt(m.Id)) << ": " << out.Why;
        EXPECT_EQ(out.Result, published) << EntryLabel(Dmt(m.Id));
        matched += out.Result == published ? 1 : 0;
    }
    std::printf(
        "[ published ] DMT entries made with CVT, CVT-RB, CVT-RB2: %zu compared, %d "
        "matched, 0 listed\n",
        std::size(made), matched);
}

// Reduced blanking v2 meets the rate to the kHz of clock, rounding down; v3 computes from a
// rate 0.35 per mille above the one asked for and rounds up to the kHz.
TEST(Cvt, ReducedBlankingV2MeetsTheRateAndV3RoundsItsClockUp) {
    const Timing v2 = Computed(Formula::CvtRb2, 1920, 1080, 60);
    EXPECT_EQ(v2.HTotal, 2000);
    EXPECT_EQ(v2.VTotal, 1111);
    EXPECT_DOUBLE_EQ(v2.PixelClockKHz, 133320.0);
    EXPECT_DOUBLE_EQ(RefreshRate(v2), 60.0);
    EXPECT_EQ(Summary(v2), "133.320 MHz, 66.660 kHz, 60.00 Hz, total 2000x1111");
    const Timing v3 = Computed(Formula::CvtRb3, 1920, 1080, 60);
    EXPECT_EQ(v3.HTotal, 2000);
    EXPECT_EQ(v3.VTotal, 1111);
    EXPECT_DOUBLE_EQ(v3.PixelClockKHz, 133367.0);
    EXPECT_GE(RefreshRate(v3), 60.0 * 1.00035);
}

// A CVT format's width is its height times the aspect ratio rounded down to the cell: the
// ratio, and so the vertical sync, follows from the cell width, whatever was typed.
TEST(Cvt, JudgesTheAspectRatioOnTheCellWidth) {
    const struct {
        int Width, Height, VSync;
    } formats[] = {{1360, 768, 5},  {1366, 768, 5},  {848, 480, 5},   {1064, 600, 5},
                   {1704, 960, 5},  {1864, 1050, 5}, {2728, 1536, 5}, {1224, 768, 6},
                   {1280, 768, 7},  {1248, 1000, 7}, {1024, 768, 4},  {1924, 1080, 5},
                   {1400, 1080, 10}};
    for (const auto& f : formats) {
        EXPECT_EQ(Computed(Formula::Cvt, f.Width, f.Height, 60).VSync, f.VSync) << f.Width;
        EXPECT_EQ(Computed(Formula::CvtRb, f.Width, f.Height, 60).VSync, f.VSync) << f.Width;
    }
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

// A width between two cells is the smaller cell's timing, and the note says so; only reduced
// blanking v2 takes any width.
TEST(Cvt, GivesTheCellBelowAWidthBetweenCellsAndSaysSo) {
    for (Formula formula : {Formula::Cvt, Formula::CvtRb, Formula::CvtRb3}) {
        const Outcome between = Compute(formula, {1924, 1080, 60});
        const Outcome cell = Compute(formula, {1920, 1080, 60});
        ASSERT_TRUE(between.Ok);
        EXPECT_EQ(between.Result, cell.Result) << FormulaName(formula);
        EXPECT_EQ(between.Note, std::string(FormulaName(formula)) +
                                    " has no width of 1924 pixels; it gives 1920, whole 8-pixel "
                                    "cells.");
        EXPECT_TRUE(cell.Note.empty());
    }
    EXPECT_NEAR(RefreshRate(Computed(Formula::Cvt, 1924, 1080, 60)), 59.96, 0.005);
    const Outcome v2 = Compute(Formula::CvtRb2, {1366, 768, 60});
    EXPECT_EQ(v2.Result.HActive, 1366);
    EXPECT_EQ(v2.Result.HTotal, 1446);
    EXPECT_TRUE(v2.Note.empty());
}

TEST(Gtf, RoundsTheWidthToTheNearestCell) {
    const Outcome rounded = Compute(Formula::Gtf, {1366, 768, 60});
    EXPECT_EQ(rounded.Result.HActive, 1368);
    EXPECT_EQ(rounded.Note,
              "GTF has no width of 1366 pixels; it gives 1368, the nearest whole 8-pixel cells.");
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
         {300, 240, 24, false},
         "GTF gives a negative horizontal blanking at this size and rate."},
        {Formula::Gtf,
         {640, 480, 24, false},
         "GTF gives a negative horizontal front porch at this size and rate: its sync is longer "
         "than half of its blanking."},
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
        EXPECT_FALSE(whole.VideoRate);
        // To the kHz where one of the two is published that way (25.175 and 25.200 MHz).
        EXPECT_NEAR(e.Value.PixelClockKHz, whole.Value.PixelClockKHz / 1.001, 0.5) << e.Code;
    }
    EXPECT_EQ(codes, 127 + 27);
}

// The 480- and 240-line formats and 640x480 have a 60 Hz twin of their published 59.94 Hz,
// the HD formats a 59.94 Hz one of their 60 Hz: "720x480 at 60" finds its format.
TEST(Lists, GiveBothRatesOfEveryFormatThatHasThem) {
    const auto sd60 = FittingEntries(TableEntry::Cta, {720, 480, 60, false});
    ASSERT_EQ(sd60.size(), 4u);  // VICs 2 and 3, and 14 and 15 unrepeated
    EXPECT_EQ(ListedLabel(sd60[0]), "VIC 2");
    EXPECT_DOUBLE_EQ(sd60[0].Value.PixelClockKHz, 27027.0);
    EXPECT_EQ(std::string(sd60[0].Entry->Aspect), "4:3");
    EXPECT_EQ(std::string(sd60[1].Entry->Aspect), "16:9");
    const auto vga = FittingEntries(TableEntry::Cta, {640, 480, 0, false});
    ASSERT_EQ(vga.size(), 2u);
    EXPECT_DOUBLE_EQ(vga[0].Value.PixelClockKHz, 25200.0);
    EXPECT_DOUBLE_EQ(vga[1].Value.PixelClockKHz, 25175.0);
    const auto hi = FittingEntries(TableEntry::Cta, {720, 480, 119.88, true});
    ASSERT_EQ(hi.size(), 2u);
    EXPECT_EQ(ListedLabel(hi[0]), "VIC 50 unrepeated");
    EXPECT_TRUE(hi[0].Entry->VideoRate);
    EXPECT_EQ(FittingEntries(TableEntry::Cta, {720, 480, 120, true}).size(), 2u);
    // 240 lines at 27 MHz run at 60.05 Hz; the twin at 1.001 times the clock exists all the same.
    int field240 = 0;
    for (const TableEntry& e : CtaTable())
        field240 += e.Code == 8 ? 1 : 0;
    EXPECT_EQ(field240, 2);
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
    EXPECT_EQ(std::string(p60[0].Entry->Aspect), "16:9");
    EXPECT_EQ(std::string(p60[1].Entry->Aspect), "64:27");
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
