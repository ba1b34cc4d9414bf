#include "timing/EditorRecord.h"

#include <cstring>

#include "format/TimingMath.h"
#include "timing/TextNumber.h"
#include "timing/Trace.h"

namespace timing {
namespace {

constexpr char kAutoTag[] = "_autogr_support";  // with its terminator: bytes 0-15 of the tag
constexpr uint32_t kTimingWord64 = 12;
constexpr uint32_t kRegisterWord12 = 2;

// A drop-down list's text as a flag: 1 for its second item only. The first item and a list with
// no selection both give 0.
uint8_t FlagOf(const std::string& text, const char* oneText) {
    return text == oneText ? 1 : 0;
}

int32_t Int(const std::string& text) {
    return timing::ParseDecimalInt(text);
}

uint16_t Hex16(const std::string& text) {
    return static_cast<uint16_t>(timing::ParseHex(text));
}

}  // namespace

fmt::FormatRecord BuildRecord(const RecordFields& f, const fmt::FormatRecord& base) {
    fmt::FormatRecord record = base;
    // The first 16 tag bytes are the program's mark; the rest of the tag is not ours to change.
    std::memcpy(record.TagBytes.data(), kAutoTag, sizeof kAutoTag);
    record.Enabled = 1;

    fmt::TimingBlock& t = record.Timing;
    t.PixelClockMHz = static_cast<uint16_t>(Int(f.PixelClock));
    t.LineFreq = static_cast<uint16_t>(timing::Hundredths(f.LineFreq));
    t.FrameRate = static_cast<uint16_t>(timing::Hundredths(f.FrameRate));
    t.HPolarity = FlagOf(f.HPolarity, "Positive");
    t.VPolarity = FlagOf(f.VPolarity, "Positive");
    const uint8_t interlace = FlagOf(f.Interlace, "Yes");
    t.Interlace = interlace;
    t.Byte9 = 0;
    t.Byte10 = 0;
    t.HActive = static_cast<uint16_t>(Int(f.HActive));
    t.VActive = static_cast<uint16_t>(Int(f.VActive));
    t.HTotal = static_cast<uint16_t>(Int(f.HTotal));
    const int32_t vTotal = Int(f.VTotal);
    t.VTotal = static_cast<uint16_t>(vTotal);
    t.LineLengthRange = fmt::LineLengthRange(Int(f.LineLength));
    const int32_t vSync = Int(f.VSync);
    t.VSyncRange1 = fmt::VSyncRange(vSync);
    t.VSyncRange2 = fmt::VSyncRange(vSync);
    t.VSyncRange3 = fmt::VSyncRange(vSync);
    t.VTotalRange1 = fmt::VTotalRange(vTotal);
    t.VTotalRange2 = fmt::VTotalRange(vTotal);
    t.Word64 = kTimingWord64;

    fmt::RegisterBlock& g = record.Registers;
    g.PLLDivRatio = Hex16(f.PllDivRatio);
    g.Interlace = interlace;
    g.FR_LL = Hex16(f.FrLl);
    g.Word6 = 0;
    g.L_MAX = Hex16(f.LMax);
    g.Word10 = 0;
    g.Word12 = kRegisterWord12;
    g.DE_H_START = Hex16(f.DeHStart);
    g.DE_H_END = Hex16(f.DeHEnd);
    g.DE_V_START = static_cast<uint8_t>(Hex16(f.DeVStart));
    g.DE_V_END = static_cast<uint8_t>(Hex16(f.DeVEnd));
    g.F1_VBI_START = Hex16(f.F1VbiStart);
    g.F1_VBI_END = Hex16(f.F1VbiEnd);
    g.F2_VBI_START = Hex16(f.F2VbiStart);
    g.F2_VBI_END = Hex16(f.F2VbiEnd);
    g.Word30 = 0;
    return record;
}

std::string RegisterText(uint32_t value) {
    return FormatText("%03X", static_cast<unsigned>(value));
}

std::string PixelClockText(double mhz) {
    return FormatText("%3.4f", mhz);
}

std::string LineFreqText(int32_t count) {
    // No count, no line: the frequency is 0 rather than a division by zero.
    return FormatText("%3.2f", fmt::LineFrequencyKHz(count));
}

std::string RateText(double hz) {
    return FormatText("%.2f", hz);
}

bool FieldsAfterStandardTest(const standards::Timing& t, int32_t lineLengthCount, RecordFields& f,
                             std::string& why) {
    f = RecordFields{};
    // "Standard..." types the timing as a user would.
    f.HActive = FormatText("%d", t.HActive);
    f.VActive = FormatText("%d", t.VActive);
    f.VSync = FormatText("%d", t.VSync);
    f.HTotal = FormatText("%d", t.HTotal);
    f.VTotal = FormatText("%d", t.VTotal);
    f.FrameRate = RateText(standards::RefreshRate(t));
    f.HPolarity = t.HSyncPositive ? "Positive" : "Negtive";
    f.VPolarity = t.VSyncPositive ? "Positive" : "Negtive";
    f.Interlace = t.Interlaced ? "Yes" : "No";
    const std::string vFrontPorch = FormatText("%d", t.VFrontPorch);

    // Detect.
    f.LineLength = FormatText("%d", static_cast<int>(lineLengthCount));
    f.LineFreq = LineFreqText(lineLengthCount);

    // Test: the picture starts centred, and the derivation reads the typed texts back.
    f.DeHStart = f.DeHEnd = f.DeVStart = f.DeVEnd = "0";
    fmt::FrameRegisters frame;
    switch (fmt::DeriveFrameRegisters(Int(f.HTotal), Int(f.VTotal), Int(f.FrameRate), frame)) {
        case fmt::FrameDerivation::FrameRateNotPositive:
            why = "its whole frame rate is 0, from which the editor derives no register";
            return false;
        case fmt::FrameDerivation::VerticalTotalZero:
            why = "it has no vertical total, from which the editor derives no register";
            return false;
        case fmt::FrameDerivation::Ok:
            break;
    }
    f.PllDivRatio = RegisterText(static_cast<uint32_t>(frame.PLLDivRatio));
    f.FrLl = RegisterText(static_cast<uint32_t>(frame.FR_LL));
    f.LMax = RegisterText(static_cast<uint32_t>(frame.L_MAX));
    f.PixelClock = PixelClockText(frame.PixelClockMHz);
    const fmt::VbiLines lines = fmt::DeriveVbiLines(Int(f.VTotal), Int(f.VActive), Int(vFrontPorch),
                                                    Int(f.VSync), t.Interlaced);
    f.F1VbiStart = RegisterText(lines.F1Start);
    f.F1VbiEnd = RegisterText(lines.F1End);
    f.F2VbiStart = RegisterText(lines.F2Start);
    f.F2VbiEnd = RegisterText(lines.F2End);
    return true;
}

}  // namespace timing
