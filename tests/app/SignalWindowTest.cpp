// The signal window as a template every host builds, and what the stories cannot see of it: its
// fields while another window of the program is over it.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "app/SignalDlg.h"
#include "app/VuverezeDlg.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"
#include "resources/Resource.h"
#include "sim/VirtualSystem.h"
#include "ui/headless/HeadlessHost.h"

namespace app {
namespace {

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

TEST(SignalTemplate, EveryFieldAndTheListFollowTheLabelThatNamesThemAndNothingOverlaps) {
    const ui::DialogTemplate& t = res::SignalTemplate();
    EXPECT_EQ(res::FindTemplate(res::IDD_SIGNAL), &t);
    for (size_t i = 0; i < t.controls.size(); ++i) {
        const ui::ControlTemplate& c = t.controls[i];
        EXPECT_LE(c.rect.x + c.rect.cx, t.cx) << c.id;
        EXPECT_LE(c.rect.y + c.rect.cy, t.cy) << c.id;
        if (c.kind == ui::ControlKind::Edit || c.kind == ui::ControlKind::ListView) {
            // A screen reader names a field by the label before it, as Windows does.
            ASSERT_GT(i, 0u) << c.id;
            EXPECT_EQ(t.controls[i - 1].kind, ui::ControlKind::Static) << c.id;
            EXPECT_EQ(t.controls[i - 1].id, ui::IDC_STATIC) << c.id;
            EXPECT_NE(c.style & ui::ES_READONLY, c.kind == ui::ControlKind::Edit ? 0u : 1u)
                << "the window only shows what the card sees";
        }
        for (size_t j = i + 1; j < t.controls.size(); ++j)
            EXPECT_FALSE(Overlap(c.rect, t.controls[j].rect)) << c.id << " " << t.controls[j].id;
    }
    for (int id : {res::IDC_SIG_DEVICE, res::IDC_SIG_VGA, res::IDC_SIG_HDMI, res::IDC_SIG_SIZE,
                   res::IDC_SIG_COUNT, res::IDC_SIG_LINE, res::IDC_SIG_MATCHES, res::IDC_SIG_STATE,
                   res::IDC_SIG_ADD, ui::IDCANCEL})
        EXPECT_NE(t.Find(id), nullptr) << id;
    // A system command of the program: below the system's own, the low four bits clear.
    EXPECT_EQ(res::IDM_SIGNAL & 0xF, 0u);
    EXPECT_LT(res::IDM_SIGNAL, 0xF000u);
    EXPECT_NE(res::IDM_SIGNAL, res::IDM_ABOUTBOX);
}

class CSteps final : public ui::IInputSource {
  public:
    std::deque<std::function<ui::Input(ui::CDialog&)>> steps;
    bool NextInput(ui::CDialog& active, ui::Input& input) override {
        if (steps.empty())
            return false;
        input = steps.front()(active);
        steps.pop_front();
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

class SignalWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetClock(&m_clock);
        platform::SetDebugSink([](std::string_view) {});
        std::string error;
        m_system = sim::CVirtualSystem::Open(m_folder.Path(), error);
        ASSERT_NE(m_system, nullptr) << error;
        ASSERT_TRUE(m_system->Activate(error)) << error;
        ui::SetHost(&m_host);
        ui::ResetQuit();
    }
    void TearDown() override {
        ui::SetHost(nullptr);
        ui::ResetQuit();
        platform::SetClock(nullptr);
        platform::SetDebugSink({});
        platform::SetSystemRoot("");
        platform::ResetNativeArchitecture();
        platform::SetAnsiCodePage(platform::CodePage::Utf8);
    }
    size_t Requests() { return m_system->Card(0).Log().size() + m_system->Card(1).Log().size(); }

    CTempFolder m_folder;
    platform::CVirtualClock m_clock;
    std::unique_ptr<sim::CVirtualSystem> m_system;
    CSteps m_steps;
    ui::CHeadlessHost m_host{&m_steps};
};

TEST_F(SignalWindowTest, UnderAnotherWindowItReadsNothingAndSaysSoThenReadsAtOnce) {
    CVuverezeDlg dlg(m_system->Backend());
    size_t before = 0;
    std::string paused;
    const auto wait = [this](ui::CDialog&) {
        m_clock.Advance(3000);
        return Make(ui::Input::Idle);
    };
    m_steps.steps = {
        [](ui::CDialog&) { return Make(ui::Input::Click, res::IDC_LOCK); },
        [](ui::CDialog&) { return Make(ui::Input::SysMenu, res::IDM_SIGNAL); },
        [](ui::CDialog&) { return Make(ui::Input::Activate, res::IDD_VUVEREZE_DIALOG); },
        [&](ui::CDialog&) {
            before = Requests();
            return Make(ui::Input::SysMenu, res::IDM_ABOUTBOX);
        },
        wait,
        [&](ui::CDialog& active) {
            EXPECT_EQ(active.Template().id, res::IDD_ABOUTBOX);
            EXPECT_EQ(Requests(), before) << "nothing read under the About box";
            paused = dlg.SignalWindow()->GetDlgItemText(res::IDC_SIG_STATE);
            EXPECT_FALSE(dlg.SignalWindow()->GetDlgItem(res::IDC_SIG_ADD).IsWindowEnabled());
            return Make(ui::Input::KeyEsc);
        },
        [&](ui::CDialog&) {
            // Read as soon as the box was gone, before the user did anything else.
            EXPECT_EQ(Requests(), before + 5);
            // The device box's first device: the analog card, on a 1280x1024 source.
            EXPECT_EQ(dlg.SignalWindow()->GetDlgItemText(res::IDC_SIG_SIZE), "1280x1024");
            EXPECT_EQ(dlg.SignalWindow()->GetDlgItemText(res::IDC_SIG_STATE), kMsgSignalOne);
            return Make(ui::Input::Idle);
        },
    };
    dlg.DoModal();
    EXPECT_EQ(paused, kMsgSignalPaused);
}

}  // namespace
}  // namespace app
