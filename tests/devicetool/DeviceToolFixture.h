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

    CTempFolder m_folder;
    platform::CVirtualClock m_clock;
    std::unique_ptr<CTestMachine> m_machine;
};

}  // namespace devicetest
