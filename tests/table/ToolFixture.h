// Table files built in the test, written to a temporary folder, and the tool run on them as the
// command line would run it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "platform/TempFolder.h"

namespace tabletest {

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args);

// A record of a standard timing of the simulated card's catalogue ("1920x1080p60"), its
// registers derived as the editor derives them.
fmt::FormatRecord StandardRecord(const char* name, const char* tag = "_autogr_support");

// Two built-in formats (720p60, 1080i60) and two user formats (1080p60, 1024x768p60).
std::vector<fmt::FormatRecord> CleanRecords();
constexpr uint16_t kCleanBuiltins = 2;

class ToolTest : public ::testing::Test {
  protected:
    // Writes bytes into the temporary folder and gives the file's path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string WriteTable(const std::string& name, uint16_t builtinCount,
                           const std::vector<fmt::FormatRecord>& records) const;
    std::string WriteClean(const std::string& name = "format.bin") const {
        return WriteTable(name, kCleanBuiltins, CleanRecords());
    }

    CTempFolder m_folder;
};

}  // namespace tabletest
