// The control handles: combo boxes and the report list, on a created dialog.
#include "UiTestSupport.h"

namespace uitest {
namespace {

class ControlsTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ui::InitDialog(m_dlg);
    }
    CTestDialog m_dlg{m_template};
};

TEST_F(ControlsTest, ASortedComboBoxInsertsInOrderIgnoringCase) {
    ui::CComboBox box(&m_dlg, kDevice);
    EXPECT_EQ(box.AddString("Zeta"), 0);
    EXPECT_EQ(box.AddString("Alpha"), 0);
    EXPECT_EQ(box.AddString("beta"), 1);
    EXPECT_EQ(box.AddString("alpha"), 1);  // after its equal
    EXPECT_EQ(box.GetCount(), 4);
    EXPECT_EQ(box.GetLBText(0), "Alpha");
    EXPECT_EQ(box.GetLBText(1), "alpha");
    EXPECT_EQ(box.GetLBText(3), "Zeta");
    EXPECT_EQ(box.GetLBText(4), "");
}

TEST_F(ControlsTest, SelectingInAComboBoxShowsTheItemAndAMissingIndexClearsIt) {
    ui::CComboBox box(&m_dlg, kDevice);
    box.AddString("Zeta");
    EXPECT_EQ(box.SetCurSel(0), 0);
    box.AddString("Alpha");  // inserted before the selection, which stays on "Zeta"
    EXPECT_EQ(box.GetCurSel(), 1);
    EXPECT_EQ(box.GetWindowText(), "Zeta");
    EXPECT_EQ(box.SetCurSel(2), -1);
    EXPECT_EQ(box.GetCurSel(), -1);
    EXPECT_EQ(box.GetWindowText(), "");
    box.SetCurSel(0);
    box.ResetContent();
    EXPECT_EQ(box.GetCount(), 0);
    EXPECT_EQ(box.GetCurSel(), -1);
    EXPECT_EQ(box.GetWindowText(), "");
}

TEST_F(ControlsTest, ADropDownListAppendsAndItsTextIsTheSelectedItem) {
    ui::CComboBox list(&m_dlg, kMode);
    EXPECT_EQ(list.AddString("Maybe"), 2);  // not sorted
    list.SetWindowText("Yes");
    EXPECT_EQ(list.GetCurSel(), 1);
    list.SetWindowText("Never");  // not an item: nothing changes
    EXPECT_EQ(list.GetWindowText(), "Yes");
}

TEST_F(ControlsTest, AHandleToAControlThatDoesNotExistReachesNothing) {
    ui::CListCtrl ghost(&m_dlg, 4242);
    EXPECT_EQ(ghost.InsertColumn(0, "Id"), 0);
    EXPECT_EQ(ghost.InsertItem(0, "x"), 0);
    EXPECT_EQ(ghost.GetItemCount(), 0);
    EXPECT_EQ(ghost.GetHeaderItemCount(), 0);
    ghost.SetWindowText("text");
    EXPECT_EQ(ghost.GetWindowText(), "");
    ui::CListCtrl detached(nullptr, kList);
    EXPECT_EQ(detached.InsertItem(0, "x"), 0);
    EXPECT_FALSE(detached.SetColumnWidth(0, ui::LVSCW_AUTOSIZE));
    EXPECT_FALSE(detached.Scroll(0, 16));
    EXPECT_EQ(m_dlg.GetDlgItemText(4242), "");
}

TEST_F(ControlsTest, MutationsOfACreatedDialogAreShownAtOnce) {
    const int before = m_host.ChangeCount();
    ui::CEdit(&m_dlg, kName).SetWindowText("a");
    ui::CListCtrl(&m_dlg, kList).InsertItem(0, "row");
    ui::CButton(&m_dlg, kGo).EnableWindow(false);
    EXPECT_EQ(m_host.ChangeCount(), before + 3);
    CTestDialog notShown(m_template);
    ui::CEdit(&notShown, kName).SetWindowText("a");
    EXPECT_EQ(m_host.ChangeCount(), before + 3);
}

class ListCtrlTest : public ControlsTest {
  protected:
    void AddRow(const std::string& id, const std::string& format, intptr_t data = 0) {
        const int row = m_list.InsertItem(m_list.GetItemCount(), id);
        m_list.SetItemText(row, 1, format);
        m_list.SetItemData(row, data);
    }
    ui::CListCtrl m_list{&m_dlg, kList};
};

