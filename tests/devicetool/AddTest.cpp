// `add`: a user format from a standard timing, the very record the timing editor stores for it
// after Standard..., Detect, Test and OK, with the card's part of it (the line-length count)
// measured on the card, given, or the one a card measures for the timing.
#include <filesystem>

#include "DeviceToolFixture.h"

namespace devicetest {
namespace {

class AddStandard : public DeviceToolTest {
  protected:
    void SetUp() override { m_path = WriteTable("table.bin", 1, {Record("640x480p60")}); }
    void TearDown() override {
        std::error_code ignored;
        if (!m_scratch.empty())
            std::filesystem::remove_all(m_scratch, ignored);
    }

    // The record the tool appended last.
    fmt::FormatRecord Added() {
        const std::vector<uint8_t> b = Bytes(m_path);
        EXPECT_GE(b.size(), 2u + 124u);
        return b.size() >= 126 ? fmt::DecodeRecord(&b[b.size() - 124]) : fmt::FormatRecord{};
    }

    fmt::FormatRecord EditorStores(const std::string& signal, const std::string& choose) {
        return devicetest::EditorStores(signal, choose, m_scratch);
    }

    std::string m_path;
    std::string m_scratch;
};

struct EditorCase {
    const char* Signal;
    const char* Choose;  // the standard dialog's lines
    std::vector<std::string> Words;
};

TEST_F(AddStandard, TheRecordIsTheOneTheEditorStoresAfterATestOnTheCard) {
    const std::vector<EditorCase> cases = {
        {"hdmi=1920x1080p60",
         "choose 1070 \"DMT\"\ntype 1071 \"1920\"\ntype 1072 \"1080\"\ntype 1073 \"60\"\n",
         {"DMT", "1920x1080p60"}},
        {"vga=1280x1024p60",
         "choose 1070 \"DMT\"\ntype 1071 \"1280\"\ntype 1072 \"1024\"\ntype 1073 \"60\"\n",
         {"DMT 0x23"}},
        {"hdmi=1920x1080i60",
         "choose 1070 \"CTA-861\"\ntype 1071 \"1920\"\ntype 1072 \"1080\"\ntype 1073 \"60\"\n"
         "click 1074\n",
         {"CTA-861", "1920x1080i60"}},
        {"hdmi=1280x720p59.94",
         "choose 1070 \"CTA-861\"\ntype 1071 \"1280\"\ntype 1072 \"720\"\ntype 1073 "
         "\"59.94\"\n",
         {"VIC 4 59.94"}},
    };
    for (const EditorCase& c : cases) {
        SCOPED_TRACE(c.Signal);
        const fmt::FormatRecord stored = EditorStores(c.Signal, c.Choose);
        Machine({Device("Capture HD",
                        std::string(c.Signal).rfind("hdmi=", 0) == 0 ? c.Signal + 5 : "none",
                        std::string(c.Signal).rfind("vga=", 0) == 0 ? c.Signal + 4 : "none")});
        m_path = WriteTable("table.bin", 1, {Record("640x480p60")});
        std::vector<std::string> args = {"add", m_path, "--device", "Capture HD"};
        args.insert(args.end(), c.Words.begin(), c.Words.end());
        const ToolRun run = RunTool(args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Added(), stored);
        TearDown();
    }
}

TEST_F(AddStandard, WithoutACardTheCountIsTheOneACardMeasuresForTheTiming) {
    const ToolRun run = RunTool({"add", m_path, "DMT", "1920x1080p60", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(m_machine->Opens(), 0) << "no device is asked";
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["measurement"]["lineLengthFrom"], "timing");
    EXPECT_EQ(doc["measurement"]["lineLengthCount"], 3394);
    EXPECT_EQ(doc["changes"][0]["standard"], "DMT 0x52");
    const fmt::FormatRecord r = Added();
    EXPECT_EQ(r.Timing.LineLengthRange, (fmt::RangeTriple{3354, 3394, 3434}));
    EXPECT_EQ(r.Timing.LineFreq, 6750);
    EXPECT_EQ(r.Timing.HTotal, 2200);
    EXPECT_EQ(r.Registers.FR_LL, 0x1A8);
    EXPECT_EQ(r.Registers.DE_H_START, 0);
}

TEST_F(AddStandard, AGivenCountIsTaken) {
    ASSERT_EQ(RunTool({"add", m_path, "GTF", "1024x768p60", "--line-length", "4737"}).code, 0);
    EXPECT_EQ(Added().Timing.LineLengthRange.Nominal, 4737);
    for (const char* bad : {"0", "16384", "12a", ""})
        EXPECT_EQ(RunTool({"add", m_path, "GTF", "1024x768p60", "--line-length", bad}).code,
                  devicetool::kUsage)
            << bad;
}

TEST_F(AddStandard, ACardThatCannotMeasureThisTimingIsRefused) {
    Machine({Device("Capture HD", "1280x720p60"), Device("Dark"),
             Device("Blind", "1920x1080p60", "none", {"chip-read"}),
             Device("Other", "1920x1080p60")});
    for (const char* device : {"Capture HD", "Dark", "Blind", "Nobody", "Other"}) {
        const ToolRun run = RunTool({"add", m_path, "CVT-RB", "1920x1080p60", "--device", device});
        EXPECT_EQ(run.code, devicetool::kProblem) << device;
    }
    EXPECT_NE(RunTool({"add", m_path, "CVT-RB", "1920x1080p60", "--device", "Capture HD"})
                  .err.find("detects 1280x720, not the 1920x1080 of the timing"),
              std::string::npos);
    // A DMT signal of the same size: the editor's Test would move the picture of this CVT-RB
    // timing on it (the card, programmed with 2080 clocks a line, shows it 1815 wide).
    EXPECT_NE(RunTool({"add", m_path, "CVT-RB", "1920x1080p60", "--device", "Other"})
                  .err.find("measures a line-length count of 3394, not the 3440 of this timing"),
              std::string::npos);
    EXPECT_EQ(Bytes(m_path), fmt::EncodeTableFile(1, {Record("640x480p60")}));
}

TEST_F(AddStandard, AStandardThatGivesNoTimingOrSeveralIsRefusedWithItsReason) {
    ToolRun run = RunTool({"add", m_path, "CVT-RB2", "1920x1080i60"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    run = RunTool({"add", m_path, "CTA-861", "1920x1080i50"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_NE(
        run.err.find("name one: \"VIC 20\" (1920x1080i50, total 2640x1125, 16:9), \"VIC 39\""),
        std::string::npos)
        << run.err;
    run = RunTool({"add", m_path, "VIC", "16"});
    EXPECT_NE(run.err.find("\"VIC 16 59.94\""), std::string::npos) << run.err;
    EXPECT_EQ(RunTool({"add", m_path, "VIC 16 59.94"}).code, 0);
    EXPECT_EQ(Added().Timing.FrameRate, 5994);
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"CVT"}, {"CVT", "1920x1080"}, {"SMPTE", "1920x1080p60"}, {"DMT", "0xZZ"}}) {
        std::vector<std::string> args = {"add", m_path};
        args.insert(args.end(), words.begin(), words.end());
        EXPECT_EQ(RunTool(args).code, devicetool::kUsage) << words[0];
    }
    EXPECT_EQ(RunTool({"add", m_path, "DMT", "1920x1080p61"}).code, devicetool::kProblem);
}

TEST_F(AddStandard, AFullTableTakesNoFormatAndNewOnlyTakesNoneTwice) {
    ASSERT_EQ(RunTool({"add", m_path, "DMT 0x52", "--new-only"}).code, 0);
    platform::SetWriteFault(m_path, 0);
    const ToolRun again = RunTool({"add", m_path, "DMT 0x52", "--new-only", "--json"});
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(again.Json()["changed"], false);
    platform::ClearWriteFault();

    m_path = WriteTable("full.bin", 0, std::vector<fmt::FormatRecord>(256, Record("640x480p60")));
    const ToolRun full = RunTool({"add", m_path, "DMT 0x52"});
    EXPECT_EQ(full.code, devicetool::kProblem);
    EXPECT_NE(full.err.find("The format table is full (256 formats)!"), std::string::npos);
}

}  // namespace
}  // namespace devicetest
