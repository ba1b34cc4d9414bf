// Small file chores the platform tests share: bytes written by the test's own means, read back
// through the platform, and what a folder holds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace filetest {

inline std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> list) {
    return list;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBack(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
}

inline size_t EntriesIn(const std::string& folder) {
    namespace fs = std::filesystem;
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace filetest
