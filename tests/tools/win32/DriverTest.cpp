// The Win32 test driver's readers on real controls of this process: what they read must not
// depend on whether the control's process is this one or another (the memory the list view
// messages point at is then given in that process, here reached through a handle of our own).
#include "tools/win32driver/Driver.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace windriver;

class DriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no display to make windows on (the test script starts one)";
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        m_parent = CreateWindowExW(0, L"STATIC", L"driver", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        // This process as another one is reached: through a handle that is not the pseudo one.
        m_self = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                             GetCurrentProcessId());
        ASSERT_NE(m_self, nullptr);
    }
    void TearDown() override {
        if (m_parent != nullptr)
            DestroyWindow(m_parent);
        if (m_self != nullptr)
            CloseHandle(m_self);
    }
    HWND Child(const wchar_t* cls, DWORD style, int id) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 380, 200, m_parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }

    HWND m_parent = nullptr;
    HANDLE m_self = nullptr;
};

TEST_F(DriverTest, TextsAreReadWholeWhateverTheirLength) {
    HWND edit = Child(L"EDIT", ES_AUTOHSCROLL, 10);
    EXPECT_EQ(TextOf(edit), L"");
    const std::wstring longText(1500, L'\x95DC');
    SetWindowTextW(edit, longText.c_str());
    EXPECT_EQ(TextOf(edit), longText);
}

TEST_F(DriverTest, ComboEntriesAreFoundAndChosenWithTheDialogTold) {
    HWND box = Child(L"COMBOBOX", CBS_DROPDOWNLIST, 11);
    const std::wstring longEntry(300, L'x');
    for (const std::wstring& entry : {std::wstring(L""), std::wstring(L"Positive"), longEntry})
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    EXPECT_EQ(ComboItems(box), (std::vector<std::wstring>{L"", L"Positive", longEntry}));
    EXPECT_EQ(ComboIndex(box, longEntry), 2);
    EXPECT_EQ(ComboIndex(box, L"Negtive"), -1);
    EXPECT_FALSE(ChooseByMessage(box, L"Negtive"));
    EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), CB_ERR);
    ASSERT_TRUE(ChooseByMessage(box, L"Positive"));
    EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, m_parent, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, MAKEWPARAM(11, CBN_SELCHANGE));
    EXPECT_EQ(reinterpret_cast<HWND>(msg.lParam), box);
}

TEST_F(DriverTest, ListsReadTheSameFromThisProcessAndFromAnother) {
    HWND list = Child(WC_LISTVIEWW, LVS_REPORT, 12);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    const wchar_t* titles[] = {L"Id", L"Resolution"};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<wchar_t*>(titles[c]);
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    const std::wstring wide(700, L'9');
    for (int r = 0; r < 3; ++r) {
        std::wstring id = std::to_wstring(r);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = id.data();
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(r == 2 ? wide.c_str() : L"1920x1080");
        SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
    }
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));

    EXPECT_EQ(ItemCount(list), 3);
    EXPECT_EQ(ColumnCount(list), 2);
    EXPECT_TRUE(HasCheckBoxes(list));
    EXPECT_FALSE(RowChecked(list, 0));
    EXPECT_TRUE(RowChecked(list, 1));
    for (HANDLE process : {static_cast<HANDLE>(nullptr), m_self}) {
        EXPECT_EQ(ColumnTitle(process, list, 1), L"Resolution");
        EXPECT_EQ(CellText(process, list, 1, 0), L"1");
        EXPECT_EQ(CellText(process, list, 0, 1), L"1920x1080");
        EXPECT_EQ(CellText(process, list, 2, 1), wide);
        RECT row, header;
        ASSERT_TRUE(RowRect(process, list, 1, LVIR_BOUNDS, row));
        EXPECT_GT(row.bottom, row.top);
        ASSERT_TRUE(HeaderItemRect(process, list, 1, header));
        EXPECT_EQ(header.left, 120);
        // The point a click ticks the row's box at is on its box, as the list itself says.
        POINT at;
        ASSERT_TRUE(CheckBoxPoint(process, list, 1, at));
        LVHITTESTINFO hit{};
        hit.pt = at;
        SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        EXPECT_EQ(hit.iItem, 1);
        EXPECT_NE(hit.flags & LVHT_ONITEMSTATEICON, 0u);
        // Below the last row, inside the list.
        POINT empty;
        ASSERT_TRUE(EmptyAreaPoint(process, list, empty));
        RECT last;
        RowRect(process, list, 2, LVIR_BOUNDS, last);
        EXPECT_GT(empty.y, last.bottom);
    }
}

}  // namespace
