// "check": a clean table says so; each kind of fault is named on its own line with the Id the
// main window shows; a file that cannot be read at all is exit code 2.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "ToolFixture.h"
#include "format/FormatTable.h"
#include "sim/VirtualSystem.h"

namespace tabletest {
namespace {

TEST_F(ToolTest, TheDriversOwnTableChecksClean) {
    const std::string path = Write("format.bin", sim::DefaultFormatTableFile());
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(run.out, path + ": clean, 37 records\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ToolTest, InterlacedRecordsWithOddOrEvenPorchesAreClean) {
    // An interlaced record keeps half its front porch; both parities must be recognised.
    std::vector<fmt::FormatRecord> records = {StandardRecord("1920x1080i50"),
                                              StandardRecord("720x480i59.94"),
                                              StandardRecord("720x576i50")};
    const ToolRun run = RunTool({"check", WriteTable("i.bin", 0, records)});
    EXPECT_EQ(run.code, 0) << run.out;
}

struct RecordFault {
    const char* what;
    size_t record;  // in CleanRecords(): 0 and 1 built-in, 2 and 3 user
    std::function<void(fmt::FormatRecord&)> spoil;
    const char* line;  // what the problem line must contain after the file name
};

class RecordFaultTest : public ToolTest, public ::testing::WithParamInterface<RecordFault> {};

TEST_P(RecordFaultTest, IsNamedWithTheRecordsId) {
    std::vector<fmt::FormatRecord> records = CleanRecords();
    GetParam().spoil(records[GetParam().record]);
    const std::string path = WriteTable("format.bin", kCleanBuiltins, records);
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find(path + ": " + GetParam().line), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(path + ": 1 problem"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecordFaultTest,
    ::testing::Values(
        RecordFault{"stored FR_LL not the derived one", 2,
                    [](fmt::FormatRecord& r) { r.Registers.FR_LL = 0x1A0; },
                    "user 0: FR_LL is 1A0, the editor derives 1A8 from the record's timing"},
        RecordFault{"field 2 blanking end", 0,
                    [](fmt::FormatRecord& r) { r.Registers.F2_VBI_END += 1; },
                    "built-in 0: F2_VBI_END is 309, the editor derives 308"},
        RecordFault{"interlaced field 1 end", 1,
                    [](fmt::FormatRecord& r) { r.Registers.F1_VBI_END = 0x16; },
                    "built-in 1: F1_VBI_END is 016, the editor derives 015"},
        RecordFault{"PLL ratio", 3, [](fmt::FormatRecord& r) { r.Registers.PLLDivRatio = 1343; },
                    "user 1: PLLDivRatio is 53F, the editor derives 540"},
        RecordFault{"range bound", 3, [](fmt::FormatRecord& r) { r.Timing.VSyncRange2.Upper = 9; },
                    "user 1: VSyncRange2 (4,6,9) does not follow from its nominal value 6: "
                    "(4,6,8)"},
        RecordFault{"range nominal", 2,
                    [](fmt::FormatRecord& r) { r.Timing.VTotalRange2 = fmt::VTotalRange(1124); },
                    "user 0: VTotalRange2 nominal value 1124 differs from VTotal 1125"},
        RecordFault{"line-length bounds", 2,
                    [](fmt::FormatRecord& r) { r.Timing.LineLengthRange.Lower = 0; },
                    "user 0: LineLengthRange (0,3394,3434) does not follow"},
        RecordFault{"measurement", 2, [](fmt::FormatRecord& r) { r.Timing.LineFreq = 6751; },
                    "user 0: LineFreq 6751 does not follow from the line-length count 3394 "
                    "(6750)"},
        RecordFault{"tag without terminator", 0, [](fmt::FormatRecord& r) { r.TagBytes.fill('x'); },
                    "built-in 0: the tag has no zero byte in its 20 bytes"},
        RecordFault{"two interlace flags", 3,
                    [](fmt::FormatRecord& r) { r.Registers.Interlace = 1; },
                    "user 1: RegInterlace 1 differs from the timing's Interlace 0"},
        RecordFault{"polarity", 2, [](fmt::FormatRecord& r) { r.Timing.HPolarity = 2; },
                    "user 0: HPolarity is 2, neither 0 nor 1"},
        RecordFault{"pixel clock", 2, [](fmt::FormatRecord& r) { r.Timing.PixelClockMHz = 0; },
                    "user 0: PixelClockMHz is 0"}),
    [](const ::testing::TestParamInfo<RecordFault>& info) {
        std::string name;
        for (const char c : std::string(info.param.what))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST_F(ToolTest, ZeroTotalsAndRatesAreFaults) {
    std::vector<fmt::FormatRecord> records = CleanRecords();
    records[2].Timing.HTotal = 0;
    records[3].Timing.FrameRate = 50;  // 0.50 Hz: the editor derives from the whole part, 0
    records[0].Timing.VTotal = 0;
    const std::string path = WriteTable("zero.bin", kCleanBuiltins, records);
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find(": user 0: HTotal is 0\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(": user 1: FrameRate 0.50 Hz has a whole part of 0"), std::string::npos);
    EXPECT_NE(run.out.find(": built-in 0: VTotal is 0\n"), std::string::npos);
    // Without a rate or a vertical total the editor derives no FR_LL, so none is compared.
    EXPECT_EQ(run.out.find("user 1: FR_LL"), std::string::npos);
    EXPECT_EQ(run.out.find("built-in 0: FR_LL"), std::string::npos);
}

TEST_F(ToolTest, FileFaultsThatMakeTheDriverRefuseTheTable) {
    std::vector<uint8_t> bytes = fmt::EncodeTableFile(kCleanBuiltins, CleanRecords());
    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    const std::vector<fmt::FormatRecord> many(257, StandardRecord("1920x1080p60"));
    struct Case {
        std::string file;
        std::string line;
    } cases[] = {
        {Write("cut.bin", cut), "file: 123 bytes after the last whole record"},
        {Write("long.bin", longer), "file: 1 bytes after the last whole record"},
        {Write("one.bin", {7}), "file: 1 bytes, shorter than the 2-byte header"},
        {Write("empty.bin", {}), "file: 0 bytes, shorter than the 2-byte header"},
        {WriteTable("many.bin", 0, many), "file: 257 records, more than the 256 a table holds"},
        {WriteTable("header.bin", 5, CleanRecords()),
         "file: the header counts 5 built-in formats but the file holds 4 records"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool({"check", c.file});
        EXPECT_EQ(run.code, 1) << c.file;
        EXPECT_NE(run.out.find(c.file + ": " + c.line), std::string::npos) << run.out;
    }
    // A table of exactly 256 records is full, not too long.
    const std::vector<fmt::FormatRecord> full(256, StandardRecord("1920x1080p60"));
    EXPECT_EQ(RunTool({"check", WriteTable("full.bin", 0, full)}).code, 0);
}

TEST_F(ToolTest, AFileThatCannotBeReadIsExitCodeTwo) {
    const std::string missing = m_folder / "missing.bin";
    const ToolRun run = RunTool({"check", missing});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(missing + ": cannot be read"), std::string::npos) << run.err;
    EXPECT_EQ(RunTool({"check", m_folder.Path()}).code, 2);  // a folder
    EXPECT_EQ(RunTool({"show", missing}).code, 2);
    EXPECT_EQ(RunTool({"diff", WriteClean(), missing}).code, 2);
}

}  // namespace
}  // namespace tabletest
