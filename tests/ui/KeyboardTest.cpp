// What Tab and the arrow keys do to a running dialog, as the dialog manager and the controls do
// it: the focus along the tab stops, within a group of buttons, and the items and rows the
// arrows step through.
#include "UiTestSupport.h"

namespace uitest {
namespace {

using ::testing::ElementsAre;

constexpr int kFirst = 1200;   // edit
constexpr int kSecond = 1201;  // edit, no tab stop
constexpr int kBox = 1202;     // drop-down list "A", "B", "C"
constexpr int kTyped = 1203;   // editable combo box "x", "y"
constexpr int kRows = 1204;    // report list
constexpr int kYes = 1205;     // push buttons of one group: Yes, No, Later
constexpr int kNo = 1206;
constexpr int kLater = 1207;
constexpr int kGrey = 1208;  // disabled
constexpr int kGone = 1209;  // hidden
constexpr int kLast = 1210;  // check box, a group of its own

ui::ControlTemplate Ctl(int id, ui::ControlKind kind, uint32_t style,
                        std::vector<std::string> items = {}) {
    ui::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.style = style;
    c.items = std::move(items);
    return c;
}

ui::DialogTemplate KeyTemplate() {
    using ui::ControlKind;
    constexpr uint32_t tab = ui::WS_TABSTOP;
    ui::DialogTemplate t;
    t.id = 701;
    t.style = ui::WS_POPUP | ui::WS_CAPTION;
    ui::ControlTemplate grey = Ctl(kGrey, ControlKind::PushButton, tab);
    grey.disabled = true;
    ui::ControlTemplate gone = Ctl(kGone, ControlKind::Edit, tab);
    gone.hidden = true;
    t.controls = {
        Ctl(ui::IDC_STATIC, ControlKind::Static, 0),
        Ctl(kFirst, ControlKind::Edit, tab),
        Ctl(kSecond, ControlKind::Edit, 0),
        Ctl(kBox, ControlKind::DropDownList, tab, {"A", "B", "C"}),
        Ctl(kTyped, ControlKind::ComboBox, tab, {"x", "y"}),
        Ctl(kRows, ControlKind::ListView, tab),
        Ctl(kYes, ControlKind::PushButton, tab | ui::WS_GROUP),
        Ctl(kNo, ControlKind::PushButton, tab),
        grey,
        gone,
        Ctl(kLater, ControlKind::PushButton, tab),
        Ctl(ui::IDC_STATIC, ControlKind::GroupBox, 0),
        Ctl(kLast, ControlKind::CheckBox, tab | ui::WS_GROUP),
    };
    return t;
}

class KeyboardTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ui::InitDialog(m_dlg);
        for (int i = 0; i < 12; ++i) {
            m_rows.InsertItem(i, std::to_string(i));
        }
        m_dlg.log.clear();
        m_dlg.logChanges = true;
    }
    void Do(const ui::Input& input) { ui::DispatchInput(m_dlg, input); }
    void Tab(bool backwards = false) {
        ui::Input input = Key(ui::Input::KeyTab);
        input.on = backwards;
        Do(input);
    }
    std::vector<int> Walk(int steps, bool backwards = false) {
        std::vector<int> focus;
        for (int i = 0; i < steps; ++i) {
            Tab(backwards);
            focus.push_back(m_dlg.GetFocus());
        }
        return focus;
    }
    int FocusedRow() const {
        for (int i = 0; i < m_rows.GetItemCount(); ++i) {
            if (m_rows.GetItemState(i, ui::LVIS_FOCUSED) != 0) {
                return i;
            }
        }
        return -1;
    }

    ui::DialogTemplate m_keys = KeyTemplate();
    CTestDialog m_dlg{m_keys};
    ui::CListCtrl m_rows{&m_dlg, kRows};
};

TEST_F(KeyboardTest, TabGoesAlongTheTabStopsThatShowAndAreEnabledRoundTheWindow) {
    EXPECT_EQ(m_dlg.GetFocus(), kFirst);
    EXPECT_THAT(Walk(8), ElementsAre(kBox, kTyped, kRows, kYes, kNo, kLater, kLast, kFirst));
    EXPECT_THAT(Walk(3, true), ElementsAre(kLast, kLater, kNo));
    EXPECT_TRUE(m_dlg.FocusByKey());
    // The pre-filter sees the key on the control that had the focus.
    EXPECT_THAT(m_dlg.log, testing::Contains("pre:keydown:1210:9"));
}

TEST_F(KeyboardTest, TabFromNowhereGoesToTheFirstTabStopAndBackTabToTheLast) {
    m_dlg.SetFocus(0);  // the focused control went grey: the window itself has the keys
    EXPECT_FALSE(m_dlg.FocusByKey());
    Tab();
    EXPECT_EQ(m_dlg.GetFocus(), kFirst);
    m_dlg.SetFocus(0);
    Tab(true);
    EXPECT_EQ(m_dlg.GetFocus(), kLast);
}

