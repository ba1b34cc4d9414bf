// Tables the program itself writes check clean: the whole program runs on the headless host
// (the scenario runner's machine, with the simulated card), the user adds formats through the
// timing editor's Test and OK, the main window applies them, and the tool checks "format.bin".
#include <gtest/gtest.h>

#include <filesystem>

#include "ToolFixture.h"
#include "format/FormatTable.h"
#include "sim/VirtualSystem.h"
#include "tools/scenarios/Runner.h"
#include "tools/scenarios/Script.h"
#include "tools/table/Text.h"

namespace tabletest {
namespace {

class AppliedTableTest : public ::testing::Test {
  protected:
    void TearDown() override {
        std::error_code ignored;
        if (!m_scratch.empty())
            std::filesystem::remove_all(m_scratch, ignored);
    }

    // Runs the story on the default table and gives the "format.bin" it left behind.
    std::string Play(const std::string& device, const std::string& story) {
        const std::vector<uint8_t> table = sim::DefaultFormatTableFile();
        const std::string text = "device \"Capture HD\" " + device + "\n" +
                                 "file \"C:\\Windows\\System32\\format.bin\" hex \"" +
                                 tabletool::HexBytes(table.data(), table.size()) + "\"\n" +
                                 "start\nclick 1001\n" + story;
        scenarios::Script script;
        std::string error;
        EXPECT_TRUE(scenarios::ParseScript(text, script, error)) << error;
        script.path = "applied.scn";
        const scenarios::Outcome outcome = scenarios::RunScenario(script, "headless", true);
        m_scratch = outcome.scratch;
        for (const std::string& failure : outcome.failures)
            ADD_FAILURE() << failure;
        return m_scratch + "/root/Windows/System32/format.bin";
    }

    std::string m_scratch;
};

// Add, type a timing, Test, OK: the editor derives, the main window applies at once.
std::string AddFormat(const std::string& fields, const std::string& interlace) {
    return "click 1005\n" + fields + "choose 1054 \"Positive\"\nchoose 1055 \"Positive\"\n" +
           "choose 1037 \"" + interlace + "\"\nclick 1036\nclick 1008\nexpect dialog 102\n";
}

TEST_F(AppliedTableTest, FormatsAddedThroughTheEditorCheckClean) {
    const std::string progressive = AddFormat(
        "type 1018 \"1920\"\ntype 1019 \"1080\"\ntype 1021 \"4\"\ntype 1023 \"5\"\n"
        "type 1016 \"2200\"\ntype 1017 \"1125\"\ntype 1026 \"60\"\n",
        "No");
    const std::string fractional = AddFormat(
        "type 1018 \"1920\"\ntype 1019 \"1080\"\ntype 1021 \"4\"\ntype 1023 \"5\"\n"
        "type 1016 \"2200\"\ntype 1017 \"1125\"\ntype 1026 \"59.94\"\n",
        "No");
    const std::string path = Play("hdmi=1920x1080p60", progressive + fractional +
                                                           "expect records "
                                                           "\"C:\\Windows\\System32\\format.bin\" "
                                                           "39\n");
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("clean, 39 records"), std::string::npos) << run.out;
}

TEST_F(AppliedTableTest, AnInterlacedFormatWithAnOddPorchChecksClean) {
    const std::string interlaced = AddFormat(
        "type 1018 \"1920\"\ntype 1019 \"1080\"\ntype 1021 \"5\"\ntype 1023 \"10\"\n"
        "type 1016 \"2200\"\ntype 1017 \"1125\"\ntype 1026 \"60\"\n",
        "Yes");
    const std::string path = Play("hdmi=1920x1080i60", interlaced);
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 0) << run.out;
}

TEST_F(AppliedTableTest, AnEditedFormatChecksClean) {
    // Edit user format 1 and press OK: the record is rebuilt from the fields, measured anew.
    const std::string path = Play("hdmi=1920x1080p60",
                                  "dblclick 1003 1\nexpect dialog 129\nclick 1008\n"
                                  "expect dialog 102\nexpect log \"SET RELOAD 1\"\n");
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 0) << run.out;
}

TEST_F(AppliedTableTest, OkWithoutTestStoresNoRegistersAndCheckSaysSo) {
    // The editor does not require a test: OK alone stores the zero registers it started with.
    const std::string path = Play("hdmi=1920x1080p60",
                                  "click 1005\ntype 1018 \"1280\"\ntype 1019 \"720\"\n"
                                  "type 1016 \"1650\"\ntype 1017 \"750\"\ntype 1021 \"5\"\n"
                                  "type 1023 \"5\"\ntype 1026 \"60\"\nclick 1008\n");
    const ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find(": user 3: PixelClockMHz is 0\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(": user 3: PLLDivRatio is 000, the editor derives 672"),
              std::string::npos);
}

}  // namespace
}  // namespace tabletest
