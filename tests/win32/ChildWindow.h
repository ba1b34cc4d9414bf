// What the Windows test programs need to start another program and find its window: a path as
// Windows takes it, the window of that process, and its texts.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

namespace vztest {

// The visible top-level window titled `title` of process `pid`: other programs on the same
// desktop (tests running beside this one) may show a window of the same title.
struct WindowSearch {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[256] = {};
    GetWindowTextW(hwnd, title, 256);
    if (pid == search->pid && IsWindowVisible(hwnd) && wcscmp(title, search->title) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

inline HWND WindowOfProcess(DWORD pid, const wchar_t* title) {
    WindowSearch search{pid, title, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a window of another process: WM_GETTEXT works across processes, where
// GetWindowText of another's control does not.
inline std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// A path given the Unix way (as CMake passes it to a program under Wine) is on drive Z:.
inline std::wstring WindowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide.front() == L'/') {
        wide = L"Z:" + wide;
        for (wchar_t& c : wide) {
            if (c == L'/') {
                c = L'\\';
            }
        }
    }
    return wide;
}

}  // namespace vztest
