// The shipped program over DirectShow, with the simulated card registered (by
// tests/win32/directshow.sh), driven by real input messages from this second process: the
// devices listed, Lock with both lists filled, Apply with the table rewritten and the driver
// asked to reload, Unlock, the faults that reach the program through DirectShow, and OK.
// Usage: vz_directshow_program PATH\Vuvereze.exe LOGFOLDER
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int g_checks = 0;
int g_failures = 0;

void Check(bool ok, const std::string& what) {
    ++g_checks;
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) {
        ++g_failures;
    }
}

std::wstring WindowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide.front() == L'/') {
        wide = L"Z:" + wide;
    }
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

void Click(HWND button) {
    RECT rect;
    GetClientRect(button, &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(button, WM_LBUTTONUP, 0, at);
}

// The program's message box: a dialog of its own process other than the main window.
HWND FindMessageBox(DWORD process, HWND main, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        for (HWND w = FindWindowW(L"#32770", nullptr); w != nullptr;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process && w != main && IsWindowVisible(w)) {
                return w;
            }
        }
        Sleep(20);
    }
    return nullptr;
}

// Reads the message box's text and presses its OK button; empty when none came up.
std::wstring AnswerMessageBox(DWORD process, HWND main) {
    HWND box = FindMessageBox(process, main, 10000);
    if (box == nullptr) {
        return L"";
    }
    const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    Click(GetDlgItem(box, IDOK));
    for (int i = 0; i < 250 && IsWindow(box); ++i) {
        Sleep(20);
    }
    return text;
}

bool WaitForText(HWND hwnd, const std::wstring& text, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        if (TextOf(hwnd) == text) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// Picks the device box's entry of that name as a user does: the selection changes and the
// box tells its dialog.
bool SelectDevice(HWND main, HWND box, const std::wstring& name) {
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        if (SendMessageW(box, CB_GETLBTEXTLEN, i, 0) < 255) {
            SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        }
        if (name == text) {
            SendMessageW(box, CB_SETCURSEL, i, 0);
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(box));
            return WaitForText(box, name, 2000);
        }
    }
    return false;
}

std::vector<char> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

std::string SystemFile(const char* name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

// Locks the named device and answers what comes up; the message box's text, or "" when the
// program locked.
std::wstring LockDevice(DWORD process, HWND main, const std::wstring& name) {
    HWND box = GetDlgItem(main, 1000);
    HWND lock = GetDlgItem(main, 1001);
    if (!SelectDevice(main, box, name)) {
        return L"<not listed>";
    }
    Click(lock);
    const ULONGLONG end = GetTickCount64() + 15000;
    while (GetTickCount64() < end) {
        if (TextOf(lock) == L"UnLock") {
            return L"";
        }
        if (FindMessageBox(process, main, 50) != nullptr) {
            return AnswerMessageBox(process, main);
        }
    }
    return L"<nothing happened>";
}

void Unlock(HWND main) {
    HWND lock = GetDlgItem(main, 1001);
    Click(lock);
    WaitForText(lock, L"Lock", 5000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vz_directshow_program PATH\\Vuvereze.exe LOGFOLDER\n");
        return 2;
    }
    const std::string logFolder = argv[2];
    std::wstring command = L"\"" + WindowsPath(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAIL cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HWND main = nullptr;
    for (int i = 0; i < 1500 && main == nullptr; ++i) {
        HWND w = FindWindowW(nullptr, L"Zeriveve");
        main = w != nullptr && IsWindowVisible(w) ? w : nullptr;
        Sleep(20);
    }
    Check(main != nullptr, "the window \"Zeriveve\" is shown");
    if (main != nullptr) {
        const DWORD pid = process.dwProcessId;
        HWND box = GetDlgItem(main, 1000);
        Check(SendMessageW(box, CB_GETCOUNT, 0, 0) == 6 && IsWindowEnabled(box),
              "the device box lists the six registered devices");

        const std::vector<char> seeded = ReadBytes(SystemFile("format.bin"));
        Check(LockDevice(pid, main, L"Zeriveve HD Capture").empty(), "Lock binds the HD card");
        // The button says "UnLock" before the lists are filled.
        bool filled = false;
        for (int i = 0; i < 250 && !filled; ++i, Sleep(20)) {
            filled =
                ItemCount(GetDlgItem(main, 1004)) == 34 && ItemCount(GetDlgItem(main, 1003)) == 3;
        }
        Check(filled, "both lists are filled: 34 built-in, 3 user formats");
        Click(GetDlgItem(main, 1012));
        Sleep(500);
        Check(FindMessageBox(pid, main, 200) == nullptr, "Apply shows no message");
        Check(ReadBytes(SystemFile("format.bin")) == seeded,
              "Apply writes format.bin back byte for byte");
        Check(Contains(ReadLines(logFolder + "\\Vuvereze simulated card 000.log"), "SET RELOAD 1"),
              "and the driver is asked to reload it");
        Unlock(main);
        Check(TextOf(GetDlgItem(main, 1001)) == L"Lock" && IsWindowEnabled(box),
              "Unlock gives the device box back");

        const std::wstring deviceError =
            L"Device initized error! Please check the device is available or not!";
        Check(LockDevice(pid, main, L"Failing Bind Capture") == deviceError,
              "a failing binding: the device error");
        Check(LockDevice(pid, main, L"No Reload Capture").empty(),
              "the device without reload support locks");
        Click(GetDlgItem(main, 1012));
        Check(AnswerMessageBox(pid, main) == L"ReLoad file is fail!",
              "and Apply reports the failed reload");
        Unlock(main);
        Check(LockDevice(pid, main, L"Get Only Capture").empty(), "the get-only device locks");
        Click(GetDlgItem(main, 1012));
        Check(AnswerMessageBox(pid, main) == L"ReLoad file is fail!",
              "and Apply reports the failed reload");
        Unlock(main);

        // The card goes away after the program listed it, as an unplugged card does.
        RegDeleteTreeW(HKEY_CLASSES_ROOT,
                       L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance\\"
                       L"Vuvereze simulated card 005");
        Check(LockDevice(pid, main, L"Removed Capture") == deviceError,
              "a removed device: the device error");

        Check(LockDevice(pid, main, L"Zeriveve HD Capture").empty(), "the HD card locks again");
        Click(GetDlgItem(main, 1008));
    }
    const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    DWORD code = 1234;
    if (!ended) {
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &code);
    Check(ended && code == 0, "OK ends the program with exit code 0");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%d passed, %d failed\n", g_checks - g_failures, g_failures);
    return g_failures == 0 ? 0 : 1;
}
