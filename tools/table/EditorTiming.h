// The timing a record stands for, as a user would have typed it into the timing editor, and the
// register values the editor derives from that timing (through format/TimingMath, the code the
// editor itself runs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "format/TimingMath.h"

namespace tabletool {

struct EditorTiming {
    int32_t HActive = 0;
    int32_t VActive = 0;
    int32_t HTotal = 0;
    int32_t VTotal = 0;
    int32_t VFrontPorch = 0;
    // An interlaced record keeps only half the front porch: when the porch one line longer
    // derives the same registers, the record cannot tell the two apart.
    int32_t VFrontPorchMax = 0;
    int32_t VSync = 0;
    int32_t VBackPorch = 0;      // VT - VFP - VS - VA, for the shorter porch
    int32_t WholeFrameRate = 0;  // the integer part the editor derives from
    bool Interlaced = false;     // the editor's "Yes"; any flag but 1 leaves its list unselected
};

struct EditorDerivation {
    fmt::FrameDerivation Frame = fmt::FrameDerivation::Ok;
    fmt::FrameRegisters FrameValues;
    fmt::VbiLines Vbi;
};

EditorDerivation Derive(const EditorTiming& timing);

// The record's timing. The vertical front porch is not stored: it follows from F1_VBI_START,
// which the editor computes from it. An interlaced format keeps only half of it, so of the
// porches that halve to that value the ones whose derivation reproduces the record are taken.
EditorTiming RecoverTiming(const fmt::FormatRecord& record);

// A register whose stored value is not the one derived from the record's timing.
struct RegisterMismatch {
    std::string Name;
    uint16_t Stored = 0;
    uint16_t Derived = 0;
};

// FR_LL and L_MAX are compared only when the frame rate and vertical total allow a derivation.
std::vector<RegisterMismatch> CompareWithDerivation(const fmt::FormatRecord& record);

}  // namespace tabletool
