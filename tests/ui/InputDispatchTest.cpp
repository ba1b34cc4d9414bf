// What each user action does to a running dialog, with the pre-filter's view of it.
#include "UiTestSupport.h"

namespace uitest {
namespace {

using ::testing::ElementsAre;

class InputDispatchTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ui::InitDialog(m_dlg);
        m_dlg.log.clear();
    }
    void Do(const ui::Input& input) { ui::DispatchInput(m_dlg, input); }

    CTestDialog m_dlg{m_template};
};

TEST_F(InputDispatchTest, TheReleaseReachesThePreFilterBeforeTheButtonsCommand) {
    Do(Click(kGo));
    EXPECT_THAT(m_dlg.log, ElementsAre("pre:down:1107", "pre:up:1107", "cmd:1107"));
    // A mouse click leaves the keyboard focus where it was.
    EXPECT_EQ(m_dlg.GetFocus(), kName);
}

TEST_F(InputDispatchTest, AnEatenReleaseNeverBecomesAClick) {
    m_dlg.eatReleaseOn = kGo;
    Do(Click(kGo));
    EXPECT_THAT(m_dlg.log, ElementsAre("pre:down:1107", "pre:up:1107"));
    EXPECT_EQ(m_dlg.GetFocus(), kName);
}

TEST_F(InputDispatchTest, MouseOnWhatCannotTakeItReachesTheDialogOnly) {
    // Disabled, hidden, missing, and the controls the mouse passes through.
    for (int id : {kOff, kHidden, 4242, kGroup}) {
        Do(Click(id));
    }
    Do(Release(kOff));
    EXPECT_THAT(m_dlg.log,
                ElementsAre("pre:down:0", "pre:up:0", "pre:down:0", "pre:up:0", "pre:down:0",
                            "pre:up:0", "pre:down:0", "pre:up:0", "pre:up:0"));
    EXPECT_EQ(m_dlg.GetFocus(), kName);
}

TEST_F(InputDispatchTest, AReleaseAloneIsSeenByThePreFilterAndClicksNothing) {
    Do(Release(kGo));
    EXPECT_THAT(m_dlg.log, ElementsAre("pre:up:1107"));
}

TEST_F(InputDispatchTest, SpaceOnAButtonCommandsWithoutAnyMouseMessage) {
    Do(Key(ui::Input::KeySpace, kGo));
    EXPECT_THAT(m_dlg.log, ElementsAre("pre:keydown:1107:32", "pre:keyup:1107:32", "cmd:1107"));

    m_dlg.log.clear();
    Do(Key(ui::Input::KeySpace, kName));  // an edit: the key is typed, nothing is pressed
    EXPECT_THAT(m_dlg.log, ElementsAre("pre:keydown:1100:32", "pre:keyup:1100:32"));

    m_dlg.log.clear();
    Do(Key(ui::Input::KeySpace, kFlag));
    EXPECT_EQ(m_dlg.log.back(), "cmd:1105");
    EXPECT_EQ(ui::CButton(&m_dlg, kFlag).GetCheck(), 1);
}

TEST_F(InputDispatchTest, ClickingACheckBoxTogglesItAndCommands) {
    Do(Click(kFlag));
    EXPECT_EQ(ui::CButton(&m_dlg, kFlag).GetCheck(), 1);
    EXPECT_EQ(m_dlg.GetFocus(), kFlag);
    Do(Check(kFlag, true));  // already on: nothing happens at all
    Do(Check(kFlag, false));
    EXPECT_EQ(ui::CButton(&m_dlg, kFlag).GetCheck(), 0);
    EXPECT_THAT(m_dlg.log, ElementsAre("pre:down:1105", "pre:up:1105", "cmd:1105", "pre:down:1105",
                                       "pre:up:1105", "cmd:1105"));
}

TEST_F(InputDispatchTest, ClickingAFieldGivesItTheFocusAndNothingElse) {
    Do(Click(kDevice));
    EXPECT_EQ(m_dlg.GetFocus(), kDevice);
    Do(Click(kList));
    EXPECT_EQ(m_dlg.GetFocus(), kList);
    EXPECT_EQ(m_dlg.log.size(), 4u);  // the mouse messages only
}

