// The arithmetic that turns a video timing into the chip's register values and the record's
// measurement fields. Pure functions: the timing editor, the built-in table of the simulated
// driver and the simulated chip all use them, so a format means the same numbers everywhere.
// Integer results follow the editor's 32-bit signed arithmetic; register values keep their low
// 16 bits as the record stores them.
#pragma once

#include <cstdint>

namespace fmt {

// The chip's reference clock, and eight times it: the clock of the line-length counter.
constexpr int32_t kReferenceClockHz = 28636300;
constexpr double kLineCountClockHz = 229090400.0;

// PLLDivRatio is the horizontal total; L_MAX the vertical total.
constexpr uint16_t PllDivRatio(int32_t hTotal) {
    return static_cast<uint16_t>(hTotal);
}
constexpr uint16_t LMax(int32_t vTotal) {
    return static_cast<uint16_t>(vTotal);
}

// FR_LL = 28636300 / (frameRate x vTotal), truncated; frameRate is the integer part of the rate
// (the field rate of an interlaced format). False, with frLl untouched, when frameRate is not
// positive or the product is 0.
bool FrameLineLength(int32_t frameRate, int32_t vTotal, int32_t& frLl);

// The value the chip's FR_LL register takes: an interlaced format's line is counted per field,
// so the record's value is doubled (cut to 16 bits).
constexpr uint16_t ChipFrLl(uint16_t frLl, bool interlaced) {
    return interlaced ? static_cast<uint16_t>(frLl * 2) : frLl;
}

// frameRate x vTotal x hTotal / 1000000 in MHz, the product taken wide enough not to overflow
// (beyond 64 bits it is taken in floating point rather than wrapped).
double PixelClockMHz(int32_t frameRate, int32_t vTotal, int32_t hTotal);

// What the timing editor derives for a whole frame from the totals and the whole frame rate.
// The values are the editor's 32-bit ones, before a record keeps their low 16 bits.
struct FrameRegisters {
    int32_t PLLDivRatio = 0;  // always set, even when the rest cannot be derived
    int32_t FR_LL = 0;
    int32_t L_MAX = 0;
    double PixelClockMHz = 0.0;
};
enum class FrameDerivation {
    Ok,
    FrameRateNotPositive,  // FR_LL, L_MAX and the pixel clock are left at 0
    VerticalTotalZero,     // likewise: a frame without lines has no line length
};
FrameDerivation DeriveFrameRegisters(int32_t hTotal, int32_t vTotal, int32_t frameRate,
                                     FrameRegisters& out);

// Blanking intervals of the two fields. Interlaced formats give vertical values as the sum over
// both fields (a 1080i timing: VT 1125, VFP 5, VS 10); each term is halved on its own.
struct VbiLines {
    int32_t VBackPorch = 0;  // VT - VFP - VS - VA, its low 32 bits
    uint16_t F1Start = 0;
    uint16_t F1End = 0;
    uint16_t F2Start = 0;
    uint16_t F2End = 0;
};
// The arithmetic is wide, so no typed value overflows; each result keeps its low 16 bits.
VbiLines DeriveVbiLines(int32_t vTotal, int32_t vActive, int32_t vFrontPorch, int32_t vSync,
                        bool interlaced);

// Line-length count the chip measures for a line frequency: round(229090400 / Hz), within the
// counter's 14 bits (0 when there is no line).
int32_t LineLengthCount(double lineFrequencyHz);
// Line frequency in kHz as detection computes it from a count (0 for a count of 0).
double LineFrequencyKHz(int32_t count);
// The record's LineFreq (kHz x 100) from a count: the detection's "%3.2f" text read back as a
// decimal number times 100, truncated, as the editor stores it.
uint16_t LineFreqField(int32_t count);
// The record's FrameRate (Hz x 100, truncated) from a rate given to two decimals.
uint16_t FrameRateField(double frameRateHz);

}  // namespace fmt
