// The machinery every real host runs its dialogs with: the input queue's merging, the click
// rule, the modal loop's order of work and the skeleton of a blocking wait.
#include <algorithm>
#include <functional>

#include "UiTestSupport.h"
#include "ui/HostLoop.h"

namespace uitest {
namespace {

using ::testing::ElementsAre;

std::vector<ui::Input> Drain(ui::CInputQueue& queue) {
    std::vector<ui::Input> taken;
    ui::Input input;
    while (queue.Take(input)) {
        taken.push_back(input);
    }
    return taken;
}

TEST(InputQueue, ARunOfSelectionsOrOfTypingOnOneControlIsItsLastReport) {
    ui::CInputQueue queue;
    queue.Queue(Select(kList, {1}));
    queue.Queue(Select(kList, {1, 2}));
    queue.Queue(Type(kName, "a"));
    queue.Queue(Type(kName, "ab"));
    queue.Queue(Type(kStep, "7"));  // another field: a change of its own
    queue.Queue(Type(kName, "abc"));
    queue.Queue(Click(kGo));
    queue.Queue(Click(kGo));  // two clicks stay two
    queue.Queue(Select(kList, {3}));

    const std::vector<ui::Input> taken = Drain(queue);
    ASSERT_EQ(taken.size(), 7u);
    EXPECT_EQ(taken[0].rows, (std::vector<int>{1, 2}));
    EXPECT_EQ(taken[1].text, "ab");
    EXPECT_EQ(taken[2].id, kStep);
    EXPECT_EQ(taken[3].text, "abc");
    EXPECT_EQ(taken[4].kind, ui::Input::Click);
    EXPECT_EQ(taken[5].kind, ui::Input::Click);
    EXPECT_EQ(taken[6].rows, (std::vector<int>{3}));
    EXPECT_TRUE(queue.Empty());
}

TEST(InputQueue, WhatWasTakenIsNoLongerMergedWith) {
    ui::CInputQueue queue;
    queue.Queue(Type(kName, "a"));
    ui::Input input;
    ASSERT_TRUE(queue.Take(input));
    queue.Queue(Type(kName, "ab"));
    ASSERT_TRUE(queue.Take(input));
    EXPECT_EQ(input.text, "ab");
    EXPECT_FALSE(queue.Take(input));
}

struct ClickCase {
    const char* what;
    int pressed;  // -2: no press
    int under;
    bool overPressed;
    ui::Input::Kind kind;
    int id;
};

TEST(ClickRule, APressedControlKeepsTheMouseAndTheDialogDoesNot) {
    const ClickCase cases[] = {
        {"released over the pressed button", kGo, kGo, true, ui::Input::Click, kGo},
        {"dragged off the button", kGo, kName, false, ui::Input::Release, kGo},
        {"dragged off onto the dialog", kGo, 0, false, ui::Input::Release, kGo},
        {"pressed and released on the dialog", 0, 0, false, ui::Input::Click, 0},
        {"from the dialog onto a button", 0, kGo, false, ui::Input::Release, kGo},
        {"a release without its press", -2, kGo, false, ui::Input::Release, kGo},
        {"a release without its press, on the dialog", -2, 0, false, ui::Input::Release, 0},
    };
    for (const ClickCase& c : cases) {
        ui::CClickRule rule;
        if (c.pressed != -2) {
            rule.Press(c.pressed);
            EXPECT_TRUE(rule.Pressed()) << c.what;
        }
        const ui::Input input = rule.Release(c.under, c.overPressed);
        EXPECT_EQ(input.kind, c.kind) << c.what;
        EXPECT_EQ(input.id, c.id) << c.what;
        EXPECT_FALSE(rule.Pressed()) << c.what;
        // The press is used up: the next release has none.
        EXPECT_EQ(rule.Release(c.under, true).kind, ui::Input::Release) << c.what;
    }
}

// A window whose toolkit delivers one scripted batch of inputs per pump.
class CScriptedWindow : public ui::IModalWindow {
  public:
    ui::CInputQueue& Inputs() override { return m_inputs; }
    void PushAll() override { log.push_back("push"); }
    bool PumpEvents() override {
        if (events.empty()) {
            return false;
        }
        log.push_back("pump");
        for (ui::Input& input : events.front()) {
            m_inputs.Queue(std::move(input));
        }
        events.pop_front();
        return true;
    }
    void Idle() override { log.push_back("idle"); }
    void WaitForEvents(int64_t timeoutMs) override {
        log.push_back(timeoutMs < 0 ? "wait" : "wait:" + std::to_string(timeoutMs));
        if (onWait) {
            onWait();
        }
    }

    std::deque<std::vector<ui::Input>> events;
    std::vector<std::string> log;
    std::function<void()> onWait;

