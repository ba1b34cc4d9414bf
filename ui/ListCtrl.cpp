// The report-view list control: columns, rows with check boxes, states and item data.
#include <algorithm>
#include <vector>

#include "ui/ControlRules.h"
#include "ui/Dialog.h"

namespace ui {

namespace detail {

int FocusedRow(const ControlState& list) {
    for (int i = 0; i < static_cast<int>(list.rows.size()); ++i) {
        if ((list.rows[i].state & LVIS_FOCUSED) != 0) {
            return i;
        }
    }
    return -1;
}

// One row of a list has the focus at a time; a row outside the list leaves it where it was.
void FocusRow(ControlState& list, int row) {
    if (row < 0 || row >= static_cast<int>(list.rows.size())) {
        return;
    }
    for (int i = 0; i < static_cast<int>(list.rows.size()); ++i) {
        uint32_t& state = list.rows[i].state;
        state = i == row ? state | LVIS_FOCUSED : state & ~LVIS_FOCUSED;
    }
}

// True when the selection changed.
bool SelectOnly(ControlState& list, const std::vector<int>& rows) {
    bool changed = false;
    for (int i = 0; i < static_cast<int>(list.rows.size()); ++i) {
        const bool selected = std::find(rows.begin(), rows.end(), i) != rows.end();
        const uint32_t state =
            selected ? list.rows[i].state | LVIS_SELECTED : list.rows[i].state & ~LVIS_SELECTED;
        changed = changed || state != list.rows[i].state;
        list.rows[i].state = state;
    }
    return changed;
}

}  // namespace detail

namespace {

// Space a fitted column keeps around its text, as the list view's own padding.
constexpr int kColumnMargin = 12;
// Width of a row's check box in front of the text of column 0.
constexpr int kCheckBoxWidth = 16;

bool ValidRow(const ControlState& state, int row) {
    return row >= 0 && row < static_cast<int>(state.rows.size());
}

bool ValidColumn(const ControlState& state, int column) {
    return column >= 0 && column < static_cast<int>(state.columns.size());
}

// A merge sort that asks the comparator only "does b come before a?", so that equal rows keep
// their order and a comparator that contradicts itself can only give a strange order, never a
// broken one.
void StableSortRows(std::vector<ListRow>& rows,
                    const std::function<int(intptr_t, intptr_t)>& compare) {
    std::vector<ListRow> buffer(rows.size());
    for (size_t width = 1; width < rows.size(); width *= 2) {
        for (size_t left = 0; left < rows.size(); left += 2 * width) {
            const size_t mid = std::min(left + width, rows.size());
            const size_t end = std::min(left + 2 * width, rows.size());
            size_t a = left;
            size_t b = mid;
            size_t out = left;
            while (a < mid && b < end) {
                const bool takeB = compare(rows[b].data, rows[a].data) < 0;
                buffer[out++] = std::move(takeB ? rows[b++] : rows[a++]);
            }
            while (a < mid) {
                buffer[out++] = std::move(rows[a++]);
            }
            while (b < end) {
                buffer[out++] = std::move(rows[b++]);
            }
        }
        rows.swap(buffer);
    }
}

}  // namespace

int CListCtrl::InsertColumn(int index, const std::string& title, int format, int width) {
    ControlState& state = State();
    if (index < 0) {
        return -1;
    }
    const int count = static_cast<int>(state.columns.size());
    index = std::min(index, count);
    state.columns.insert(state.columns.begin() + index,
                         ListColumn{title, format, std::max(width, 0)});
    // Cells keep their column: texts already set to the right of the new one move along.
    for (ListRow& row : state.rows) {
        if (static_cast<int>(row.texts.size()) > index) {
            row.texts.insert(row.texts.begin() + index, std::string());
        }
    }
    Changed();
    return index;
}

bool CListCtrl::DeleteColumn(int index) {
    ControlState& state = State();
    if (!ValidColumn(state, index)) {
        return false;
    }
    state.columns.erase(state.columns.begin() + index);
    for (ListRow& row : state.rows) {
        if (static_cast<int>(row.texts.size()) > index) {
            row.texts.erase(row.texts.begin() + index);
        }
    }
    Changed();
    return true;
}

int CListCtrl::GetHeaderItemCount() const {
    return static_cast<int>(State().columns.size());
}

std::string CListCtrl::GetColumnTitle(int index) const {
    const ControlState& state = State();
    return ValidColumn(state, index) ? state.columns[index].title : std::string();
}

void CListCtrl::SetColumnTitle(int index, const std::string& title) {
    ControlState& state = State();
    if (!ValidColumn(state, index)) {
        return;
    }
    state.columns[index].title = title;
    Changed();
}

bool CListCtrl::SetColumnWidth(int index, int width) {
    ControlState& state = State();
    if (!ValidColumn(state, index) || width < LVSCW_AUTOSIZE_USEHEADER) {
        return false;
    }
    if (width == LVSCW_AUTOSIZE) {
        const bool boxes = index == 0 && (state.extendedStyle & LVS_EX_CHECKBOXES) != 0;
        int widest = 0;
        for (const ListRow& row : state.rows) {
            const std::string& text =
                index < static_cast<int>(row.texts.size()) ? row.texts[index] : std::string();
            const int cell = Host().TextWidth(*m_dlg, m_id, text);
            widest = std::max(widest, cell + (boxes ? kCheckBoxWidth : 0));
        }
        width = widest + kColumnMargin;
    } else if (width == LVSCW_AUTOSIZE_USEHEADER) {
        width = Host().TextWidth(*m_dlg, m_id, state.columns[index].title) + kColumnMargin;
    }
    state.columns[index].width = width;
    Changed();
    return true;
}

int CListCtrl::GetColumnWidth(int index) const {
    const ControlState& state = State();
    return ValidColumn(state, index) ? state.columns[index].width : 0;
}

uint32_t CListCtrl::SetExtendedStyle(uint32_t style) {
    ControlState& state = State();
    const uint32_t former = state.extendedStyle;
    state.extendedStyle = style;
    Changed();
    return former;
}

uint32_t CListCtrl::GetExtendedStyle() const {
    return State().extendedStyle;
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(State().rows.size());
}

int CListCtrl::InsertItem(int index, const std::string& text) {
    ControlState& state = State();
    if (index < 0) {
        return -1;
    }
    index = std::min(index, static_cast<int>(state.rows.size()));
    ListRow row;
    row.texts.push_back(text);
    state.rows.insert(state.rows.begin() + index, std::move(row));
    Changed();
    return index;
}

bool CListCtrl::DeleteItem(int index) {
    ControlState& state = State();
    if (!ValidRow(state, index)) {
        return false;
    }
    state.rows.erase(state.rows.begin() + index);
    const int last = std::max(0, static_cast<int>(state.rows.size()) - 1);
    state.topIndex = std::min(state.topIndex, last);
    Changed();
    return true;
}

bool CListCtrl::DeleteAllItems() {
    ControlState& state = State();
    state.rows.clear();
    state.topIndex = 0;
    Changed();
    return true;
}

bool CListCtrl::SetItemText(int row, int column, const std::string& text) {
    ControlState& state = State();
    // Column 0 is the item itself and exists even before any column is inserted.
    if (!ValidRow(state, row) || column < 0 || (column > 0 && !ValidColumn(state, column))) {
        return false;
    }
    std::vector<std::string>& texts = state.rows[row].texts;
    if (static_cast<int>(texts.size()) <= column) {
        texts.resize(column + 1);
    }
    texts[column] = text;
    Changed();
    return true;
}

std::string CListCtrl::GetItemText(int row, int column) const {
    const ControlState& state = State();
    if (!ValidRow(state, row) || column < 0) {
        return "";
    }
    const std::vector<std::string>& texts = state.rows[row].texts;
    return column < static_cast<int>(texts.size()) ? texts[column] : std::string();
}

bool CListCtrl::SetCheck(int row, bool checked) {
    ControlState& state = State();
    if (!ValidRow(state, row)) {
        return false;
    }
    state.rows[row].checked = checked;
    Changed();
    return true;
}

bool CListCtrl::GetCheck(int row) const {
    const ControlState& state = State();
    return ValidRow(state, row) && state.rows[row].checked;
}

uint32_t CListCtrl::GetItemState(int row, uint32_t mask) const {
    const ControlState& state = State();
    return ValidRow(state, row) ? state.rows[row].state & mask : 0;
}

bool CListCtrl::SetItemState(int row, uint32_t itemState, uint32_t mask) {
    ControlState& state = State();
    // Row -1 stands for every row, as with LVM_SETITEMSTATE.
    if (row != -1 && !ValidRow(state, row)) {
        return false;
    }
    for (int i = 0; i < static_cast<int>(state.rows.size()); ++i) {
        if (row == -1 || i == row) {
            state.rows[i].state = (state.rows[i].state & ~mask) | (itemState & mask);
        }
    }
    Changed();
    return true;
}

bool CListCtrl::SetItemData(int row, intptr_t data) {
    ControlState& state = State();
    if (!ValidRow(state, row)) {
        return false;
    }
    state.rows[row].data = data;
    return true;
}

intptr_t CListCtrl::GetItemData(int row) const {
    const ControlState& state = State();
    return ValidRow(state, row) ? state.rows[row].data : 0;
}

bool CListCtrl::GetItemRect(int row, ItemRect& rect) const {
    const ControlState& state = State();
    if (!ValidRow(state, row) || m_dlg == nullptr) {
        return false;
    }
    const int height = Host().ListRowHeight(*m_dlg, m_id);
    int width = 0;
    for (const ListColumn& column : state.columns) {
        width += column.width;
    }
    rect.left = 0;
    rect.top = (row - state.topIndex) * height;
    rect.right = width;
    rect.bottom = rect.top + height;
    return true;
}

bool CListCtrl::Scroll(int, int dy) {
    ControlState& state = State();
    if (m_dlg == nullptr) {
        return false;
    }
    const int height = Host().ListRowHeight(*m_dlg, m_id);
    const int rows = height > 0 ? dy / height : 0;
    const int page = std::max(1, Host().ListPageRows(*m_dlg, m_id));
    const int last = std::max(0, static_cast<int>(state.rows.size()) - page);
    state.topIndex = std::clamp(state.topIndex + rows, 0, last);
    Changed();
    return true;
}

int CListCtrl::GetTopIndex() const {
    return State().topIndex;
}

bool CListCtrl::SortItems(const std::function<int(intptr_t, intptr_t)>& compare) {
    ControlState& state = State();
    if (!compare) {
        return false;
    }
    StableSortRows(state.rows, compare);
    Changed();
    return true;
}

}  // namespace ui
