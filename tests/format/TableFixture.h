// A virtual system in a temporary folder, with the debugger output captured, for the table file
// stories.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

class TableFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_root.Path().empty());
        std::filesystem::create_directories(m_root / "Windows/System32");
        platform::SetSystemRoot(m_root.Path());
        platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
        platform::SetDebugSink([this](std::string_view text) { m_debug.emplace_back(text); });
    }
    void TearDown() override {
        platform::SetDebugSink({});
        platform::SetSystemRoot("");
        platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
    }

    // The host file behind "C:\Windows\System32\<name>".
    std::string SystemFile(const std::string& name = "format.bin") const {
        return m_root / ("Windows/System32/" + name);
    }

    static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    static std::vector<uint8_t> ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    // A table file of `records` records of random bytes under the given built-in count.
    static std::vector<uint8_t> RandomTableFile(uint16_t builtinCount, size_t records,
                                                unsigned seed = 7) {
        std::mt19937 random(seed);
        std::vector<uint8_t> bytes(2 + records * fmt::kRecordSize);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        bytes[0] = static_cast<uint8_t>(builtinCount);
        bytes[1] = static_cast<uint8_t>(builtinCount >> 8);
        return bytes;
    }

    // Loads the system table as Lock does.
    uint32_t Lock() {
        m_table.ClearEntries();
        const uint32_t result = m_table.ReadFormatFile("");
        if (result == fmt::kOk)
            m_table.CopyStagingToTable();
        return result;
    }

    CTempFolder m_root;
    fmt::FormatTable m_table;
    std::vector<std::string> m_debug;
};