TEST_F(ListCtrlTest, RowsAndCells) {
    m_list.InsertColumn(0, "Id");
    m_list.InsertColumn(5, "Format");  // past the end: appended
    EXPECT_EQ(m_list.GetHeaderItemCount(), 2);
    EXPECT_EQ(m_list.GetColumnTitle(1), "Format");
    EXPECT_EQ(m_list.GetColumnWidth(1), 0);
    AddRow("0", "640x480");
    EXPECT_EQ(m_list.InsertItem(99, "1"), 1);
    EXPECT_EQ(m_list.InsertItem(0, "first"), 0);
    EXPECT_EQ(m_list.GetItemText(1, 1), "640x480");
    EXPECT_EQ(m_list.GetItemText(2, 1), "");  // never set
    EXPECT_FALSE(m_list.SetItemText(0, 2, "no column"));
    m_list.SetItemText(2, 0, "renamed");
    EXPECT_EQ(m_list.GetItemText(2, 0), "renamed");
    EXPECT_TRUE(m_list.DeleteColumn(0));
    EXPECT_EQ(m_list.GetItemText(1, 0), "640x480");  // the cells went with their column
    EXPECT_TRUE(m_list.DeleteItem(0));
    EXPECT_FALSE(m_list.DeleteItem(5));
    EXPECT_EQ(m_list.GetItemCount(), 2);
    EXPECT_EQ(m_list.SetExtendedStyle(0x25), 0u);
    EXPECT_EQ(m_list.SetExtendedStyle(0), 0x25u);
}

