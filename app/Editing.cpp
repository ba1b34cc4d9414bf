// Adding, editing and deleting user formats, and the two select-all boxes.
#include "app/VuverezeDlg.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/TextNumber.h"

namespace app {
namespace {

// Brings the last row of the list into view, as after a new or changed user format.
void ScrollToEnd(ui::CListCtrl& list) {
    ui::ItemRect rect;
    if (!list.GetItemRect(0, rect))
        return;
    list.Scroll(0, rect.Height() * list.GetItemCount());
}

}  // namespace

void CVuverezeDlg::Add(const standards::Timing* startFrom) {
    if (m_formatTable.RecordCount >= fmt::kMaxRecords) {
        ui::MessageBox(kMsgTableFull);
        return;
    }
    timing::CInputFormatDlg editor(this, -1);
    if (startFrom != nullptr)
        editor.StartFrom(*startFrom);
    if (editor.DoModal() == ui::IDOK) {
        ScrollToEnd(m_userList);
        AutoSizeColumns();
    }
    Apply();
}

void CVuverezeDlg::Edit(int row) {
    if (row < 0 || row >= m_userList.GetItemCount())
        return;
    int k = timing::ParseDecimalInt(m_userList.GetItemText(row, 0));
    if (k < 0 || k >= m_formatTable.UserCount)
        return;
    timing::CInputFormatDlg editor(this, k);
    if (editor.DoModal() == ui::IDOK) {
        ScrollToEnd(m_userList);
        AutoSizeColumns();
    }
    Apply();
}

void CVuverezeDlg::Delete() {
    fmt::FormatTable& table = m_formatTable;
    if (table.UserCount == 0) {
        ui::MessageBox(kMsgNoUserFormat);
        return;
    }
    int selected = -1;
    for (int i = 0; i < m_userList.GetItemCount(); ++i) {
        if (m_userList.GetItemState(i, ui::LVIS_SELECTED) & ui::LVIS_SELECTED) {
            selected = i;
            break;
        }
    }
    if (selected < 0) {
        ui::MessageBox(kMsgSelectOne);
        return;
    }
    int k = timing::ParseDecimalInt(m_userList.GetItemText(selected, 0));
    if (k < 0 || k >= table.UserCount)
        return;

    m_userList.DeleteAllItems();
    table.RemoveUserRecord(static_cast<size_t>(k));
    for (int j = 0; j < table.UserCount; ++j)
        AppendResolutionRow(m_userList, table.BuiltinCount + j);
    AutoSizeColumns();
}

void CVuverezeDlg::SelectAll(int checkBoxId) {
    UpdateData(true);
    bool user = checkBoxId == res::IDC_SELECT_ALL_USER;
    ui::CListCtrl& list = user ? m_userList : m_supportedList;
    bool tick = (user ? m_selectAllUser : m_selectAllSupported) != 0;
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetCheck(i, tick);
    UpdateData(false);
}

}  // namespace app
