// What the scenario runner reads out of the program's products: the fields of a table record,
// and the debug output as lines.
#pragma once

#include <string>
#include <vector>

#include "format/FormatRecord.h"

namespace scenarios {

// A record field by its name ("HActive", "LineLengthRange", "Tag", ...) as text: numbers in
// decimal, range triples as "L,N,U", the tag up to its first zero byte. False for an unknown name.
bool ReadRecordField(const fmt::FormatRecord& record, const std::string& name, std::string& value);
// A value of the scenario in the form ReadRecordField prints ("0x1A8" is "424").
std::string NormaliseFieldValue(const std::string& value);

// One line of the debug output: its bytes [begin, end) and its text without "\r" and "\n".
struct DebugLine {
    size_t begin = 0;
    size_t end = 0;
    std::string text;
};

// The debug output split at line ends; then, as further candidates, split at line ends and at
// every write that ended without one ("Edit number is 0"), so such a write can be expected by
// itself or joined with what follows it. plainLines: how many of the first kind come first.
std::vector<DebugLine> SplitDebugOutput(const std::string& output,
                                        const std::vector<size_t>& writeEnds, size_t& plainLines);

}  // namespace scenarios
