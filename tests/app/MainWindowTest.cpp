// What the scenarios cannot see of the main window and the application object: the minimised
// icon, the system menu after several Unlocks, and the start-up settings.
#include <gtest/gtest.h>

#include <deque>

#include "app/VuverezeApp.h"
#include "app/VuverezeDlg.h"
#include "device/DeviceBackend.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "ui/headless/HeadlessHost.h"

namespace app {
namespace {

// A machine without a device enumerator: the device box says "N/A".
class CNoDevices final : public device::IDeviceBackend {
  public:
    device::HRESULT CreateSystemDeviceEnum(device::ICreateDevEnum** out) override {
        *out = nullptr;
        return device::E_FAIL;
    }
};

class CScript final : public ui::IInputSource {
  public:
    std::deque<ui::Input> inputs;
    std::function<void(ui::CDialog&)> onEachInput;
    bool NextInput(ui::CDialog& topmost, ui::Input& input) override {
        if (onEachInput)
            onEachInput(topmost);
        if (inputs.empty())
            return false;
        input = inputs.front();
        inputs.pop_front();
        return true;
    }
    bool AnswerFileDialog(const ui::FileDialogRequest&, std::string&, bool& answered) override {
        answered = false;
        return false;
    }
};

ui::Input Make(ui::Input::Kind kind, int id = 0) {
    ui::Input input;
    input.kind = kind;
    input.id = id;
    return input;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The texts below are UTF-8; a Windows test machine's own code page may be another.
        platform::SetAnsiCodePage(platform::CodePage::Utf8);
        ui::SetHost(&m_host);
        ui::ResetQuit();
    }
    void TearDown() override {
        ui::SetHost(nullptr);
        ui::ResetQuit();
    }
    CNoDevices m_devices;
    CScript m_script;
    ui::CHeadlessHost m_host{&m_script};
};

TEST_F(MainWindowTest, MinimisedWindowDrawsItsIconCentred) {
    CVuverezeDlg dlg(m_devices);
    ui::CDialog::IconDraw drawn;
    m_script.inputs = {Make(ui::Input::Minimize)};
    m_script.onEachInput = [&](ui::CDialog& top) { drawn = top.LastIconDraw(); };
    dlg.DoModal();
    // 268 x 289 dialog units are 402 x 578 pixels on the headless host; the icon is 32 x 32.
    EXPECT_EQ(drawn.icon, res::IDR_MAINFRAME);
    EXPECT_EQ(drawn.x, (402 - 32 + 1) / 2);
    EXPECT_EQ(drawn.y, (578 - 32 + 1) / 2);
    EXPECT_EQ(dlg.OnQueryDragIcon(), res::IDR_MAINFRAME);
    EXPECT_EQ(dlg.GetIcon(true), res::IDR_MAINFRAME);
    EXPECT_EQ(dlg.GetIcon(false), res::IDR_MAINFRAME);
}

TEST_F(MainWindowTest, AboutItemIsAddedOnceWhateverTheUnlocks) {
    CVuverezeDlg dlg(m_devices);
    dlg.Create();
    dlg.OnInitDialog();
    dlg.OnInitDialog();
    ASSERT_EQ(dlg.SystemMenu().size(), 3u);
    EXPECT_EQ(dlg.SystemMenu()[0].id, 0u);
    EXPECT_EQ(dlg.SystemMenu()[1].id, res::IDM_ABOUTBOX);
    EXPECT_EQ(dlg.SystemMenu()[1].text, "關於 Vuvereze(&A)...");
    // The signal window's item below it, grey while nothing is locked.
    EXPECT_EQ(dlg.SystemMenu()[2].id, res::IDM_SIGNAL);
    EXPECT_EQ(dlg.SystemMenu()[2].text, "Input &Signal...");
    EXPECT_FALSE(dlg.SystemMenu()[2].enabled);
    EXPECT_TRUE(dlg.GetStyle() & ui::WS_SYSMENU);
}

TEST_F(MainWindowTest, NoDeviceMeansNothingToLock) {
    CVuverezeDlg dlg(m_devices);
    dlg.Create();
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.m_deviceBox.GetWindowText(), "N/A");
    EXPECT_FALSE(dlg.m_deviceBox.IsWindowEnabled());
    EXPECT_FALSE(dlg.m_lockButton.IsWindowEnabled());
    // Apply reached by another route while unlocked says so and touches nothing.
    EXPECT_TRUE(dlg.Apply());
    ASSERT_EQ(m_host.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_host.MessageBoxes()[0].text, "Please Lock the device!");
    EXPECT_EQ(m_host.MessageBoxes()[0].caption, "Vuvereze");
    EXPECT_EQ(m_host.MessageBoxes()[0].type, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

TEST_F(MainWindowTest, StartUpPreparesTheFrameworkAndEndsWithTheWindow) {
    CVuverezeApp app(m_devices, [] { return 0; });
    m_script.inputs = {Make(ui::Input::KeyEsc)};
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.m_commonControlsSize, 8u);
    EXPECT_EQ(app.m_commonControlsClasses, 0xFFu);
    EXPECT_EQ(app.m_restartManagerSupport, 1u);
    EXPECT_EQ(app.m_registryKey, "本機 AppWizard 所產生的應用程式");
    ASSERT_EQ(m_host.ModalRuns().size(), 1u);
    EXPECT_EQ(m_host.ModalRuns()[0].templateId, res::IDD_VUVEREZE_DIALOG);
}

TEST_F(MainWindowTest, ComFailureEndsWithExitCodeOneAndNoWindow) {
    CVuverezeApp app(m_devices, [] { return static_cast<int32_t>(0x80004005); });
    EXPECT_EQ(app.Run(), 1);
    EXPECT_TRUE(m_host.ModalRuns().empty());
}

TEST(SortArrows, AreTheCodePagesOwnTextOrTheBig5Bytes) {
    platform::SetAnsiCodePage(platform::CodePage::Big5);
    EXPECT_EQ(SortArrowUp(), "\xA1\xB6");
    EXPECT_EQ(SortArrowDown(), "\xA1\xBF");
    platform::SetAnsiCodePage(platform::CodePage::Utf8);
    EXPECT_EQ(SortArrowUp(), "\xE2\x96\xB2");
    EXPECT_EQ(SortArrowDown(), "\xE2\x96\xBC");
    platform::SetAnsiCodePage(platform::CodePage::Windows1252);
    EXPECT_EQ(SortArrowUp(), "\xA1\xB6");
    EXPECT_NE(SortArrowUp(), SortArrowDown());
    platform::SetAnsiCodePage(platform::CodePage::Utf8);
}

}  // namespace
}  // namespace app
