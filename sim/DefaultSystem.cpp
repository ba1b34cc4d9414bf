// The machine a fresh installation of the simulation starts with.
#include "format/FormatTable.h"
#include "format/TimingMath.h"
#include "sim/VirtualSystem.h"

namespace sim {

namespace {

constexpr const char* kVesaTag = "_vesa_support";
constexpr const char* kCeaTag = "_cea_support";
constexpr const char* kUserTag = "_autogr_support";

struct DefaultFormat {
    const char* Name;
    bool Enabled;
};

// Built-in formats, in the order the driver lists them.
constexpr DefaultFormat kBuiltins[] = {
    {"640x480p60", true},    {"640x480p72", true},   {"640x480p75", true},
    {"800x600p56", false},   {"800x600p60", true},   {"800x600p72", true},
    {"800x600p75", true},    {"1024x768p60", true},  {"1024x768p70", true},
    {"1024x768p75", true},   {"1152x864p75", false}, {"1280x768p60", true},
    {"1280x960p60", true},   {"1280x1024p60", true}, {"1280x1024p75", true},
    {"1360x768p60", true},   {"1440x900p60", true},  {"1680x1050p60", true},
    {"720x480p59.94", true}, {"720x576p50", true},   {"720x480i59.94", true},
    {"720x576i50", false},   {"1280x720p50", true},  {"1280x720p59.94", true},
    {"1280x720p60", true},   {"1920x1080i50", true}, {"1920x1080i59.94", true},
    {"1920x1080i60", true},  {"1920x1080p24", true}, {"1920x1080p25", true},
    {"1920x1080p30", true},  {"1920x1080p50", true}, {"1920x1080p59.94", true},
    {"1920x1080p60", true},
};

// Formats a user added with the timing editor.
constexpr DefaultFormat kUserFormats[] = {
    {"1366x768p60", true},
    {"1600x900p60", true},
    {"1280x800p60", false},
};

std::string TagFor(const StandardTiming& standard) {
    return standard.Standard == "CEA-861" ? kCeaTag : kVesaTag;
}

}  // namespace

fmt::FormatRecord RecordFromTiming(const VideoTiming& t, const char* tag, uint32_t enabled) {
    fmt::FormatRecord record;
    record.TagBytes = fmt::MakeTag(tag);
    record.Enabled = enabled;

    const int32_t lineCount = fmt::LineLengthCount(LineFrequencyHz(t));
    fmt::TimingBlock& timing = record.Timing;
    timing.PixelClockMHz = static_cast<uint16_t>(PixelClockHz(t) / 1000000.0);
    timing.LineFreq = fmt::LineFreqField(lineCount);
    timing.FrameRate = fmt::FrameRateField(t.FrameRate);
    timing.HPolarity = t.HSyncPositive ? 1 : 0;
    timing.VPolarity = t.VSyncPositive ? 1 : 0;
    timing.Interlace = t.Interlaced ? 1 : 0;
    timing.HActive = t.HActive;
    timing.VActive = t.VActive;
    timing.HTotal = t.HTotal;
    timing.VTotal = t.VTotal;
    timing.LineLengthRange = fmt::LineLengthRange(lineCount);
    timing.VSyncRange1 = timing.VSyncRange2 = timing.VSyncRange3 = fmt::VSyncRange(t.VSync);
    timing.VTotalRange1 = timing.VTotalRange2 = fmt::VTotalRange(t.VTotal);
    timing.Word64 = 12;

    // The editor works from the whole frame rate (59 for 59.94).
    const auto frameRate = static_cast<int32_t>(t.FrameRate);
    fmt::RegisterBlock& regs = record.Registers;
    regs.PLLDivRatio = fmt::PllDivRatio(t.HTotal);
    regs.Interlace = timing.Interlace;
    int32_t frLl = 0;
    if (fmt::FrameLineLength(frameRate, t.VTotal, frLl)) {
        regs.FR_LL = static_cast<uint16_t>(frLl);
    }
    regs.L_MAX = fmt::LMax(t.VTotal);
    regs.Word12 = 2;
    const fmt::VbiLines vbi =
        fmt::DeriveVbiLines(t.VTotal, t.VActive, t.VFrontPorch, t.VSync, t.Interlaced);
    regs.F1_VBI_START = vbi.F1Start;
    regs.F1_VBI_END = vbi.F1End;
    regs.F2_VBI_START = vbi.F2Start;
    regs.F2_VBI_END = vbi.F2End;
    return record;
}

std::vector<uint8_t> DefaultFormatTableFile() {
    std::vector<fmt::FormatRecord> records;
    for (const DefaultFormat& format : kBuiltins) {
        const StandardTiming* standard = FindStandardTiming(format.Name);
        records.push_back(
            RecordFromTiming(standard->Timing, TagFor(*standard).c_str(), format.Enabled ? 1 : 0));
    }
    const auto builtinCount = static_cast<uint16_t>(records.size());
    for (const DefaultFormat& format : kUserFormats) {
        const StandardTiming* standard = FindStandardTiming(format.Name);
        const VideoTiming& t = standard->Timing;
        fmt::FormatRecord record = RecordFromTiming(t, kUserTag, format.Enabled ? 1 : 0);
        // The editor computes the pixel clock from the whole frame rate.
        record.Timing.PixelClockMHz = static_cast<uint16_t>(
            fmt::PixelClockMHz(static_cast<int32_t>(t.FrameRate), t.VTotal, t.HTotal));
        records.push_back(record);
    }
    return fmt::EncodeTableFile(builtinCount, records);
}

SystemDescription DefaultSystemDescription() {
    SystemDescription description;
    description.Architecture = "amd64";
    description.CodePage = "utf-8";

    DeviceDescription hd;
    hd.FriendlyName = "Zeriveve HD Capture";
    StandardSignal("1920x1080p60", hd.Hdmi);
    description.Devices.push_back(hd);

    DeviceDescription analog;
    analog.FriendlyName = "Zeriveve Analog Capture";
    StandardSignal("1280x1024p60", analog.Vga);
    description.Devices.push_back(analog);
    return description;
}

}  // namespace sim
