// Cold start to the first shown window, for the program and for a minimal dialog program, in
// turns, median of N each. Usage: vz_startup_bench N PROGRAM TITLE YARDSTICK TITLE
#include <windows.h>

#include "tests/win32/ChildWindow.h"
#include "tools/win32driver/Driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Milliseconds from CreateProcess to the window with `title` being visible; -1 on failure.
double TimeToWindow(const std::string& exe, const std::string& title) {
    std::wstring command = L"\"" + vztest::WindowsPath(exe) + L"\"";
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
        window = windriver::WindowOfProcess(process.dwProcessId, wideTitle.c_str());
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
