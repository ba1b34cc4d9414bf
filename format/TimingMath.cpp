#include "format/TimingMath.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace fmt {

namespace {

constexpr int32_t kMaxLineLengthCount = 0x3FFF;

// The editor shows a value with two decimals and reads the text back; going through the same
// text keeps our numbers equal to the ones a user would get by typing them.
uint16_t HundredthsOf(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%3.2f", value);
    return static_cast<uint16_t>(static_cast<int64_t>(std::strtod(text, nullptr) * 100.0));
}

}  // namespace

bool FrameLineLength(int32_t frameRate, int32_t vTotal, int32_t& frLl) {
    if (frameRate <= 0) {
        return false;
    }
    const int64_t product = static_cast<int64_t>(frameRate) * vTotal;
    if (product == 0) {
        return false;
    }
    frLl = static_cast<int32_t>(kReferenceClockHz / product);
    return true;
}

double PixelClockMHz(int32_t frameRate, int32_t vTotal, int32_t hTotal) {
    const int64_t linesPerSecond = int64_t{frameRate} * vTotal;
    const int64_t lines = linesPerSecond < 0 ? -linesPerSecond : linesPerSecond;
    const int64_t pixels = hTotal < 0 ? -int64_t{hTotal} : int64_t{hTotal};
    if (pixels != 0 && lines > std::numeric_limits<int64_t>::max() / pixels) {
        return static_cast<double>(linesPerSecond) * hTotal / 1000000.0;
    }
    return static_cast<double>(linesPerSecond * hTotal) / 1000000.0;
}

FrameDerivation DeriveFrameRegisters(int32_t hTotal, int32_t vTotal, int32_t frameRate,
                                     FrameRegisters& out) {
    out = FrameRegisters{};
    out.PLLDivRatio = hTotal;
    if (frameRate <= 0)
        return FrameDerivation::FrameRateNotPositive;
    if (vTotal == 0)
        return FrameDerivation::VerticalTotalZero;
    FrameLineLength(frameRate, vTotal, out.FR_LL);
    out.L_MAX = vTotal;
    out.PixelClockMHz = PixelClockMHz(frameRate, vTotal, hTotal);
    return FrameDerivation::Ok;
}

VbiLines DeriveVbiLines(int32_t vTotal, int32_t vActive, int32_t vFrontPorch, int32_t vSync,
                        bool interlaced) {
    VbiLines lines;
    const int64_t vt = vTotal;
    const int64_t vbp = vt - vFrontPorch - vSync - vActive;
    lines.VBackPorch = static_cast<int32_t>(vbp);
    int64_t f1Start = 0;
    int64_t f1End = 0;
    int64_t f2Start = 0;
    int64_t f2End = 0;
    if (interlaced) {
        f1Start = vt - vFrontPorch / 2 + 1;
        f1End = vbp / 2 + vSync / 2 + 1;
        f2Start = vt / 2 - vFrontPorch / 2 + 1;
        f2End = vbp / 2 + vt / 2 + vSync / 2 + 2;
    } else {
        f1Start = vt - vFrontPorch + 1;
        f1End = vSync + vbp + 1;
        f2Start = vt - vFrontPorch + 1;
        f2End = vSync + vbp + vt + 1;
    }
    lines.F1Start = static_cast<uint16_t>(f1Start & 0xFFFF);
    lines.F1End = static_cast<uint16_t>(f1End & 0xFFFF);
    lines.F2Start = static_cast<uint16_t>(f2Start & 0xFFFF);
    lines.F2End = static_cast<uint16_t>(f2End & 0xFFFF);
    return lines;
}

int32_t LineLengthCount(double lineFrequencyHz) {
    if (!(lineFrequencyHz > 0.0)) {
        return 0;
    }
    const double count = std::round(kLineCountClockHz / lineFrequencyHz);
    if (count > kMaxLineLengthCount) {
        return kMaxLineLengthCount;
    }
    return static_cast<int32_t>(count);
}

double LineFrequencyKHz(int32_t count) {
    if (count == 0) {
        return 0.0;
    }
    return kLineCountClockHz / count / 1000.0;
}

uint16_t LineFreqField(int32_t count) {
    return HundredthsOf(LineFrequencyKHz(count));
}

uint16_t FrameRateField(double frameRateHz) {
    return HundredthsOf(frameRateHz);
}

}  // namespace fmt
