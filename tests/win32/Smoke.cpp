// The shipped program, started as a user starts it: its window comes up as "Zeriveve", and on a
// machine without a capture device the device box says "N/A" and is disabled, Lock is disabled
// and Cancel is not; Cancel ends the program with exit code 0.
// Usage: vz_win32_smoke PATH\Vuvereze.exe
#include <windows.h>

#include "tests/win32/Checks.h"
#include "tests/win32/ChildWindow.h"
#include "tools/win32driver/Driver.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using vztest::Check;
using windriver::TextOf;

HWND WaitForWindow(DWORD pid, const wchar_t* title, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + windriver::Patience(ms);
    while (GetTickCount64() < end) {
        if (HWND hwnd = windriver::WindowOfProcess(pid, title)) {
            return hwnd;
        }
        Sleep(20);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vz_win32_smoke PATH\\Vuvereze.exe\n");
        return 2;
    }
    std::string exe = argv[1];
    std::wstring command = L"\"" + vztest::WindowsPath(exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAIL cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    HWND window = WaitForWindow(process.dwProcessId, L"Zeriveve", 30000);
    Check(window != nullptr, "the window \"Zeriveve\" is shown");
    if (window != nullptr) {
        HWND box = GetDlgItem(window, 1000);
        HWND lock = GetDlgItem(window, 1001);
        HWND cancel = GetDlgItem(window, 1009);
        Check(box != nullptr && TextOf(box) == L"N/A", "the device box shows \"N/A\"");
        Check(box != nullptr && !IsWindowEnabled(box), "the device box is disabled");
        Check(lock != nullptr && TextOf(lock) == L"Lock" && !IsWindowEnabled(lock),
              "\"Lock\" is disabled");
        Check(cancel != nullptr && IsWindowEnabled(cancel), "\"Cancel\" is enabled");
        if (cancel != nullptr) {
            RECT rect;
            GetClientRect(cancel, &rect);
            const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
            PostMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(cancel, WM_LBUTTONUP, 0, at);
        }
    }
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    Check(ended, "Cancel ends the program");
    DWORD code = 1234;
    if (!ended) {
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &code);
    Check(ended && code == 0, "with exit code 0");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return vztest::Summary();
}
