// `add`: the user format the timing editor stores for a standard timing. The editor's record
// holds, beside the timing and the registers it derives from it, two things the card tells it:
// the line-length count its Detect measures (the record's LineLengthRange and LineFreq), and
// the output position its Test aligns to the size the card detects with the timing programmed
// (DE_H_START, DE_V_START). This command takes the count from the card (--device), from the
// user (--line-length), or, without either, the count a card measures for a signal of the
// timing itself; the output position is the one a Test finds on such a signal, 0, since the
// card then detects the timing's own size. A card that receives another timing is refused.
#pragma once

#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "tools/device/Commands.h"

namespace devicetool {

struct StandardRecord {
    fmt::FormatRecord Record;
    std::string Standard;    // "CVT-RB2", "DMT 0x52"
    std::string TimingName;  // "1920x1080p60"
    std::string Note;
    Json Measurement;  // where the count came from, and its value
};

// words: the standard and its timing. kDone with the record, else the exit code with the
// report's error said.
int MakeStandardRecord(Context& c, const std::vector<std::string>& words, StandardRecord& made);

}  // namespace devicetool
