// What the Windows test programs read of the files the program and the driver leave: a file's
// bytes or lines, and the files of the native system folder.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vztest {

inline std::vector<char> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::string> ReadLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

// A file of the native system folder, which the program and the driver use: a 32-bit build of
// this program under WOW64 reaches it as Sysnative (its System32 is SysWOW64).
inline std::string SystemFile(const char* name) {
    char folder[MAX_PATH] = {};
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
        GetSystemWindowsDirectoryA(folder, MAX_PATH);
        return std::string(folder) + "\\Sysnative\\" + name;
    }
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

inline bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines) {
        if (line.compare(0, start.size(), start) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace vztest
