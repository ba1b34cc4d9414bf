// A GoogleTest program of the Windows build that starts itself again to run one of its own
// tests in a process of its own: a story about what another process leaves behind (a writer
// killed part-way, a program whose first file names are taken) needs a second process. The
// test it runs there is a disabled one, which a normal run of the program passes over, and it
// learns what to do from one environment variable.
#pragma once

#include <windows.h>

#include <string>

namespace vztest {

inline std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}

// Starts this program with only the disabled test `test` ("Suite.DISABLED_Name"), with the
// environment variable `name` set to `value`. `quiet` sends the child's output nowhere, for
// children that are started many times and killed; `flags` are CreateProcess's (a suspended
// child stands for a program that is running). A null process handle on failure.
inline PROCESS_INFORMATION StartThisProgram(const std::wstring& test, const wchar_t* name,
                                            const std::wstring& value, bool quiet,
                                            DWORD flags = 0) {
    PROCESS_INFORMATION started{};
    std::wstring command = L"\"" + ThisProgram() + L"\" --gtest_also_run_disabled_tests" +
                           L" --gtest_brief=1 --gtest_filter=" + test;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE nowhere = INVALID_HANDLE_VALUE;
    if (quiet) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        nowhere =
            CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        &inherit, OPEN_EXISTING, 0, nullptr);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nowhere;
        startup.hStdOutput = nowhere;
        startup.hStdError = nowhere;
    }
    SetEnvironmentVariableW(name, value.c_str());
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, quiet ? TRUE : FALSE, flags,
                        nullptr, nullptr, &startup, &started)) {
        started = PROCESS_INFORMATION{};
    }
    SetEnvironmentVariableW(name, nullptr);
    if (nowhere != INVALID_HANDLE_VALUE) {
        CloseHandle(nowhere);
    }
    if (started.hThread != nullptr) {
        CloseHandle(started.hThread);
        started.hThread = nullptr;
    }
    return started;
}

// Runs the test in a child to its end; its exit code (0: it passed), or -1 when it could not
// be started.
inline long RunThisProgram(const std::wstring& test, const wchar_t* name,
                           const std::wstring& value) {
    const PROCESS_INFORMATION child = StartThisProgram(test, name, value, false);
    if (child.hProcess == nullptr) {
        return -1;
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    return static_cast<long>(code);
}

// The value the parent gave this child, empty in a normal run.
inline std::wstring ChildValue(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(value, length) : std::wstring();
}

}  // namespace vztest