TEST_F(InputDispatchTest, ThePressMovesTheFocusBeforeTheReleaseIsSeen) {
    // As on Windows: the field has the focus when the release reaches the pre-filter, and what
    // the pre-filter does with the focus then is what stays.
    m_dlg.focusOnRelease = kName;
    Do(Click(kDevice));
    EXPECT_EQ(m_dlg.focusAtRelease, kDevice);
    EXPECT_EQ(m_dlg.GetFocus(), kName);
    // A push button never takes it, not even for the release.
    m_dlg.focusOnRelease = 0;
    Do(Click(kGo));
    EXPECT_EQ(m_dlg.focusAtRelease, kName);
}

TEST_F(InputDispatchTest, TypingReplacesTheTextOfEditableFieldsOnly) {
    Do(Type(kName, "1920"));
    Do(Type(kReadOnly, "x"));
    Do(Type(kHidden, "x"));
    Do(Type(kMode, "Yes"));  // a drop-down list has no text to type into
    ui::CEdit(&m_dlg, kStep).EnableWindow(false);
    Do(Type(kStep, "x"));
    EXPECT_EQ(m_dlg.GetDlgItemText(kName), "1920");
    EXPECT_EQ(m_dlg.GetFocus(), kName);
    EXPECT_EQ(m_dlg.GetDlgItemText(kReadOnly), "fixed");
    EXPECT_EQ(m_dlg.GetDlgItemText(kHidden), "");
    EXPECT_EQ(m_dlg.Control(kMode).curSel, -1);
    EXPECT_EQ(m_dlg.GetDlgItemText(kStep), "1");
}

TEST_F(InputDispatchTest, TypingIntoAComboBoxLeavesNoEntrySelected) {
    ui::CComboBox box(&m_dlg, kDevice);
    box.AddString("Capture A");
    box.AddString("Capture B");
    box.SetCurSel(0);
    Do(Type(kDevice, "Capture B"));
    EXPECT_EQ(box.GetCurSel(), -1);
    EXPECT_EQ(box.GetWindowText(), "Capture B");
    Do(Type(kDevice, "capture b"));
    EXPECT_EQ(box.GetCurSel(), -1);
    EXPECT_EQ(box.GetWindowText(), "capture b");
}

TEST_F(InputDispatchTest, ChoosingPicksAnItemByItsExactTextOrNone) {
    Do(Choose(kMode, "Yes"));
    EXPECT_EQ(m_dlg.Control(kMode).curSel, 1);
    EXPECT_EQ(m_dlg.GetDlgItemText(kMode), "Yes");
    Do(Choose(kMode, "yes"));  // not offered: ignored
    EXPECT_EQ(m_dlg.Control(kMode).curSel, 1);
    Do(Choose(kMode, ""));
    EXPECT_EQ(m_dlg.Control(kMode).curSel, -1);
    EXPECT_EQ(m_dlg.GetDlgItemText(kMode), "");

    ui::CComboBox box(&m_dlg, kDevice);
    box.AddString("Capture A");
    Do(Choose(kDevice, "Capture A"));
    EXPECT_EQ(box.GetCurSel(), 0);
    EXPECT_EQ(box.GetWindowText(), "Capture A");
    box.EnableWindow(false);
    Do(Choose(kDevice, ""));
    EXPECT_EQ(box.GetCurSel(), 0);
}

// What the user changes is reported after the control took it; what cannot be done, and the
// program's own changes, are not.
TEST_F(InputDispatchTest, TheUsersChangesOfAFieldAreReported) {
    m_dlg.logChanges = true;
    Do(Type(kName, "1920"));
    Do(Type(kReadOnly, "x"));
    Do(Choose(kMode, "Yes"));
    Do(Choose(kMode, "yes"));  // not offered
    m_dlg.SetDlgItemText(kName, "1280");
    ui::CComboBox(&m_dlg, kMode).SetCurSel(0);
    Do(Check(kFlag, true));  // a check box commands instead
    EXPECT_THAT(m_dlg.log, ElementsAre("change:1100", "change:1104", "pre:down:1105", "pre:up:1105",
                                       "cmd:1105"));
}

