// The editor on the simulated card behind a locked main window: what it measures and what it
// stores agree with the driver's own idea of a format.
#include <gtest/gtest.h>

#include <memory>

#include "app/VuverezeDlg.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"
#include "resources/Resource.h"
#include "sim/VirtualSystem.h"
#include "timing/InputFormatDlg.h"
#include "ui/headless/HeadlessHost.h"

namespace {

using namespace res;

class SimulatedCardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::SetHost(&m_host);
        ui::ResetQuit();
        platform::SetClock(&m_clock);
        platform::SetDebugSink([](std::string_view) {});
        std::string error;
        ASSERT_TRUE(sim::CreateDefaultSystem(m_root.Path(), error)) << error;
        m_system = sim::CVirtualSystem::Open(m_root.Path(), error);
        ASSERT_NE(m_system, nullptr) << error;
        ASSERT_TRUE(m_system->Activate(error)) << error;

        m_main = std::make_unique<app::CVuverezeDlg>(m_system->Backend());
        m_main->Create();
        m_main->OnInitDialog();
        for (int i = 0; i < m_main->m_deviceBox.GetCount(); ++i) {
            if (m_main->m_deviceBox.GetLBText(i) == "Zeriveve HD Capture") {
                m_main->m_deviceBox.SetCurSel(i);
            }
        }
        m_main->Lock();
        ASSERT_NE(m_main->m_pDeviceHandle, nullptr);
    }
    void TearDown() override {
        m_editor.reset();
        m_main.reset();
        platform::SetDebugSink({});
        platform::SetClock(nullptr);
        ui::SetHost(nullptr);
    }
    void Type(int id, const std::string& text) { m_editor->SetDlgItemText(id, text); }
    std::string Field(int id) const { return m_editor->GetDlgItemText(id); }

    CTempFolder m_root;
    ui::CHeadlessHost m_host;
    platform::CVirtualClock m_clock;
    std::unique_ptr<sim::CVirtualSystem> m_system;
    std::unique_ptr<app::CVuverezeDlg> m_main;
    std::unique_ptr<timing::CInputFormatDlg> m_editor;
};

TEST_F(SimulatedCardTest, ATestedAndStoredFormatIsTheDriversOwnRecord) {
    m_editor = std::make_unique<timing::CInputFormatDlg>(m_main.get(), -1);
    ui::InitDialog(*m_editor);
    ui::ServePosted(*m_editor);
    EXPECT_EQ(Field(IDC_DETECTED_WIDTH), "1920");
    EXPECT_EQ(Field(IDC_DETECTED_HEIGHT), "1080");
    EXPECT_EQ(Field(IDC_LINE_FREQ), "67.50");

    const sim::VideoTiming& t = sim::FindStandardTiming("1920x1080p60")->Timing;
    Type(IDC_H_ACTIVE, std::to_string(t.HActive));
    Type(IDC_V_ACTIVE, std::to_string(t.VActive));
    Type(IDC_H_TOTAL, std::to_string(t.HTotal));
    Type(IDC_V_TOTAL, std::to_string(t.VTotal));
    Type(IDC_V_FRONT_PORCH, std::to_string(t.VFrontPorch));
    Type(IDC_V_SYNC, std::to_string(t.VSync));
    Type(IDC_FRAME_RATE, "60");
    ui::CComboBox(m_editor.get(), IDC_INTERLACE).SetCurSel(0);
    ui::CComboBox(m_editor.get(), IDC_H_POLARITY).SetCurSel(t.HSyncPositive ? 1 : 0);
    ui::CComboBox(m_editor.get(), IDC_V_POLARITY).SetCurSel(t.VSyncPositive ? 1 : 0);
    const uint16_t users = m_main->m_formatTable.UserCount;

    m_editor->RunTimingTest();
    sim::CSimCard& card = m_system->Card(0);
    EXPECT_EQ(card.LoadedTableFile(), "testformat.bin");
    EXPECT_TRUE(m_host.MessageBoxes().empty());
    EXPECT_EQ(Field(IDC_DETECTED_WIDTH), "1920");
    EXPECT_EQ(m_main->m_formatTable.UserCount, users);

    m_editor->OnOkButton();
    ASSERT_EQ(m_main->m_formatTable.UserCount, users + 1);
    const fmt::FormatRecord stored =
        m_main->m_formatTable.Record(m_main->m_formatTable.RecordCount - 1);
    const fmt::FormatRecord expected = sim::RecordFromTiming(t, "_autogr_support", 1);
    EXPECT_EQ(stored.Registers, expected.Registers);
    EXPECT_EQ(stored.Timing, expected.Timing);
}

}  // namespace
