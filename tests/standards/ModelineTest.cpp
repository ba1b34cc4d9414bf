// Modelines as users paste them: cvt's and xrandr's forms, interlaced ones in the editor's
// terms, what no format can hold refused with the reason, and a modeline written back from a
// timing reads as that timing.
#include <gtest/gtest.h>

#include "standards/Sources.h"

namespace standards {
namespace {

Timing Read(const std::string& text) {
    const ModelineReading r = ReadModeline(text);
    EXPECT_TRUE(r.Ok) << text << ": " << r.Why;
    return r.Value;
}

TEST(Modeline, ReadsCvtsLineWithOrWithoutTheWordAndTheName) {
    const char* forms[] = {
        ("Modeline \"1920x1080_60.00\"  173.00  1920 2048 2248 2576  1080 1083 1088 1120 "
         "-hsync +vsync"),
        "\"1920x1080_60.00\" 173 1920 2048 2248 2576 1080 1083 1088 1120 -HSync +VSync\n",
        "1920x1080_60.00 173.00 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +vsync",
        "  173.00\t1920 2048 2248 2576 1080 1083 1088 1120 +vsync -hsync",
    };
    for (const char* text : forms) {
        const Timing t = Read(text);
        EXPECT_EQ(t.HActive, 1920);
        EXPECT_EQ(t.HFrontPorch, 128);
        EXPECT_EQ(t.HSync, 200);
        EXPECT_EQ(t.HTotal, 2576);
        EXPECT_EQ(t.VActive, 1080);
        EXPECT_EQ(t.VFrontPorch, 3);
        EXPECT_EQ(t.VSync, 5);
        EXPECT_EQ(t.VTotal, 1120);
        EXPECT_FALSE(t.HSyncPositive);
        EXPECT_TRUE(t.VSyncPositive);
        EXPECT_FALSE(t.Interlaced);
        EXPECT_DOUBLE_EQ(t.PixelClockKHz, 173000.0);
    }
    EXPECT_EQ(ReadModeline(forms[0]).Name, "1920x1080_60.00");
    EXPECT_EQ(ReadModeline(forms[3]).Name, "");
    EXPECT_EQ(TimingName(Read(forms[0])), "1920x1080p59.96");
}

TEST(Modeline, InterlacedValuesPerFrameMeetTheStandardsOwn) {
    // X's 1080i: the odd total holds the two half lines, which the editor counts as one more
    // front-porch line, as the CTA-861 list has it.
    const Timing t = Read(
        "Modeline \"1920x1080i\" 74.25 1920 2008 2052 2200 1080 1084 1094 1125 Interlace "
        "+hsync +vsync");
    Timing vic5;
    for (const TableEntry& e : CtaTable())
        if (e.Code == 5 && !e.VideoRate)
            vic5 = e.Value;
    EXPECT_EQ(t, vic5);
    EXPECT_DOUBLE_EQ(RefreshRate(t), 60.0);
    EXPECT_EQ(WriteModeline(t, "1920x1080i"),
              "Modeline \"1920x1080i\"  74.25  1920 2008 2052 2200  1080 1084 1094 1125 "
              "Interlace +hsync +vsync");
}

TEST(Modeline, WithoutPolaritiesTakesThemNegativeAndSaysSo) {
    const ModelineReading r =
        ReadModeline("Modeline \"1280x1024\" 108.0 1280 1328 1440 1688 1024 1025 1028 1066");
    ASSERT_TRUE(r.Ok) << r.Why;
    EXPECT_FALSE(r.Value.HSyncPositive);
    EXPECT_FALSE(r.Value.VSyncPositive);
    EXPECT_EQ(r.Note, "The modeline gives no sync polarity: both are taken as negative.");
    EXPECT_EQ(ReadModeline("108 1280 1328 1440 1688 1024 1025 1028 1066 +hsync").Note,
              "The modeline gives no vertical sync polarity: it is taken as negative.");
}

TEST(Modeline, WhatIsNoModelineIsRefusedWithWhatIsWrong) {
    const struct {
        const char* Text;
        const char* Why;
    } cases[] = {
        {"", "Type or paste a modeline: a clock in MHz and eight numbers."},
        {"Modeline \"x\" 173.00 1920 2048 2248 2576 1080 1083 1088",
         "A modeline needs a pixel clock in MHz and eight numbers, four horizontal and four "
         "vertical."},
        {"Modeline \"x 173 1920 2048 2248 2576 1080 1083 1088 1120",
         "The mode's name has no closing quote."},
        {"\"x\" 17e3 1920 2048 2248 2576 1080 1083 1088 1120",
         "\"17e3\" is no pixel clock: a number of MHz such as 148.50."},
        {"\"x\" 0.00 1920 2048 2248 2576 1080 1083 1088 1120",
         "The pixel clock must be above 0 MHz."},
        {"0.0001 1920 2048 2248 2576 1080 1083 1088 1120",
         "A pixel clock of 0.0001 MHz is beyond what any signal has."},
        {"173 1920 2048 2248 2576 1080 1083 1088.5 1120",
         "\"1088.5\" is no whole number of lines."},
        {"173 1920 1900 2248 2576 1080 1083 1088 1120",
         "The horizontal values 1920 1900 2248 2576 do not make a timing: its sync starts "
         "inside the active part."},
        {"173 1920 2048 2048 2576 1080 1083 1088 1120",
         "The horizontal values 1920 2048 2048 2576 do not make a timing: its sync ends before "
         "it starts."},
        {"173 1920 2048 2248 2576 1080 1083 1088 1087",
         "The vertical values 1080 1083 1088 1087 do not make a timing: its total ends before "
         "the sync does."},
        {"173 1920 2048 2248 2576 0 1083 1088 1120",
         "The vertical values 0 1083 1088 1120 do not make a timing: its active size is 0."},
        {"999 1920 2048 2248 99999 1080 1083 1088 1120",
         "The horizontal values 1920 2048 2248 99999 do not make a timing: its total is beyond "
         "what a format holds (65535)."},
        {"173 1920 2048 2248 2576 1080 1083 1088 1120 DoubleScan",
         "DoubleScan sends every line twice, which a format cannot hold."},
        {"173 1920 2048 2248 2576 1080 1083 1088 1120 +CSync",
         "Composite sync is not the separate horizontal and vertical sync a format holds."},
        {"173 1920 2048 2248 2576 1080 1083 1088 1120 VScan",
         "\"VScan\" changes how the lines are sent, which a format cannot hold."},
        {"173 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +hsync",
         "The modeline gives both polarities of the same sync."},
        {"173 1920 2048 2248 2576 1080 1083 1088 1120 fast",
         "\"fast\" is no modeline flag: +hsync, -hsync, +vsync, -vsync or Interlace."},
        {"74.25 1920 2008 2052 2200 1081 1084 1094 1125 Interlace",
         "An interlaced height must be even: each field has half of it."},
    };
    for (const auto& c : cases) {
        const ModelineReading r = ReadModeline(c.Text);
        EXPECT_FALSE(r.Ok) << c.Text;
        EXPECT_EQ(r.Why, c.Why) << c.Text;
    }
    EXPECT_FALSE(ReadModeline(std::string(5000, '1')).Ok);
}

TEST(Modeline, WrittenFromAStandardReadsBackAsIt) {
    // Every entry of both lists: the timing, the name and the rate to two decimals come back.
    int compared = 0;
    for (const auto* list : {&DmtTable(), &CtaTable()}) {
        for (const TableEntry& e : *list) {
            const std::string line = WriteModeline(e.Value, ModeName(e.Value));
            const ModelineReading r = ReadModeline(line);
            ASSERT_TRUE(r.Ok) << line << ": " << r.Why;
            Timing back = r.Value;
            EXPECT_EQ(TimingName(back), TimingName(e.Value)) << line;
            back.PixelClockKHz = e.Value.PixelClockKHz;
            EXPECT_EQ(back, e.Value) << line;
            EXPECT_EQ(r.Name, ModeName(e.Value));
            ++compared;
        }
    }
    EXPECT_GT(compared, 200);
    // The fewest decimals that keep the rate: 59.94 Hz needs none beyond two here.
    Timing t;
    for (const TableEntry& e : CtaTable())
        if (e.Code == 16 && e.VideoRate)
            t = e.Value;
    EXPECT_EQ(WriteModeline(t, "a"),
              "Modeline \"a\"  148.35  1920 2008 2052 2200  1080 1084 1089 1125 +hsync +vsync");
}

TEST(Modeline, NoneIsWrittenForATimingWithoutRoomForItsSync) {
    Timing t = Read("100 1000 1010 1020 1100 600 601 604 625 +hsync +vsync");
    EXPECT_FALSE(WriteModeline(t, "x").empty());
    Timing noBlank = t;
    noBlank.HTotal = 1000;
    EXPECT_EQ(WriteModeline(noBlank, "x"), "");
    Timing noClock = t;
    noClock.PixelClockKHz = 0;
    EXPECT_EQ(WriteModeline(noClock, "x"), "");
    Timing negativePorch = t;
    negativePorch.Interlaced = true;
    negativePorch.VFrontPorch = 0;  // with the odd total, the sync would start in the picture
    EXPECT_EQ(WriteModeline(negativePorch, "x"), "");
}

}  // namespace
}  // namespace standards