class ListInputTest : public InputDispatchTest {
  protected:
    void SetUp() override {
        InputDispatchTest::SetUp();
        m_list.InsertColumn(0, "Id");
        m_list.InsertColumn(1, "Format");
        m_list.SetExtendedStyle(ui::LVS_EX_CHECKBOXES | ui::LVS_EX_FULLROWSELECT);
        for (int i = 0; i < 3; ++i) {
            m_list.InsertItem(i, std::to_string(i));
        }
    }
    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (int i = 0; i < m_list.GetItemCount(); ++i) {
            if (m_list.GetItemState(i, ui::LVIS_SELECTED) != 0) {
                rows.push_back(i);
            }
        }
        return rows;
    }
    ui::CListCtrl m_list{&m_dlg, kList};
};

TEST_F(ListInputTest, TickingARowSetsItsBoxWithoutNotifying) {
    Do(ListInput(ui::Input::Tick, kList, 1, true));
    Do(ListInput(ui::Input::Tick, kList, 7, true));  // no such row
    EXPECT_FALSE(m_list.GetCheck(0));
    EXPECT_TRUE(m_list.GetCheck(1));
    Do(ListInput(ui::Input::Tick, kList, 1, false));
    EXPECT_FALSE(m_list.GetCheck(1));
    EXPECT_TRUE(m_dlg.log.empty());
}

TEST_F(ListInputTest, SelectingMakesExactlyThoseRowsSelected) {
    Do(Select(kList, {0, 2}));
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2}));
    Do(Select(kList, {1}));
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    Do(Select(kList, {}));
    EXPECT_TRUE(Selected().empty());
}

TEST_F(ListInputTest, DoubleClickSelectsTheRowAndNotifiesEvenOnTheEmptyArea) {
    Do(Select(kList, {0, 1}));
    Do(ListInput(ui::Input::DblClick, kList, 2));
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    Do(ListInput(ui::Input::DblClick, kList, -1));
    Do(ListInput(ui::Input::DblClick, kList, 9));  // below the last row
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    EXPECT_THAT(m_dlg.log, ElementsAre("dblclick:1106:2", "dblclick:1106:-1", "dblclick:1106:-1"));
}

// A selection that changes is reported, before the double click that made it is notified;
// selecting the rows already selected changes nothing.
TEST_F(ListInputTest, AChangedSelectionIsReportedOnce) {
    m_dlg.logChanges = true;
    Do(Select(kList, {1}));
    Do(Select(kList, {1}));
    Do(ListInput(ui::Input::DblClick, kList, 1));
    Do(ListInput(ui::Input::DblClick, kList, 0));
    Do(ListInput(ui::Input::Tick, kList, 0, true));
    m_list.SetItemState(2, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    EXPECT_THAT(m_dlg.log,
                ElementsAre("change:1106", "dblclick:1106:1", "change:1106", "dblclick:1106:0"));
}

TEST_F(ListInputTest, HeaderClicksNotifyTheColumn) {
    Do(ListInput(ui::Input::Header, kList, 1));
    Do(ListInput(ui::Input::Header, kList, 5));  // no such column
    EXPECT_THAT(m_dlg.log, ElementsAre("column:1106:1"));
}

TEST_F(ListInputTest, ADisabledListTakesNoAction) {
    m_list.EnableWindow(false);
    Do(ListInput(ui::Input::Tick, kList, 0, true));
    Do(Select(kList, {0}));
    Do(ListInput(ui::Input::DblClick, kList, 0));
    Do(ListInput(ui::Input::Header, kList, 0));
    EXPECT_FALSE(m_list.GetCheck(0));
    EXPECT_TRUE(Selected().empty());
    EXPECT_TRUE(m_dlg.log.empty());
}

}  // namespace
}  // namespace uitest
