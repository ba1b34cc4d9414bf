// Modeless windows beside a modal one, and timers on the platform clock: which window the user's
// actions reach, in what order, when a timer fires, and what a modal window over them stops.
#include <algorithm>
#include <functional>

#include "UiTestSupport.h"
#include "ui/HostLoop.h"

namespace uitest {
namespace {

using ::testing::ElementsAre;

// The user as a list of steps, each asked for when the program has nothing left to do: an
// action on the window the user works in, or time passing.
class CSteps : public ui::IInputSource {
  public:
    using Step = std::function<ui::Input(ui::CDialog& active)>;
    CSteps& Then(Step step) {
        m_steps.push_back(std::move(step));
        return *this;
    }
    CSteps& Then(ui::Input input) {
        return Then([input](ui::CDialog&) { return input; });
    }
    bool NextInput(ui::CDialog& active, ui::Input& input) override {
        seen.push_back(active.Template().id);
        if (m_steps.empty()) {
            return false;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        input = step(active);
        return true;
    }
    bool AnswerFileDialog(const ui::FileDialogRequest&, std::string&, bool& answered) override {
        answered = false;
        return false;
    }

    std::vector<int> seen;  // the window the user worked in at every step

  private:
    std::deque<Step> m_steps;
};

ui::DialogTemplate TemplateNumbered(int id) {
    ui::DialogTemplate t = MakeTemplate();
    t.id = id;
    return t;
}

ui::Input Activate(int templateId) {
    return Sys(ui::Input::Activate, templateId);
}

int Count(const std::vector<std::string>& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

class ModelessTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        m_host.SetInputSource(&m_steps);
        platform::SetClock(&m_clock);
        m_main.onCommand = [this](int id) {
            if (id == kGo && !m_tool.IsCreated()) {
                EXPECT_TRUE(m_tool.CreateModeless());
                return true;
            }
            return false;
        };
    }
    void TearDown() override {
        platform::SetClock(nullptr);
        UiTest::TearDown();
    }
    // Time passes for the user: the clock moves, nothing is done.
    CSteps::Step Wait(uint64_t ms) {
        return [this, ms](ui::CDialog&) {
            m_clock.Advance(ms);
            return Sys(ui::Input::Idle);
        };
    }

