// Sorting a resolution list by a column. The sort column and its direction live only in the
// column titles, as an arrow after the plain title.
#include <algorithm>
#include <utility>
#include <vector>

#include "app/VuverezeDlg.h"
#include "platform/Platform.h"
#include "timing/TextNumber.h"

namespace app {
namespace {

constexpr const char* kPlainTitles[] = {"Id", "Format", "Frame Rate"};

// The arrow in the code page's own narrow text; where the code page has no such character the
// program's Big5 bytes stand in, so the two directions stay distinguishable.
std::string Arrow(char16_t arrow, const char* big5) {
    std::u16string wide(1, arrow);
    std::string narrow = platform::WideToAnsi(wide);
    return platform::AnsiToWide(narrow) == wide ? narrow : std::string(big5);
}

bool HasArrowAfterFirst(const std::string& title, const std::string& arrow) {
    return title.size() > 1 && title.find(arrow, 1) != std::string::npos;
}

// Sort key of a cell: "%dx%d" gives (width, height), the others their leading integer.
std::pair<int, int> Key(const std::string& text, int column) {
    if (column != 1)
        return {timing::ParseDecimalInt(text), 0};
    size_t x = text.find('x');
    if (x == std::string::npos)
        return {timing::ParseDecimalInt(text), 0};
    return {timing::ParseDecimalInt(text.substr(0, x)),
            timing::ParseDecimalInt(text.substr(x + 1))};
}

}  // namespace

std::string SortArrowUp() {
    return Arrow(u'\u25B2', "\xA1\xB6");
}
std::string SortArrowDown() {
    return Arrow(u'\u25BC', "\xA1\xBF");
}

void CVuverezeDlg::SortByColumn(ui::CListCtrl& list, int column) {
    const std::string up = SortArrowUp();
    const std::string down = SortArrowDown();
    for (int i = 0; i < 3; ++i) {
        std::string title = kPlainTitles[i];
        if (i == column) {
            bool ascending = HasArrowAfterFirst(list.GetColumnTitle(i), up);
            title += " " + (ascending ? down : up);
        }
        list.SetColumnTitle(i, title);
    }
    AutoSizeColumns(list);
    m_sortTexts.assign(list.GetItemCount(), {});
    for (int row = 0; row < list.GetItemCount(); ++row) {
        list.SetItemData(row, row);
        for (int i = 0; i < 3; ++i)
            m_sortTexts[row][i] = list.GetItemText(row, i);
    }
    // Rows whose keys are equal stay in table order, whichever way and whatever column the
    // list was sorted before: the Id is the row's place in its part of the table.
    list.SortItems([&](intptr_t a, intptr_t b) {
        const int order = CompareRows(a, b, list);
        if (order != 0)
            return order;
        const int idA = timing::ParseDecimalInt(m_sortTexts[a][0]);
        const int idB = timing::ParseDecimalInt(m_sortTexts[b][0]);
        return idA == idB ? 0 : idA < idB ? -1 : 1;
    });
    m_sortTexts.clear();
}

int CVuverezeDlg::CompareRows(intptr_t a, intptr_t b, ui::CListCtrl& list) {
    const std::string up = SortArrowUp();
    const std::string down = SortArrowDown();
    int column = -1;
    bool ascending = true;
    for (int i = 0; i < 3 && column < 0; ++i) {
        std::string title = list.GetColumnTitle(i);
        if (HasArrowAfterFirst(title, up)) {
            column = i;
        } else if (HasArrowAfterFirst(title, down)) {
            column = i;
            ascending = false;
        }
    }
    if (column < 0)
        return 0;
    // The rows are compared by the texts they had when the sort began: item data holds the
    // row's position at that time, whatever the sort has moved since.
    auto text = [&](intptr_t row) {
        if (row >= 0 && static_cast<size_t>(row) < m_sortTexts.size()) {
            return m_sortTexts[row][column];
        }
        return list.GetItemText(static_cast<int>(row), column);
    };
    auto keyA = Key(text(a), column);
    auto keyB = Key(text(b), column);
    if (keyA == keyB)
        return 0;
    int order = keyA > keyB ? 1 : -1;
    return ascending ? order : -order;
}

}  // namespace app
