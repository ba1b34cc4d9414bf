// "show --modelines": every record as a modeline xrandr takes, which reads back through the
// editor's own record builder to the same record; a standard timing keeps its published
// horizontal sync, a record of no standard gets one placed inside its blanking, and a record
// that cannot be a modeline says why.
#include <gtest/gtest.h>

#include <sstream>

#include "ToolFixture.h"
#include "format/TimingMath.h"
#include "standards/Sources.h"
#include "timing/EditorRecord.h"

namespace tabletest {
namespace {

// The record "Standard..." stores for t after Detect measured count and Test derived.
fmt::FormatRecord EditorRecord(const standards::Timing& t, int32_t count) {
    timing::RecordFields fields;
    std::string why;
    EXPECT_TRUE(timing::FieldsAfterStandardTest(t, count, fields, why)) << why;
    return timing::BuildRecord(fields, fmt::FormatRecord{});
}

int32_t Count(const standards::Timing& t) {
    return fmt::LineLengthCount(standards::LineFrequencyKHz(t) * 1000.0);
}

std::vector<std::string> Modelines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Modeline ", 0) == 0)
            lines.push_back(line);
    return lines;
}

class ShowModelines : public ToolTest {
  protected:
    // Prints the records as modelines and reads each back as the editor's Modeline choice
    // would store it, with the record's own count: every record must come back byte for byte.
    void RoundTrip(const std::vector<fmt::FormatRecord>& records, uint16_t builtins = 0) {
        const ToolRun run =
            RunTool({"show", WriteTable("t.bin", builtins, records), "--modelines"});
        ASSERT_EQ(run.code, 0) << run.out << run.err;
        const std::vector<std::string> lines = Modelines(run.out);
        ASSERT_EQ(lines.size(), records.size()) << run.out;
        for (size_t i = 0; i < records.size(); ++i) {
            const standards::ModelineReading r = standards::ReadModeline(lines[i]);
            ASSERT_TRUE(r.Ok) << lines[i] << ": " << r.Why;
            EXPECT_EQ(EditorRecord(r.Value, records[i].Timing.LineLengthRange.Nominal), records[i])
                << lines[i];
        }
    }
};

TEST_F(ShowModelines, AStandardTimingPrintsAsPublishedAndReadsBackToItsRecord) {
    const auto entry = [](int code, bool videoRate) {
        for (const standards::TableEntry& e : standards::CtaTable())
            if (e.Code == code && e.VideoRate == videoRate)
                return e.Value;
        return standards::Timing{};
    };
    const standards::Timing cvt =
        standards::Compute(standards::Formula::Cvt, {1920, 1080, 60.0}).Result;
    const std::vector<fmt::FormatRecord> records = {
        EditorRecord(standards::DmtTable()[0x51].Value, Count(standards::DmtTable()[0x51].Value)),
        EditorRecord(entry(5, false), Count(entry(5, false))),
        EditorRecord(entry(16, true), Count(entry(16, true))), EditorRecord(cvt, Count(cvt))};
    const std::string path = WriteTable("format.bin", 1, records);
    const ToolRun run = RunTool({"show", path, "--modelines"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "# " + path +
            ": 4 records (1 built-in, 3 user), each as a modeline for xrandr\n"
            "# built-in 0: 1920x1080 60.00, on; the horizontal porch and sync of DMT 0x52\n"
            "Modeline \"1920x1080_60.00_builtin0\"  148.50  1920 2008 2052 2200  1080 1084 1089 "
            "1125 +hsync +vsync\n"
            "# user 0: 1920x1080 60.00, on; the horizontal porch and sync of VIC 5\n"
            "Modeline \"1920x1080i_60.00_user0\"  74.25  1920 2008 2052 2200  1080 1084 1094 "
            "1125 Interlace +hsync +vsync\n"
            "# user 1: 1920x1080 59.94, on; the horizontal porch and sync of VIC 16\n"
            "Modeline \"1920x1080_59.94_user1\"  148.35  1920 2008 2052 2200  1080 1084 1089 "
            "1125 +hsync +vsync\n"
            "# user 2: 1920x1080 59.96, on; the horizontal porch and sync of CVT\n"
            "Modeline \"1920x1080_59.96_user2\"  173.00  1920 2048 2248 2576  1080 1083 1088 "
            "1120 -hsync +vsync\n");
    RoundTrip(records, 1);
}

TEST_F(ShowModelines, EveryListedAndComputedTimingReadsBackToItsRecord) {
    std::vector<fmt::FormatRecord> records;
    int tables = 0;
    const auto flush = [&] {
        RoundTrip(records);
        records.clear();
        ++tables;
    };
    for (const auto* list : {&standards::DmtTable(), &standards::CtaTable()}) {
        for (const standards::TableEntry& e : *list) {
            records.push_back(EditorRecord(e.Value, Count(e.Value)));
            if (records.size() == 200)
                flush();
        }
    }
    for (auto formula : {standards::Formula::Cvt, standards::Formula::CvtRb,
                         standards::Formula::CvtRb2, standards::Formula::Gtf}) {
        for (int h : {480, 720, 768, 1080, 1200})
            for (double rate : {50.0, 59.94, 60.0, 75.0}) {
                const standards::Outcome out = standards::Compute(formula, {h * 16 / 9, h, rate});
                if (out.Ok)
                    records.push_back(EditorRecord(out.Result, 3000));
            }
    }
    flush();
    EXPECT_GE(tables, 2);
}

TEST_F(ShowModelines, ATimingOfNoStandardGetsItsSyncPlacedAndStillReadsBack) {
    std::vector<fmt::FormatRecord> records;
    // Blankings from CVT's size down to a single pixel; odd and even interlaced totals.
    for (int blank : {400, 160, 100, 40, 3, 1}) {
        standards::Timing t;
        t.HActive = 1000;
        t.HTotal = 1000 + blank;
        t.VActive = 700;
        t.VFrontPorch = 2;
        t.VSync = 3;
        t.VTotal = 731;
        t.HSyncPositive = blank % 2 == 0;
        t.PixelClockKHz = 1000.0 * 53.37 * t.VTotal * t.HTotal / 1000.0 / 1000.0;
        records.push_back(EditorRecord(t, 1234));
        t.Interlaced = true;
        t.VFrontPorch = blank % 2 == 0 ? 5 : 6;
        t.VSync = 6;
        t.VTotal = blank % 2 == 0 ? 731 : 732;
        records.push_back(EditorRecord(t, 1234));
    }
    RoundTrip(records);
    const ToolRun run = RunTool({"show", WriteTable("t.bin", 0, records), "--modelines"});
    EXPECT_NE(run.out.find("# user 0: 1000x700 53.37, on; the horizontal sync placed as CVT "
                           "places it (a record keeps none)\nModeline \"1000x700_53.37_user0\"  "
                           "54.62  1000 1088 1200 1400  700 702 705 731 +hsync -vsync\n"),
              std::string::npos)
        << run.out;
}

TEST_F(ShowModelines, ARecordThatCannotBeAModelineSaysWhyAndTheRestArePrinted) {
    std::vector<fmt::FormatRecord> records = CleanRecords();
    fmt::FormatRecord noRate = records[2];
    noRate.Timing.FrameRate = 0;
    fmt::FormatRecord noBlank = records[2];
    noBlank.Timing.HTotal = noBlank.Timing.HActive;
    fmt::FormatRecord noRoom = records[2];
    noRoom.Timing.VSyncRange1.Nominal = 60;  // more sync than the frame's blanking
    records.insert(records.end(), {noRate, noBlank, noRoom});
    const ToolRun run = RunTool({"show", WriteTable("t.bin", 2, records), "--modelines"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Modelines(run.out).size(), 4u);
    EXPECT_NE(run.out.find("# user 2: 1920x1080 0.00, on; no modeline: its frame rate is 0\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("# user 3: 1920x1080 60.00, on; no modeline: it has no horizontal "
                           "blanking to hold a sync\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("# user 4: 1920x1080 60.00, on; no modeline: its vertical porches "
                           "and sync do not fit in its total\n"),
              std::string::npos);
    EXPECT_EQ(RunTool({"show", WriteTable("t.bin", 2, records), "--modelines", "--json"}).code, 2);
    EXPECT_EQ(RunTool({"check", WriteTable("t.bin", 2, records), "--modelines"}).code, 2);
}

}  // namespace
}  // namespace tabletest
