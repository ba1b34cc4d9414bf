// The machine of the command on Linux: the desktop program's virtual system, or the one named,
// and never one made up from a mistyped folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/TempFolder.h"
#include "sim/VirtualSystem.h"
#include "tools/device/posix/VirtualMachine.h"

namespace devicetest {
namespace {

class VirtualMachine : public ::testing::Test {
  protected:
    ~VirtualMachine() override {
        platform::SetSystemRoot("");
        platform::ResetNativeArchitecture();
        platform::SetAnsiCodePage(platform::CodePage::Utf8);
        if (m_data)
            setenv("XDG_DATA_HOME", m_data->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    void SetUp() override {
        if (const char* data = std::getenv("XDG_DATA_HOME"))
            m_data = data;
    }
    CTempFolder m_folder;
    std::optional<std::string> m_data;
};

TEST_F(VirtualMachine, TheDefaultIsTheDesktopProgramsFolder) {
    setenv("XDG_DATA_HOME", m_folder.Path().c_str(), 1);
    EXPECT_EQ(devicetool::DefaultSystemFolder(), m_folder / "vuvereze/system");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_NE(devicetool::DefaultSystemFolder().find("/.local/share/vuvereze/system"),
              std::string::npos);
}

TEST_F(VirtualMachine, AFolderWithoutADescriptionIsRefusedAndLeftAsItWas) {
    devicetool::CVirtualMachine machine;
    std::string error;
    EXPECT_EQ(machine.Open(m_folder / "typo", error), nullptr);
    EXPECT_NE(error.find("no virtual system in"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "typo"));
}

TEST_F(VirtualMachine, AFolderWithADescriptionIsActivated) {
    std::string error;
    ASSERT_TRUE(sim::CreateDefaultSystem(m_folder / "sys", error)) << error;
    devicetool::CVirtualMachine machine;
    ASSERT_NE(machine.Open(m_folder / "sys", error), nullptr) << error;
    EXPECT_EQ(machine.System()->DeviceCount(), 2u);
    EXPECT_EQ(platform::SystemRoot(), m_folder / "sys");
}

}  // namespace
}  // namespace devicetest
