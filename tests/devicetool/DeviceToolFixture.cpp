#include "DeviceToolFixture.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "format/FormatTable.h"
#include "sim/VideoTiming.h"
#include "tools/scenarios/Runner.h"
#include "tools/scenarios/Script.h"

namespace devicetest {

nlohmann::json ToolRun::Json() const {
    return nlohmann::json::parse(out);
}

device::IDeviceBackend* CTestMachine::Open(const std::string& systemFolder, std::string& error) {
    ++m_opens;
    if (!systemFolder.empty()) {
        error = "the test machine takes no --system";
        return nullptr;
    }
    return m_system.Activate(error) ? &m_system.Backend() : nullptr;
}

sim::DeviceDescription Device(const char* name, const char* hdmi, const char* vga,
                              std::vector<std::string> faults) {
    sim::DeviceDescription d;
    d.FriendlyName = name;
    EXPECT_TRUE(std::string(hdmi) == "none" || sim::StandardSignal(hdmi, d.Hdmi)) << hdmi;
    EXPECT_TRUE(std::string(vga) == "none" || sim::StandardSignal(vga, d.Vga)) << vga;
    d.Faults = std::move(faults);
    return d;
}

fmt::FormatRecord Record(const char* timing, uint32_t enabled) {
    const sim::StandardTiming* found = sim::FindStandardTiming(timing);
    EXPECT_NE(found, nullptr) << timing;
    return found ? sim::RecordFromTiming(found->Timing, "_autogr_support", enabled)
                 : fmt::FormatRecord{};
}

DeviceToolTest::DeviceToolTest() {
    platform::SetClock(&m_clock);
    platform::SetDebugSink([](std::string_view) {});
}

DeviceToolTest::~DeviceToolTest() {
    platform::ClearWriteFault();
    platform::SetClock(nullptr);
    platform::SetDebugSink({});
    platform::SetSystemRoot("");
    platform::ResetNativeArchitecture();
    platform::SetAnsiCodePage(platform::CodePage::Utf8);
}

void DeviceToolTest::Machine(std::vector<sim::DeviceDescription> devices, const char* codePage) {
    sim::SystemDescription description;
    description.CodePage = codePage;
    description.Devices = std::move(devices);
    m_machine = std::make_unique<CTestMachine>(m_folder / "machine", description);
}

ToolRun DeviceToolTest::RunTool(const std::vector<std::string>& args) {
    if (!m_machine)
        Machine({Device("Capture HD", "1920x1080p60")});
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.code = devicetool::RunDeviceTool(args, *m_machine, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string DeviceToolTest::WriteBytes(const std::string& name,
                                       const std::vector<uint8_t>& bytes) const {
    const std::string path = m_folder / name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string DeviceToolTest::WriteTable(const std::string& name, uint16_t builtinCount,
                                       const std::vector<fmt::FormatRecord>& records) const {
    return WriteBytes(name, fmt::EncodeTableFile(builtinCount, records));
}

std::vector<uint8_t> DeviceToolTest::Bytes(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string DeviceToolTest::Installed() const {
    return m_folder / "machine/Windows/System32/format.bin";
}

void DeviceToolTest::WriteInstalled(uint16_t builtinCount,
                                    const std::vector<fmt::FormatRecord>& records) {
    WriteTable("machine/Windows/System32/format.bin", builtinCount, records);
}

void DeviceToolTest::AnotherProgramWrites(const std::string& trace, int nth,
                                          const std::string& path, std::vector<uint8_t> bytes) {
    auto seen = std::make_shared<int>(0);
    platform::SetDebugSink([=](std::string_view text) {
        if (text == trace && ++*seen == nth) {
            std::ofstream(path, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    });
}

std::vector<std::string> DeviceToolTest::CardLog(size_t device) {
    return m_machine->System().Card(device).Log();
}

fmt::FormatRecord EditorStores(const std::string& signal, const std::string& choose,
                               std::string& scratch) {
    const std::string text = "device \"Capture HD\" " + signal + "\n" +
                             "table \"C:\\Windows\\System32\\format.bin\" builtin=1 "
                             "640x480@60\nstart\nclick 1001\nclick 1005\nclick 1064\n" +
                             choose +
                             "click 1075\nclick 1\nexpect dialog 129\nclick 1036\n"
                             "expect no-message\nclick 1008\nexpect dialog 102\n";
    scenarios::Script script;
    std::string error;
    EXPECT_TRUE(scenarios::ParseScript(text, script, error)) << error;
    script.path = "editor.scn";
    const scenarios::Outcome outcome = scenarios::RunScenario(script, "headless", true);
    scratch = outcome.scratch;
    for (const std::string& failure : outcome.failures)
        ADD_FAILURE() << failure;
    std::vector<uint8_t> b;
    platform::ReadWholeFile(scratch + "/root/Windows/System32/format.bin", b);
    EXPECT_EQ(b.size(), 2u + 2 * 124u);
    return b.size() == 2 + 2 * 124 ? fmt::DecodeRecord(&b[2 + 124]) : fmt::FormatRecord{};
}

}  // namespace devicetest
