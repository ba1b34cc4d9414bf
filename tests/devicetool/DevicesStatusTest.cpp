// `devices` lists what the main window's device box shows; `status` binds a card as Lock does
// and says what it sees, read by read.
#include "DeviceToolFixture.h"

namespace devicetest {
namespace {

using DeviceListing = DeviceToolTest;
using DeviceStatus = DeviceToolTest;

TEST_F(DeviceListing, ListsTheNamesSortedAsTheDeviceBoxWithTheirEnumerationOrder) {
    Machine({Device("zeriveve HD"), Device("Analog"),
             Device("Hidden", "none", "none", {"property-bag"}), Device("Zeriveve HD")});
    const ToolRun run = RunTool({"devices"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "Analog\nzeriveve HD\nZeriveve HD\n");
    const nlohmann::json doc = RunTool({"devices", "--json"}).Json();
    EXPECT_EQ(doc["devices"][0]["enumerationIndex"], 1);
    EXPECT_EQ(doc["devices"][2]["name"], "Zeriveve HD");
    EXPECT_EQ(doc["devices"][2]["enumerationIndex"], 2);
}

TEST_F(DeviceListing, AMachineWithoutDevicesIsAProblem) {
    Machine({});
    const ToolRun run = RunTool({"devices", "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_TRUE(run.Json()["devices"].empty());
}

TEST_F(DeviceStatus, BindsAfterLocksWaitAndReportsInputsSizeCountAndTheTimingsThatAgree) {
    Machine({Device("Capture HD", "1920x1080p60")});
    const ToolRun run = RunTool({"status", "Capture HD", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(m_clock.NowMs(), 1000u) << "Lock's wait, on the platform clock";
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["inputs"][0]["input"], "VGA");
    EXPECT_EQ(doc["inputs"][0]["locked"], false);
    EXPECT_EQ(doc["inputs"][1]["status"], 1);
    EXPECT_EQ(doc["detected"]["width"], 1920);
    EXPECT_EQ(doc["detected"]["height"], 1080);
    EXPECT_EQ(doc["detected"]["lineLengthCount"], 3394);
    EXPECT_EQ(doc["detected"]["lineFrequencyKHz"], 67.5);
    EXPECT_EQ(doc["matches"][0]["entry"], "DMT 0x52");
    EXPECT_EQ(doc["matches"][0]["hTotal"], 2200);
    EXPECT_EQ(doc["matches"][0]["vTotal"], 1125);
    EXPECT_EQ(doc["matches"][0]["frameRate"], 60.0);
    // The reads the editor's Detect makes, and the two status requests, nothing else.
    const std::vector<std::string> log = CardLog(0);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[2], "GET FPGA 0x4110 -> 0x00000780");
    EXPECT_EQ(log[4], "GET CHIP 0x44 0xB1 2 -> 0x0D 0x42");
}

TEST_F(DeviceStatus, TheTextSaysTheSameForAPerson) {
    Machine({Device("Capture HD", "none", "1024x768p60")});
    const ToolRun run = RunTool({"status", "Capture HD"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("VGA   locked (status 1)\nHDMI  no signal (status 0)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("detected 1024x768, line-length count 4737, 48.36 kHz"),
              std::string::npos);
    EXPECT_NE(run.out.find("DMT 0x10"), std::string::npos);
}

TEST_F(DeviceStatus, NoSignalIsAProblemFound) {
    Machine({Device("Capture HD")});
    const ToolRun run = RunTool({"status", "Capture HD", "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_EQ(run.Json()["signal"], false);
    EXPECT_NE(run.err.find("no signal at either input"), std::string::npos);
}

TEST_F(DeviceStatus, AFailedReadIsSaidAsSuchWhileTheOtherReadsAreStillReported) {
    Machine({Device("Capture HD", "1920x1080p60", "none", {"fpga-width", "status"})});
    const ToolRun run = RunTool({"status", "Capture HD", "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    const nlohmann::json doc = run.Json();
    EXPECT_TRUE(doc["detected"]["width"].is_null());
    EXPECT_EQ(doc["detected"]["height"], 1080);
    EXPECT_TRUE(doc["inputs"][1]["status"].is_null());
    EXPECT_NE(run.err.find("REG read failed (the detected width, FPGA 0x4110)"), std::string::npos);
    EXPECT_TRUE(doc["matches"].empty());
}

TEST_F(DeviceStatus, ADeviceThatDoesNotBindGivesLocksMessage) {
    Machine({Device("Capture HD", "1920x1080p60"),
             Device("Bare", "1920x1080p60", "none", {"no-property-set"})});
    for (const char* name : {"capture hd", "Capture HD ", "Bare", "Nobody"}) {
        const ToolRun run = RunTool({"status", name});
        EXPECT_EQ(run.code, devicetool::kProblem) << name;
        EXPECT_NE(run.err.find("Device initized error! Please check the device is available or "
                               "not!"),
                  std::string::npos);
    }
}

TEST_F(DeviceStatus, ANameTheCodePageCannotHoldBindsNoBetterThanInTheDeviceBox) {
    // As the device box's text travels through the ANSI code page at Lock.
    Machine({Device("Capture \xE6\x97\xA5", "1920x1080p60")}, "windows-1252");
    EXPECT_EQ(RunTool({"devices"}).out, "Capture ?\n");
    EXPECT_EQ(RunTool({"status", "Capture \xE6\x97\xA5"}).code, devicetool::kProblem);
    EXPECT_EQ(RunTool({"status", "Capture ?"}).code, devicetool::kProblem);
}

}  // namespace
}  // namespace devicetest