    platform::CVirtualClock m_clock;
    CSteps m_steps;
    ui::DialogTemplate m_toolTemplate = TemplateNumbered(701);
    CTestDialog m_main{m_template};
    CTestDialog m_tool{m_toolTemplate, &m_main};
};

TEST_F(ModelessTest, AWindowOpenedByAHandlerTakesInputBesideTheModalOneThatGoesOnRunning) {
    m_steps.Then(Click(kGo))
        .Then(Type(kName, "tool"))
        .Then(Activate(kTemplateId))
        .Then(Type(kName, "main"))
        .Then([this](ui::CDialog&) {
            EXPECT_EQ(m_tool.GetDlgItemText(kName), "tool");
            EXPECT_EQ(m_main.GetDlgItemText(kName), "main");
            return Activate(701);
        })
        .Then(Key(ui::Input::KeyEsc));
    m_main.DoModal();

    // Opening it made it the window the user works in; Esc closed it and not the main window,
    // which got the user back.
    EXPECT_THAT(m_steps.seen,
                ElementsAre(kTemplateId, 701, 701, kTemplateId, kTemplateId, 701, kTemplateId));
    EXPECT_THAT(m_tool.log, ElementsAre("init", "pre:keydown:1100:27", "pre:keyup:1100:27", "cmd:2",
                                        "destroy"));
    EXPECT_FALSE(m_tool.IsCreated());
    EXPECT_EQ(Count(m_main.log, "cmd:2"), 0);
}

TEST_F(ModelessTest, ActionsOnSeveralWindowsAreServedInTheOrderTheUserMadeThem) {
    std::vector<std::string> order;
    m_steps.Then(Click(kGo)).Then([this](ui::CDialog&) {
        ui::QueueInput(m_tool, Type(kName, "1"));
        ui::QueueInput(m_main, Type(kName, "2"));
        ui::QueueInput(m_tool, Type(kStep, "3"));
        return Sys(ui::Input::Idle);
    });
    m_main.logChanges = m_tool.logChanges = true;
    m_main.DoModal();
    EXPECT_THAT(m_tool.log, ElementsAre("init", "change:1100", "change:1101", "destroy"));
    EXPECT_EQ(Count(m_main.log, "change:1100"), 1);
}

TEST_F(ModelessTest, ATimerFiresOnTheClockOnceNothingElseWaitsAndALateOneFiresOnce) {
    m_steps.Then(Click(kGo))
        .Then([this](ui::CDialog&) {
            m_tool.SetTimer(7, 1000);
            uint64_t due = 0;
            EXPECT_TRUE(ui::NextTimerDue(due));
            EXPECT_EQ(due, 1000u);
            return Sys(ui::Input::Idle);
        })
        .Then(Wait(999))
        .Then([this](ui::CDialog& active) {
            EXPECT_EQ(Count(m_tool.log, "timer:7"), 0);
            return Wait(1)(active);
        })
        .Then([this](ui::CDialog& active) {
            EXPECT_EQ(Count(m_tool.log, "timer:7"), 1);
            return Wait(2500)(active);
        })
        .Then([this](ui::CDialog&) {
            EXPECT_EQ(Count(m_tool.log, "timer:7"), 2) << "not once for each second missed";
            m_tool.KillTimer(7);
            return Sys(ui::Input::Idle);
        })
        .Then(Wait(5000));
    m_main.DoModal();
    EXPECT_EQ(Count(m_tool.log, "timer:7"), 2);
}

TEST_F(ModelessTest, AModalWindowOverTheModelessOneStopsItsTicksAndItsInputUntilItCloses) {
    ui::DialogTemplate overTemplate = TemplateNumbered(702);
    CTestDialog over(overTemplate, &m_tool);
    m_tool.onCommand = [&](int id) {
        if (id == kGo) {
            over.DoModal();
        }
        return id == kGo;
    };
    m_steps.Then(Click(kGo))
        .Then([this](ui::CDialog&) {
            m_tool.SetTimer(7, 1000);
            return Click(kGo);  // on the tool: the modal window comes up
        })
        .Then(Wait(5000))
        .Then([this](ui::CDialog& active) {
            EXPECT_EQ(active.Template().id, 702);
            EXPECT_EQ(Count(m_tool.log, "timer:7"), 0);
            uint64_t due = 0;
            EXPECT_FALSE(ui::NextTimerDue(due)) << "nothing of the tool's is served now";
            return Key(ui::Input::KeyEsc);
        })
        .Then([this](ui::CDialog& active) {
            // Back on the tool, whose late timer fired at once.
            EXPECT_EQ(active.Template().id, 701);
            EXPECT_EQ(Count(m_tool.log, "timer:7"), 1);
            return Sys(ui::Input::Idle);
        });
    m_tool.logEnable = true;
    m_main.DoModal();
    EXPECT_EQ(Count(m_tool.log, "timer:7"), 1);
    // It heard of the window over it as it came and as it went, before its late tick.
    const auto at = [this](const char* entry) {
        return std::find(m_tool.log.begin(), m_tool.log.end(), entry) - m_tool.log.begin();
    };
    EXPECT_LT(at("enable:0"), at("enable:1"));
    EXPECT_LT(at("enable:1"), at("timer:7"));
}

TEST_F(ModelessTest, TheEndOfTheRunItWasOpenedOverClosesItAndClosingTwiceDoesNothing) {
    m_steps.Then(Click(kGo)).Then(Activate(kTemplateId)).Then(Key(ui::Input::KeyEsc));
    m_main.DoModal();
    EXPECT_TRUE(m_main.HasEnded());
    EXPECT_THAT(m_tool.log, ElementsAre("init", "destroy"));
    m_tool.DestroyWindow();
    EXPECT_EQ(Count(m_tool.log, "destroy"), 1);
    EXPECT_EQ(ui::ActiveWindow(), nullptr);
    // Outside every run there is no loop to serve a window.
    EXPECT_FALSE(m_tool.CreateModeless());
}

TEST_F(ModelessTest, AGreySystemMenuItemCannotBeChosen) {
    ui::InitDialog(m_main);
    m_main.AppendSystemMenu(0x20, "Signal");
    m_main.EnableSystemMenuItem(0x20, false);
    ui::DispatchInput(m_main, Sys(ui::Input::SysMenu, 0x20));
    EXPECT_FALSE(m_main.IsSystemMenuItemEnabled(0x20));
    m_main.EnableSystemMenuItem(0x20, true);
    ui::DispatchInput(m_main, Sys(ui::Input::SysMenu, 0x20));
    EXPECT_EQ(Count(m_main.log, "sys:32"), 1);
}

}  // namespace
}  // namespace uitest
