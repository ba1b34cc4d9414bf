// Table files as the commands read and write them: read as the program reads a file it is
// given (the driver's refusals included, with the reason said), written as Apply and Export
// write them (beside the target, then in its place in one step, respecting the target).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/FormatTable.h"

namespace devicetool {

// Reads path into the table's records and counts. False, with the reason, for a file the
// program would refuse.
bool LoadTable(const std::string& path, fmt::FormatTable& table, std::string& why);
// The same, keeping the bytes read, for the write back to check that nobody replaced the file
// in between.
bool LoadTable(const std::string& path, fmt::FormatTable& table, std::string& why,
               platform::FileContents& read);

// The refusal of a write over a file another program replaced while the command worked: the
// command's work was done on what it read, and what is there now is somebody else's.
std::string ChangedMeanwhile(const std::string& file);

// The bytes the table writes to a file.
std::vector<uint8_t> TableBytes(const fmt::FormatTable& table);

// "1920x1080" and "60.00", as the resolution lists show a record.
std::string SizeOf(const fmt::FormatRecord& record);
std::string RateOf(const fmt::FormatRecord& record);

}  // namespace devicetool