  private:
    ui::CInputQueue m_inputs;
};

class HostLoopTest : public UiTest {};

TEST_F(HostLoopTest, PostedCommandsComeFirstAndTheWidgetsAreSetBackOnceTheQueueIsServed) {
    CTestDialog dlg(m_template);
    dlg.postAtInit = {kGo};
    ui::InitDialog(dlg);
    CScriptedWindow window;
    window.events.push_back({Click(kGo), Type(kName, "x")});
    int idleCalls = 0;
    const intptr_t result = ui::RunModalLoop(dlg, window, [&](ui::CDialog&) {
        ++idleCalls;
        return idleCalls < 2;
    });

    EXPECT_EQ(result, ui::IDCANCEL);  // the user was done before the dialog ended
    EXPECT_TRUE(ui::Quitting());
    EXPECT_EQ(idleCalls, 2);
    EXPECT_THAT(dlg.log, ElementsAre("init", "cmd:" + std::to_string(kGo), "pre:down:1107",
                                     "pre:up:1107", "cmd:" + std::to_string(kGo)));
    EXPECT_EQ(dlg.GetDlgItemText(kName), "x");
    // One push, once both queued inputs were served; then the driver, until it is done.
    EXPECT_THAT(window.log, ElementsAre("pump", "push", "idle", "idle"));
}

TEST_F(HostLoopTest, AnEndedDialogStopsTheLoopWithItsResultAndNothingIsPushedAfter) {
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);
    CScriptedWindow window;
    window.events.push_back({Key(ui::Input::KeyEsc), Click(kGo)});
    EXPECT_EQ(ui::RunModalLoop(dlg, window, nullptr), ui::IDCANCEL);
    EXPECT_TRUE(dlg.HasEnded());
    EXPECT_FALSE(ui::Quitting());
    // Esc ended it: the click queued behind it is never served, and nothing is pushed.
    EXPECT_THAT(window.log, ElementsAre("pump"));
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "cmd:" + std::to_string(kGo)), 0);
}

TEST_F(HostLoopTest, WithoutADriverTheLoopSleepsInTheToolkitUntilAnEventComes) {
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);
    CScriptedWindow window;
    int waits = 0;
    window.onWait = [&] {
        if (++waits == 2) {
            window.events.push_back({Key(ui::Input::KeyEsc)});
        }
    };
    ui::RunModalLoop(dlg, window, nullptr);
    EXPECT_THAT(window.log, ElementsAre("idle", "wait", "idle", "wait", "pump"));
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(HostLoopTest, TheToolkitSleepsUntilTheNextTimerOnTheRealClockOnly) {
    for (const bool real : {true, false}) {
        platform::CVirtualClock clock;
        platform::SetClock(real ? nullptr : &clock);
        CTestDialog dlg(m_template);
        ui::InitDialog(dlg);
        dlg.SetTimer(1, 100000);
        CScriptedWindow window;
        window.onWait = [&] { window.events.push_back({Key(ui::Input::KeyEsc)}); };
        ui::RunModalLoop(dlg, window, nullptr);
        platform::SetClock(nullptr);
        ASSERT_GE(window.log.size(), 2u);
        // A test's clock moves only when its driver moves it: the toolkit waits for an event.
        const std::string& wait = window.log[1];
        if (real) {
            ASSERT_EQ(wait.rfind("wait:", 0), 0u) << wait;
            const long ms = std::stol(wait.substr(5));
            EXPECT_TRUE(ms > 90000 && ms <= 100000) << wait;
        } else {
            EXPECT_EQ(wait, "wait");
        }
    }
}

class CRecordingWait final : public ui::CHostWait {
  public:
    std::vector<std::string> log;
    std::function<void()> onPaint;

  private:
    void BeginWait() override { log.push_back("begin"); }
    void ShowWaitCursor() override { log.push_back("cursor"); }
    void PaintPending() override {
        log.push_back(Waiting() ? "paint:waiting" : "paint");
        if (onPaint) {
            auto nested = std::move(onPaint);
            nested();
        }
    }
    void WaitSlice(uint64_t ms) override { log.push_back("slice:" + std::to_string(ms)); }
    void EndWait() override { log.push_back("end"); }
};

TEST(HostWait, ATestsClockWaitsAloneAndANestedWaitKeepsTheCursorOfTheOuterOne) {
    platform::CVirtualClock clock;
    CRecordingWait wait;
    wait.onPaint = [&] { wait.Wait(clock, 50); };
    wait.Wait(clock, 100);

    EXPECT_EQ(clock.NowMs(), 150u);
    EXPECT_FALSE(wait.Waiting());
    // One cursor and one end for the outer wait; no slice on a clock that is not the real one.
    EXPECT_THAT(wait.log,
                ElementsAre("begin", "cursor", "paint:waiting", "begin", "paint:waiting", "end"));
}

}  // namespace
}  // namespace uitest
