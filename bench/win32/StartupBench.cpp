// Cold start to the first shown window, for the program and for a minimal dialog program, in
// turns, median of N each. Usage: vz_startup_bench N PROGRAM TITLE YARDSTICK TITLE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The visible top-level window titled `title` of process `pid`: other programs on the same
// desktop (tests running beside this one) may show a window of the same title.
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

HWND WindowOfProcess(DWORD pid, const wchar_t* title) {
    WindowSearch search{pid, title, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A path given the Unix way (as CMake passes it to a program under Wine) is on drive Z:.
std::wstring WindowsPath(const std::string& path) {
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

// Milliseconds from CreateProcess to the window with `title` being visible; -1 on failure.
double TimeToWindow(const std::string& exe, const std::string& title) {
    std::wstring command = L"\"" + WindowsPath(exe) + L"\"";
    const std::wstring wideTitle(title.begin(), title.end());
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    double ms = -1;
    HWND window = nullptr;
    for (;;) {
        window = WindowOfProcess(process.dwProcessId, wideTitle.c_str());
        QueryPerformanceCounter(&now);
        const double elapsed =
            1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
        if (window != nullptr) {
            ms = elapsed;
            break;
        }
        if (elapsed > 30000) {
            break;
        }
        Sleep(0);
    }
    if (window != nullptr) {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: vz_startup_bench N PROGRAM TITLE YARDSTICK TITLE\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<double> program, yardstick;
    // One run of each first, not counted: the system's own caches are then as warm for both.
    TimeToWindow(argv[2], argv[3]);
    TimeToWindow(argv[4], argv[5]);
    for (int i = 0; i < runs; ++i) {
        program.push_back(TimeToWindow(argv[2], argv[3]));
        yardstick.push_back(TimeToWindow(argv[4], argv[5]));
    }
    const double a = Median(program), b = Median(yardstick);
    std::printf(
        "start to first window, median of %d: program %.1f ms, minimal dialog %.1f ms, "
        "ratio %.2f\n",
        runs, a, b, b > 0 ? a / b : 0.0);
    return a > 0 && b > 0 ? 0 : 1;
}
