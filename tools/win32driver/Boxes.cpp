// The system's own boxes, and waiting for another program's windows.
#include <cstdlib>
#include <cwchar>

#include "tools/win32driver/Driver.h"

namespace windriver {
namespace {

constexpr int kFileNameBox = 0x47C;   // the file name box of the explorer-style dialog
constexpr int kFileNameEdit = 0x480;  // ... and of the older one

struct WindowSearch {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
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

}  // namespace

HWND FileNameBox(HWND dialog) {
    HWND name = GetDlgItem(dialog, kFileNameBox);
    return name != nullptr ? name : GetDlgItem(dialog, kFileNameEdit);
}

bool ClickButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (button == nullptr)
        return false;
    PostClick(button);
    return true;
}

bool TypeFileName(HWND dialog, const std::wstring& path) {
    HWND name = FileNameBox(dialog);
    if (name == nullptr)
        return false;
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return ClickButton(dialog, IDOK);
}

DWORD Patience(DWORD ms) {
    static const DWORD scale = [] {
        char text[16] = "";
        const DWORD length = GetEnvironmentVariableA("VZ_TEST_TIME_SCALE", text, sizeof text);
        const unsigned long value =
            length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
        return value >= 1 && value <= 1000 ? static_cast<DWORD>(value) : DWORD{1};
    }();
    return ms > MAXDWORD / scale ? MAXDWORD - 1 : ms * scale;
}

void Pause(DWORD ms) {
    Sleep(Patience(ms));
}

bool Closes(HWND window, DWORD ms) {
    return Eventually([&] { return !IsWindow(window); }, ms);
}

bool WaitForText(HWND hwnd, const std::wstring& text, DWORD ms) {
    return Eventually([&] { return TextOf(hwnd) == text; }, ms);
}

HWND WindowOfProcess(DWORD pid, const wchar_t* title) {
    WindowSearch search{pid, title, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForModal(DWORD process, HWND owner, DWORD ms) {
    HWND found = nullptr;
    Eventually(
        [&] {
            for (HWND w = FindWindowW(L"#32770", nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == process && w != owner && IsWindowVisible(w) && IsWindowEnabled(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

std::wstring AnswerMessageBox(DWORD process, HWND owner, DWORD ms) {
    HWND box = WaitForModal(process, owner, ms);
    if (box == nullptr)
        return L"";
    const std::wstring text = TextOf(GetDlgItem(box, kMessageTextId));
    ClickButton(box, IDOK);
    Closes(box);
    return text;
}

bool AnswerFileDialog(DWORD process, HWND owner, const std::wstring& path, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + Patience(ms);
    while (GetTickCount64() < end) {
        HWND box = WaitForModal(process, owner, 200);
        if (box != nullptr && TypeFileName(box, path))
            return Closes(box);
    }
    return false;
}

}  // namespace windriver
