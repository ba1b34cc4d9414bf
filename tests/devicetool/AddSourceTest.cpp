// `add TABLE MODELINE` and `add TABLE EDID FILE [ROW]`: the record the editor stores for the
// "Standard..." dialog's Modeline and EDID file choices, and the refusals of a text that is no
// modeline or a file that is no EDID, with nothing written.
#include <filesystem>

#include "DeviceToolFixture.h"
#include "standards/EdidBuilder.h"

namespace devicetest {
namespace {

standards::Timing Cta(int vic, bool videoRate = false) {
    for (const standards::TableEntry& e : standards::CtaTable())
        if (e.Code == vic && e.VideoRate == videoRate)
            return e.Value;
    return {};
}

class AddSource : public DeviceToolTest {
  protected:
    void SetUp() override {
        m_path = WriteTable("table.bin", 1, {Record("640x480p60")});
        standards::EdidBuilder b;
        b.Detailed = {standards::DmtTable()[0x51].Value, Cta(5)};  // 1080p60, 1080i60
        b.Established = 0x200000;
        b.Extensions.push_back({{16}, {Cta(3, true)}});
        m_edid = WriteBytes("monitor.edid", b.Build());
    }
    void TearDown() override {
        std::error_code ignored;
        if (!m_scratch.empty())
            std::filesystem::remove_all(m_scratch, ignored);
    }
    fmt::FormatRecord Added() {
        const std::vector<uint8_t> b = Bytes(m_path);
        return b.size() >= 126 ? fmt::DecodeRecord(&b[b.size() - 124]) : fmt::FormatRecord{};
    }
    ToolRun Add(std::vector<std::string> words) {
        words.insert(words.begin(), {"add", m_path});
        return RunTool(words);
    }

    std::string m_path;
    std::string m_edid;
    std::string m_scratch;
};

constexpr char kModeline[] =
    "Modeline \"1080p\" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync";

TEST_F(AddSource, TheRecordIsTheOneTheEditorStoresForTheModelineOrTheEdidRow) {
    const struct {
        const char* Signal;
        std::string Choose;
        std::vector<std::string> Words;
    } cases[] = {
        {"hdmi=1920x1080p60",
         std::string("choose 1070 \"Modeline\"\ntype 1079 \"") +
             "Modeline \\\"1080p\\\" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync "
             "+vsync\"\n",
         {"MODELINE", kModeline}},
        {"hdmi=1920x1080i60",
         "choose 1070 \"EDID file\"\nanswer \"" + m_edid + "\"\nclick 1081\nselect 1076 1\n",
         {"EDID", m_edid, "DTD 2"}},
        {"hdmi=1920x1080p60",
         "choose 1070 \"EDID file\"\nanswer \"" + m_edid + "\"\nclick 1081\n",
         {"EDID", m_edid}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Words[0] + " " + c.Words.back());
        const fmt::FormatRecord stored = EditorStores(c.Signal, c.Choose, m_scratch);
        Machine({Device("Capture HD", c.Signal + 5)});
        m_path = WriteTable("table.bin", 1, {Record("640x480p60")});
        std::vector<std::string> words = c.Words;
        words.insert(words.end(), {"--device", "Capture HD"});
        const ToolRun run = Add(words);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Added(), stored);
        TearDown();
    }
}

TEST_F(AddSource, AModelineMayComeInWordsWithItsPolaritiesAndSaysWhatItAssumed) {
    ToolRun run = Add({"MODELINE", "148.50", "1920", "2008", "2052", "2200", "1080", "1084", "1089",
                       "1125", "-HSync", "-vsync", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["changes"][0]["standard"], "Modeline");
    EXPECT_EQ(Added().Timing.HPolarity, 0);
    run = Add({"MODELINE", "148.50 1920 2008 2052 2200 1080 1084 1089 1125"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("The modeline gives no sync polarity: both are taken as negative."),
              std::string::npos)
        << run.out;
}

TEST_F(AddSource, AnEdidRowIsNamedByItsNumberOrLabel) {
    ASSERT_EQ(Add({"EDID", m_edid, "4"}).code, 0);  // VIC 16 at 59.94
    EXPECT_EQ(Added().Timing.FrameRate, 5994);
    const ToolRun run = Add({"EDID", m_edid, "cta", "dtd", "1", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["changes"][0]["standard"], "EDID CTA DTD 1");
    EXPECT_EQ(Added().Timing.VActive, 480);
}

TEST_F(AddSource, NoModelineNoEdidAndNoSuchRowAreRefusedAndNothingIsWritten) {
    const std::vector<uint8_t> before = Bytes(m_path);
    std::vector<uint8_t> broken = Bytes(m_edid);
    broken[20] ^= 1;
    const std::string bad = WriteBytes("broken.edid", broken);
    const struct {
        std::vector<std::string> Words;
        int Code;
        const char* Says;
    } cases[] = {
        {{"MODELINE", "173 1920 2048 2248 2576 1080 1083 1088 1120 DoubleScan"},
         devicetool::kUsage,
         "MODELINE: DoubleScan sends every line twice, which a format cannot hold."},
        {{"MODELINE"}, devicetool::kUsage, "MODELINE: Type or paste a modeline"},
        {{"EDID"}, devicetool::kUsage, "EDID needs a file"},
        {{"EDID", bad}, devicetool::kUsage, ": The base block has a bad checksum."},
        {{"EDID", m_path + ".none"}, devicetool::kUsage, ": The file cannot be read"},
        {{"EDID", m_edid, "DTD 9"},
         devicetool::kProblem,
         "the EDID has no row \"DTD 9\"; its rows: 1 \"DTD 1\" (1920x1080p60), 2 \"DTD 2\" "
         "(1920x1080i60), 3 \"VIC 16\" (1920x1080p60)"},
        {{"EDID", m_edid, "0"}, devicetool::kProblem, "the EDID has no row \"0\""},
    };
    for (const auto& c : cases) {
        const ToolRun run = Add(c.Words);
        EXPECT_EQ(run.code, c.Code) << c.Words[0];
        EXPECT_NE(run.err.find(c.Says), std::string::npos) << run.err;
    }
    EXPECT_EQ(Bytes(m_path), before);
}

}  // namespace
}  // namespace devicetest
