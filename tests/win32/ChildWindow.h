// What the Windows test programs need to start another program: a path as Windows takes it.
// Finding its windows and reading them is the driver's (tools/win32driver/Driver.h).
#pragma once

#include <windows.h>

#include <string>

namespace vztest {

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
