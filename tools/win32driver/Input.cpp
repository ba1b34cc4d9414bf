// Input posted to windows as the mouse and the keyboard make it.
#include "tools/win32driver/Driver.h"

#include <commctrl.h>

namespace windriver {
namespace {

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

}  // namespace

// A press and release at one point of a window.
void PostClick(HWND hwnd, int x, int y, WPARAM keys) {
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, Point(x, y));
    PostMessageW(hwnd, WM_LBUTTONUP, keys, Point(x, y));
}

void PostClick(HWND hwnd, POINT at, WPARAM keys) {
    PostClick(hwnd, at.x, at.y, keys);
}

void PostClick(HWND hwnd) {
    PostClick(hwnd, CentreOf(hwnd));
}

void PostDoubleClick(HWND hwnd, POINT at) {
    const LPARAM point = Point(at.x, at.y);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, point);
    PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, point);
}

void PostKey(HWND hwnd, UINT key, wchar_t character) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(hwnd, WM_KEYDOWN, key, 1 | (scan << 16));
    if (character != 0)
        PostMessageW(hwnd, WM_CHAR, character, 1);
    PostMessageW(hwnd, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void PostPress(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool SendPress(HWND button, DWORD ms) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, Patience(ms), &result) != 0;
}

void TypeOver(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        PostKey(edit, VK_DELETE);
        return;
    }
    for (wchar_t c : text)
        PostMessageW(edit, WM_CHAR, c, 1);
}

bool ChooseByMessage(HWND box, const std::wstring& text) {
    const int index = ComboIndex(box, text);
    if (index < 0)
        return false;
    SendMessageW(box, CB_SETCURSEL, index, 0);
    PostMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
    return true;
}

void WalkComboTo(HWND box, int index) {
    int at = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    if (at < 0) {
        PostKey(box, VK_DOWN);
        at = 0;
    }
    for (; at < index; ++at)
        PostKey(box, VK_DOWN);
    for (; at > index; --at)
        PostKey(box, VK_UP);
}

bool ClickComboArrow(HWND box, HWND& list) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(box, &info) || info.hwndList == nullptr)
        return false;
    const RECT& arrow = info.rcButton;
    PostClick(box, (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
    list = info.hwndList;
    return true;
}

EntryClick ClickListEntry(HWND list, int index) {
    if (!IsWindowVisible(list))
        return EntryClick::NotOpen;
    // Scrolled to, as the user turns the wheel to an entry further down.
    RECT client;
    GetClientRect(list, &client);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    if (item.top < client.top || item.bottom > client.bottom) {
        SendMessageW(list, LB_SETTOPINDEX, index, 0);
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    }
    // The part of the entry the list shows: a long name runs past the list's right edge.
    RECT shown;
    if (!IntersectRect(&shown, &item, &client))
        return EntryClick::NoEntry;
    PostClick(list, (shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2);
    return EntryClick::Clicked;
}

}  // namespace windriver
