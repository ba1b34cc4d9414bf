// The command line: what it refuses as bad usage, what --json makes of every outcome, and that a
// report which could not be written is never taken for a success.
#include <sstream>
#include <streambuf>

#include "DeviceToolFixture.h"

namespace devicetest {
namespace {

using DeviceToolCommandLine = DeviceToolTest;

TEST_F(DeviceToolCommandLine, WordsItDoesNotUnderstandAreBadUsageWithTheUsageOnStandardError) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"status"},
                                               {"apply", "Capture HD"},
                                               {"devices", "extra"},
                                               {"status", "Capture HD", "--dry-run"},
                                               {"apply", "Capture HD", "t.bin", "--new-only"},
                                               {"enable", "t.bin", "user:0", "--always-reload"},
                                               {"add", "t.bin", "CVT", "1920x1080p60", "--device",
                                                "Capture HD", "--line-length", "3394"},
                                               {"devices", "--system"},
                                               {"devices", "--colour"}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.code, devicetool::kUsage) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage: vuvereze-device"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(m_machine->Opens(), 0) << "bad usage reaches no device";
}

TEST_F(DeviceToolCommandLine, JsonSaysEvenARefusalAsADocument) {
    const ToolRun run = RunTool({"--json", "status"});
    ASSERT_EQ(run.code, devicetool::kUsage);
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["command"], "status");
    EXPECT_EQ(doc["ok"], false);
    EXPECT_EQ(doc["errors"][0], "wrong number of operands for status");
}

TEST_F(DeviceToolCommandLine, HelpAndVersionGoToStandardOutput) {
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("usage: vuvereze-device", 0), 0u);
    const ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("vuvereze-device 1.", 0), 0u) << version.out;
}

TEST_F(DeviceToolCommandLine, OptionsMayStandAnywhereAndDoubleDashEndsThem) {
    Machine({Device("-dash", "1920x1080p60")});
    const ToolRun run = RunTool({"status", "--json", "--", "-dash"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["device"], "-dash");
}

// A standard output that takes nothing, as a full disk or a closed pipe.
class CFullBuffer final : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(DeviceToolCommandLine, AReportThatCannotBeWrittenIsAProblemNotASuccess) {
    Machine({Device("Capture HD", "1920x1080p60")});
    CFullBuffer full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(devicetool::RunDeviceTool({"devices"}, *m_machine, out, err), devicetool::kProblem);
    EXPECT_NE(err.str().find("could not be written to standard output"), std::string::npos);
    // A refusal keeps its own code.
    std::ostream again(&full);
    EXPECT_EQ(devicetool::RunDeviceTool({"status", "Nobody"}, *m_machine, again, err),
              devicetool::kProblem);
}

}  // namespace
}  // namespace devicetest
