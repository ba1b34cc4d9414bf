// A table file as it lies on disk, taken apart without judging it: the header, every whole
// record and whatever bytes are left over. Unlike the table's own reader, which refuses a file
// the driver would refuse, this keeps everything, so that a broken file can still be shown and
// its faults named.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "format/FormatRecord.h"

namespace tabletool {

// No table file comes near this; a larger file is not read (a device or a mistyped name must
// not fill the memory).
constexpr size_t kLargestFileRead = size_t{1} << 20;
constexpr size_t kHeaderSize = 2;

struct TableImage {
    std::string Name;  // as the user gave it
    size_t Size = 0;
    bool HasHeader = false;
    uint16_t BuiltinCount = 0;
    std::vector<fmt::FormatRecord> Records;
    size_t TrailingBytes = 0;  // after the last whole record

    bool IsBuiltin(size_t i) const { return i < BuiltinCount; }
    // The number in the "Id" column of the record's list: built-in rows count from 0, user rows
    // from 0 again.
    size_t ListId(size_t i) const { return IsBuiltin(i) ? i : i - BuiltinCount; }
    // "built-in 3", "user 0".
    std::string IdText(size_t i) const;
    size_t BuiltinRecords() const;
    size_t UserRecords() const { return Records.size() - BuiltinRecords(); }
};

TableImage DecodeTableImage(const std::string& name, const std::vector<uint8_t>& bytes);
// False when the file cannot be read at all (missing, not a readable file, or larger than
// kLargestFileRead).
bool ReadTableImage(const std::string& path, TableImage& image);

}  // namespace tabletool