TEST_F(ListCtrlTest, FittingAColumnToItsCellsOrToItsHeader) {
    m_list.InsertColumn(0, "Id");
    m_list.InsertColumn(1, "Frame Rate");
    constexpr int kChar = ui::CHeadlessHost::kCharWidth;
    // An empty column keeps only the margin.
    ASSERT_TRUE(m_list.SetColumnWidth(1, ui::LVSCW_AUTOSIZE));
    EXPECT_EQ(m_list.GetColumnWidth(1), 12);
    AddRow("10", "59.94");
    AddRow("7", "1920x1080:60");
    m_list.SetColumnWidth(1, ui::LVSCW_AUTOSIZE);  // the cell is wider than the header
    EXPECT_EQ(m_list.GetColumnWidth(1), 12 * kChar + 12);
    m_list.SetColumnWidth(1, ui::LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_EQ(m_list.GetColumnWidth(1), 10 * kChar + 12);
    m_list.SetItemText(1, 1, "60");  // now the header is wider
    m_list.SetColumnWidth(1, ui::LVSCW_AUTOSIZE);
    EXPECT_EQ(m_list.GetColumnWidth(1), 5 * kChar + 12);
    // The check box in front of column 0 counts as part of its cells.
    m_list.SetColumnWidth(0, ui::LVSCW_AUTOSIZE);
    EXPECT_EQ(m_list.GetColumnWidth(0), 2 * kChar + 12);
    m_list.SetExtendedStyle(ui::LVS_EX_CHECKBOXES);
    m_list.SetColumnWidth(0, ui::LVSCW_AUTOSIZE);
    EXPECT_EQ(m_list.GetColumnWidth(0), 2 * kChar + 16 + 12);
    // Widths count characters, not the bytes of the code page.
    m_list.SetColumnTitle(0, "Id ▲");
    m_list.SetColumnWidth(0, ui::LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_EQ(m_list.GetColumnWidth(0), 4 * kChar + 12);
    EXPECT_FALSE(m_list.SetColumnWidth(2, 50));
    EXPECT_FALSE(m_list.SetColumnWidth(0, -3));
}

TEST_F(ListCtrlTest, SortingIsStableAndRowsKeepTheirStateAndCells) {
    m_list.InsertColumn(0, "Id");
    m_list.InsertColumn(1, "Format");
    const std::vector<std::pair<std::string, intptr_t>> rows = {{"a", 3}, {"b", 1}, {"c", 3},
                                                                {"d", 2}, {"e", 1}, {"f", 3}};
    for (const auto& [id, key] : rows) {
        AddRow(id, "key " + std::to_string(key), key);
    }
    m_list.SetItemState(2, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
    m_list.SetCheck(4);
    ASSERT_TRUE(m_list.SortItems([](intptr_t a, intptr_t b) { return a < b ? -1 : a > b; }));

    std::string order;
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
        order += m_list.GetItemText(i, 0);
    }
    EXPECT_EQ(order, "bedacf");
    EXPECT_EQ(m_list.GetItemText(4, 1), "key 3");
    EXPECT_EQ(m_list.GetItemState(4, ui::LVIS_SELECTED), ui::LVIS_SELECTED);  // "c"
    EXPECT_TRUE(m_list.GetCheck(1));                                          // "e"
    // A comparator that contradicts itself still leaves every row in the list.
    m_list.SortItems([](intptr_t, intptr_t) { return -1; });
    EXPECT_EQ(m_list.GetItemCount(), 6);
}

TEST_F(ListCtrlTest, ScrollingStopsWhenTheLastRowIsAtTheBottom) {
    // 88 dialog units are 176 px: a header and ten rows of 16 px.
    m_dlg.Control(kList).rect.cy = 88;
    m_list.InsertColumn(0, "Id", ui::LVCFMT_LEFT, 30);
    for (int i = 0; i < 4; ++i) {
        AddRow(std::to_string(i), "");
    }
    m_list.Scroll(0, 4 * 16);
    EXPECT_EQ(m_list.GetTopIndex(), 0);  // every row is in view already
    for (int i = 4; i < 25; ++i) {
        AddRow(std::to_string(i), "");
    }
    m_list.Scroll(0, 25 * 16);
    EXPECT_EQ(m_list.GetTopIndex(), 15);
}

TEST_F(ListCtrlTest, ScrollingMovesTheTopRowAndTheItemRectsWithIt) {
    m_list.InsertColumn(0, "Id", ui::LVCFMT_LEFT, 30);
    m_list.InsertColumn(1, "Format", ui::LVCFMT_LEFT, 50);
    for (int i = 0; i < 10; ++i) {
        AddRow(std::to_string(i), "");
    }
    ui::ItemRect rect;
    ASSERT_TRUE(m_list.GetItemRect(3, rect));
    EXPECT_EQ(rect.top, 48);
    EXPECT_EQ(rect.Height(), 16);
    EXPECT_EQ(rect.Width(), 80);
    m_list.Scroll(0, 9 * rect.Height());
    EXPECT_EQ(m_list.GetTopIndex(), 9);
    ASSERT_TRUE(m_list.GetItemRect(3, rect));
    EXPECT_EQ(rect.top, -96);
    m_list.Scroll(0, 1000);  // never past the last row
    EXPECT_EQ(m_list.GetTopIndex(), 9);
    m_list.Scroll(0, -20);  // a part of a row moves by whole rows only
    EXPECT_EQ(m_list.GetTopIndex(), 8);
    m_list.DeleteItem(9);
    m_list.DeleteItem(8);
    EXPECT_EQ(m_list.GetTopIndex(), 7);
    EXPECT_FALSE(m_list.GetItemRect(8, rect));
    m_list.DeleteAllItems();
    EXPECT_EQ(m_list.GetTopIndex(), 0);
}

TEST_F(ListCtrlTest, StatesAndChecksPerRowOrForEveryRow) {
    m_list.InsertColumn(0, "Id");
    for (int i = 0; i < 3; ++i) {
        AddRow(std::to_string(i), "", 100 + i);
    }
    m_list.SetItemState(-1, ui::LVIS_SELECTED | ui::LVIS_FOCUSED, ui::LVIS_SELECTED);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_list.GetItemState(i, ui::LVIS_SELECTED | ui::LVIS_FOCUSED), ui::LVIS_SELECTED);
    }
    EXPECT_FALSE(m_list.SetItemState(3, ui::LVIS_SELECTED, ui::LVIS_SELECTED));
    EXPECT_TRUE(m_list.SetCheck(2, true));
    EXPECT_FALSE(m_list.SetCheck(3, true));
    EXPECT_TRUE(m_list.GetCheck(2));
    EXPECT_FALSE(m_list.GetCheck(3));
    EXPECT_EQ(m_list.GetItemData(1), 101);
    EXPECT_EQ(m_list.GetItemData(3), 0);
}

}  // namespace
}  // namespace uitest
