// What windows show, read through messages that work across processes.
#include "tools/win32driver/Driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace windriver {
namespace {

// Memory the list view messages that carry a pointer can be given: this process's own, or a
// block in the list's process, since no system copies those structures between processes.
class CPeerMemory {
  public:
    CPeerMemory(HANDLE process, size_t size)
        : m_process(process == GetCurrentProcess() ? nullptr : process),
          m_local(m_process == nullptr ? size : 0),
          m_at(m_process == nullptr ? m_local.data()
                                    : VirtualAllocEx(m_process, nullptr, size,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~CPeerMemory() {
        if (m_process != nullptr && m_at != nullptr)
            VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
    }
    CPeerMemory(const CPeerMemory&) = delete;
    CPeerMemory& operator=(const CPeerMemory&) = delete;

    char* At() const { return static_cast<char*>(m_at); }
    bool Put(size_t offset, const void* bytes, size_t size) {
        if (m_at == nullptr)
            return false;
        if (m_process == nullptr) {
            std::copy_n(static_cast<const char*>(bytes), size, At() + offset);
            return true;
        }
        return WriteProcessMemory(m_process, At() + offset, bytes, size, nullptr) != FALSE;
    }
    bool Get(size_t offset, void* bytes, size_t size) const {
        if (m_at == nullptr)
            return false;
        if (m_process == nullptr) {
            std::copy_n(At() + offset, size, static_cast<char*>(bytes));
            return true;
        }
        return ReadProcessMemory(m_process, At() + offset, bytes, size, nullptr) != FALSE;
    }

    // The message sent with `value` as the structure it points at, read back after.
    template <class T>
    LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, T& value) {
        if (!Put(0, &value, sizeof value))
            return 0;
        const LRESULT result = SendMessageW(hwnd, message, wparam, reinterpret_cast<LPARAM>(At()));
        Get(0, &value, sizeof value);
        return result;
    }

  private:
    HANDLE m_process;
    std::vector<char> m_local;
    void* m_at;
};

// A message whose structure points at a text buffer: both in the window's process, the
// structure first and the text after it.
template <class T>
std::wstring TextByMessage(HANDLE process, HWND hwnd, UINT message, WPARAM wparam, T item,
                           LPWSTR T::*text, int T::*size, size_t chars) {
    CPeerMemory memory(process, sizeof(T) + chars * sizeof(wchar_t));
    if (memory.At() == nullptr)
        return L"<no memory>";
    item.*text = reinterpret_cast<LPWSTR>(memory.At() + sizeof(T));
    item.*size = static_cast<int>(chars);
    std::vector<wchar_t> buffer(chars, L'\0');
    if (!memory.Put(0, &item, sizeof item) ||
        !memory.Put(sizeof(T), buffer.data(), chars * sizeof(wchar_t))) {
        return L"<unread>";
    }
    SendMessageW(hwnd, message, wparam, reinterpret_cast<LPARAM>(memory.At()));
    if (!memory.Get(sizeof(T), buffer.data(), chars * sizeof(wchar_t)))
        return L"<unread>";
    buffer.back() = L'\0';
    return buffer.data();
}

}  // namespace

// WM_GETTEXT, which the system copies between processes, where GetWindowText of another
// program's control does not reach the control.
std::wstring TextOf(HWND hwnd) {
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT got =
        SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

bool Live(HWND hwnd) {
    return IsWindowEnabled(hwnd) && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

POINT CentreOf(HWND hwnd) {
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::vector<std::wstring> ComboItems(HWND box) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = std::max<LRESULT>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0), 0);
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<size_t>(length));
        items.push_back(item.c_str());
    }
    return items;
}

int ComboIndex(HWND box, const std::wstring& text) {
    const std::vector<std::wstring> items = ComboItems(box);
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

bool RowChecked(HWND list, int row) {
    return (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
           INDEXTOSTATEIMAGEMASK(2);
}

bool RowSelected(HWND list, int row) {
    return (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool HasCheckBoxes(HWND list) {
    return (SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
}

HWND HeaderOf(HWND list) {
    return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
}

int ColumnCount(HWND list) {
    HWND header = HeaderOf(list);
    return header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring CellText(HANDLE process, HWND list, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    return TextByMessage(process, list, LVM_GETITEMTEXTW, row, item, &LVITEMW::pszText,
                         &LVITEMW::cchTextMax, 1024);
}

std::wstring ColumnTitle(HANDLE process, HWND list, int column) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    return TextByMessage(process, HeaderOf(list), HDM_GETITEMW, column, item, &HDITEMW::pszText,
                         &HDITEMW::cchTextMax, 260);
}

bool RowRect(HANDLE process, HWND list, int row, UINT part, RECT& rect) {
    CPeerMemory memory(process, sizeof(RECT));
    rect = RECT{};
    rect.left = static_cast<LONG>(part);
    return memory.Send(list, LVM_GETITEMRECT, row, rect) != FALSE;
}

bool HeaderItemRect(HANDLE process, HWND list, int column, RECT& rect) {
    HWND header = HeaderOf(list);
    CPeerMemory memory(process, sizeof(RECT));
    rect = RECT{};
    return header != nullptr && memory.Send(header, HDM_GETITEMRECT, column, rect) != FALSE;
}

bool CheckBoxPoint(HANDLE process, HWND list, int row, POINT& at) {
    RECT bounds;
    if (!RowRect(process, list, row, LVIR_BOUNDS, bounds))
        return false;
    CPeerMemory memory(process, sizeof(LVHITTESTINFO));
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = bounds.left; x < bounds.left + 48; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{x, y};
        memory.Send(list, LVM_SUBITEMHITTEST, 0, hit);
        if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
            at = POINT{x + 3, y};
            return true;
        }
    }
    return false;
}

bool EmptyAreaPoint(HANDLE process, HWND list, POINT& at) {
    RECT client;
    GetClientRect(list, &client);
    const int count = ItemCount(list);
    int below = 0;
    if (HWND header = HeaderOf(list)) {
        RECT rect;
        GetWindowRect(header, &rect);
        below = rect.bottom - rect.top;
    }
    if (count > 0) {
        RECT last;
        RowRect(process, list, count - 1, LVIR_BOUNDS, last);
        below = std::max<int>(below, last.bottom);
    }
    at = POINT{std::min<LONG>(client.right - 1, 20), below + 4};
    return at.y < client.bottom;
}

bool SaveWindowPicture(HWND window, const std::string& file) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // What the screen shows there, once every control has painted.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The system shows what was painted once the program waits for messages: a moment of it.
    MsgWaitForMultipleObjectsEx(0, nullptr, 200, QS_ALLINPUT, 0);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD size = static_cast<DWORD>(width) * height * 4;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + size;
    bool written = false;
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        written = std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(bits, size, 1, out) == 1;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

}  // namespace windriver