TEST_F(KeyboardTest, TabNamingAControlStartsFromIt) {
    ui::Input input = Key(ui::Input::KeyTab, kNo);
    Do(input);
    EXPECT_EQ(m_dlg.GetFocus(), kLater);
}

TEST_F(KeyboardTest, ArrowsOnAButtonMoveWithinItsGroupRoundIt) {
    m_dlg.SetFocus(kYes);
    Do(Key(ui::Input::KeyDown));
    EXPECT_EQ(m_dlg.GetFocus(), kNo);
    Do(Key(ui::Input::KeyRight));  // past the grey and the hidden one
    EXPECT_EQ(m_dlg.GetFocus(), kLater);
    Do(Key(ui::Input::KeyDown));  // the group ends at the check box, which starts its own
    EXPECT_EQ(m_dlg.GetFocus(), kYes);
    Do(Key(ui::Input::KeyUp));
    EXPECT_EQ(m_dlg.GetFocus(), kLater);
    Do(Key(ui::Input::KeyLeft));
    EXPECT_EQ(m_dlg.GetFocus(), kNo);
    Do(Key(ui::Input::KeyHome));
    EXPECT_EQ(m_dlg.GetFocus(), kNo);
    m_dlg.SetFocus(kLast);
    Do(Key(ui::Input::KeyDown));  // alone in its group
    EXPECT_EQ(m_dlg.GetFocus(), kLast);
}

TEST_F(KeyboardTest, AClosedDropDownListStepsThroughItsItemsWithEveryArrow) {
    ui::CComboBox box(&m_dlg, kBox);
    m_dlg.SetFocus(kBox);
    Do(Key(ui::Input::KeyUp));  // no item yet: Up picks none
    EXPECT_EQ(box.GetCurSel(), -1);
    Do(Key(ui::Input::KeyDown));
    EXPECT_EQ(box.GetWindowText(), "A");
    Do(Key(ui::Input::KeyRight));
    EXPECT_EQ(box.GetWindowText(), "B");
    Do(Key(ui::Input::KeyEnd));
    EXPECT_EQ(box.GetWindowText(), "C");
    Do(Key(ui::Input::KeyDown));  // the last item stays, and nothing is reported
    Do(Key(ui::Input::KeyLeft));
    EXPECT_EQ(box.GetWindowText(), "B");
    Do(Key(ui::Input::KeyHome));
    EXPECT_EQ(box.GetWindowText(), "A");
    int changes = 0;
    for (const std::string& entry : m_dlg.log) {
        changes += entry == "change:1202" ? 1 : 0;
    }
    EXPECT_EQ(changes, 5);
}

TEST_F(KeyboardTest, ABoxOneTypesIntoStepsWithUpAndDownOnly) {
    ui::CComboBox box(&m_dlg, kTyped);
    m_dlg.SetFocus(kTyped);
    Do(Key(ui::Input::KeyDown));
    EXPECT_EQ(box.GetWindowText(), "x");
    Do(Key(ui::Input::KeyRight));  // the caret moves in the text
    Do(Key(ui::Input::KeyEnd));
    EXPECT_EQ(box.GetWindowText(), "x");
    Do(Key(ui::Input::KeyDown));
    EXPECT_EQ(box.GetWindowText(), "y");
}

TEST_F(KeyboardTest, AListMovesItsFocusedRowAndSelectsItAloneInView) {
    m_dlg.SetFocus(kRows);
    Do(Key(ui::Input::KeyDown));  // no row has the focus: the first Down goes to the first
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(m_rows.GetItemState(0, ui::LVIS_SELECTED), ui::LVIS_SELECTED);
    Do(Key(ui::Input::KeyDown));
    Do(Key(ui::Input::KeyDown));
    EXPECT_EQ(FocusedRow(), 2);
    EXPECT_EQ(m_rows.GetItemState(0, ui::LVIS_SELECTED), 0u);
    Do(Key(ui::Input::KeyEnd));
    EXPECT_EQ(FocusedRow(), 11);
    // The headless page is its rectangle's rows: the last row is in view at the bottom.
    const int page = m_host.ListPageRows(m_dlg, kRows);
    EXPECT_EQ(m_rows.GetTopIndex(), 11 - page + 1);
    Do(Key(ui::Input::KeyHome));
    EXPECT_EQ(FocusedRow(), 0);
    EXPECT_EQ(m_rows.GetTopIndex(), 0);
    Do(Key(ui::Input::KeyUp));  // the first row stays
    EXPECT_EQ(FocusedRow(), 0);
}

TEST_F(KeyboardTest, TypingWithNoControlNamedTypesIntoTheFocusedField) {
    Do(Type(0, "1920"));
    EXPECT_EQ(m_dlg.GetDlgItemText(kFirst), "1920");
    m_dlg.SetFocus(kYes);
    Do(Type(0, "1080"));  // a button takes no text
    EXPECT_EQ(m_dlg.GetDlgItemText(kYes), "");
}

}  // namespace
}  // namespace uitest
