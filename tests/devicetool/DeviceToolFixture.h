// The device command run as the command line runs it, on a simulated machine of the test's
// own: a virtual system in a temporary folder, with the virtual clock, so that Lock's wait is
// counted instead of slept. Each run activates the machine anew, as a new process would.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"
#include "sim/VirtualSystem.h"
#include "tools/device/DeviceTool.h"

namespace devicetest {

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
    nlohmann::json Json() const;  // out as a document
};

class CTestMachine final : public devicetool::IMachine {
  public:
    CTestMachine(const std::string& root, sim::SystemDescription description)
        : m_system(root, std::move(description)) {}
    device::IDeviceBackend* Open(const std::string& systemFolder, std::string& error) override;
    // 2024-05-01T12:34:56.789Z, whenever asked: the time stamps of a watch follow the
    // platform clock from there.
    int64_t WallClockMs() override { return 1714566896789; }
    std::string DeniedWriteHint() const override { return "Ask the machine's administrator"; }
    sim::CVirtualSystem& System() { return m_system; }
    int Opens() const { return m_opens; }

  private:
    sim::CVirtualSystem m_system;
    int m_opens = 0;
};

sim::DeviceDescription Device(const char* name, const char* hdmi = "none", const char* vga = "none",
                              std::vector<std::string> faults = {});

// A record of a catalogue timing ("1920x1080p60"), its registers derived as the editor does.
fmt::FormatRecord Record(const char* timing, uint32_t enabled = 1);

class DeviceToolTest : public ::testing::Test {
  protected:
    DeviceToolTest();
    ~DeviceToolTest() override;

    // The machine the runs see; its devices as given, its "format.bin" the one of WriteInstalled.
    void Machine(std::vector<sim::DeviceDescription> devices, const char* codePage = "utf-8");
    ToolRun RunTool(const std::vector<std::string>& args);

    // A table file in the temporary folder; its path.
    std::string WriteTable(const std::string& name, uint16_t builtinCount,
                           const std::vector<fmt::FormatRecord>& records) const;
    std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> Bytes(const std::string& path) const;
    // The machine's "format.bin" (host path).
    std::string Installed() const;
    void WriteInstalled(uint16_t builtinCount, const std::vector<fmt::FormatRecord>& records);
    std::vector<std::string> CardLog(size_t device);
    // Another program writes `bytes` to the host file `path` the `nth` time (from 1) the tool
    // traces `trace`: the table file operations trace a path just before they read or replace
    // it, so the write lands between the command's read and its replacement.
    void AnotherProgramWrites(const std::string& trace, int nth, const std::string& path,
                              std::vector<uint8_t> bytes);

    CTempFolder m_folder;
    platform::CVirtualClock m_clock;
    std::unique_ptr<CTestMachine> m_machine;
};

// The user drives the editor on the headless host: Add, Standard... with the lines of choose,
// OK, Test on the card that receives signal ("hdmi=1920x1080p60"), OK. The record the main
// window applied; the story's scratch folder, to be removed, in scratch.
fmt::FormatRecord EditorStores(const std::string& signal, const std::string& choose,
                               std::string& scratch);

}  // namespace devicetest
