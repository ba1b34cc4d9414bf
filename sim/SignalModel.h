// What the card measures of the input it receives, given how the chip is programmed. See
// sim/README.md for the model.
#pragma once

#include <cstdint>

#include "sim/SimChip.h"
#include "sim/VideoTiming.h"

namespace sim {

struct Measurement {
    bool Signal = false;
    int32_t Width = 0;            // FPGA 0x4110: data-enable pixels per line
    int32_t Height = 0;           // FPGA 0x4114: data-enable lines in the first field (or frame)
    int32_t LineLengthCount = 0;  // chip 0x44/0xB1-0xB2: round(229090400 / line frequency)
    bool LineLocked = false;      // the chip's line length agrees with the input's
};

// The programmed line length may differ from the input's by this share and still lock.
inline constexpr double kLineLockTolerance = 0.03;

// input null: no signal, everything 0.
Measurement MeasureInput(const VideoTiming* input, const CSimChip& chip);

}  // namespace sim
