#include "sim/VideoTiming.h"

#include "standards/Timing.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

// Each catalogue timing is an entry of the DMT or CTA-861 list, by its code. The 1000/1001
// rates are the list's own variants; the 720-pixel interlaced timings are the list's
// 1440-pixel ones without their pixel repetition.
struct CatalogueRow {
    const char* Name;
    standards::TableEntry::Source From;
    int Code;
    bool VideoRate = false;
    bool Unrepeated = false;
};

constexpr auto kDmt = standards::TableEntry::Dmt;
constexpr auto kCta = standards::TableEntry::Cta;

const CatalogueRow kRows[] = {
    {"640x480p60", kDmt, 0x04},
    {"640x480p72", kDmt, 0x05},
    {"640x480p75", kDmt, 0x06},
    {"640x480p85", kDmt, 0x07},
    {"800x600p56", kDmt, 0x08},
    {"800x600p60", kDmt, 0x09},
    {"800x600p72", kDmt, 0x0A},
    {"800x600p75", kDmt, 0x0B},
    {"800x600p85", kDmt, 0x0C},
    {"1024x768p60", kDmt, 0x10},
    {"1024x768p70", kDmt, 0x11},
    {"1024x768p75", kDmt, 0x12},
    {"1024x768p85", kDmt, 0x13},
    {"1152x864p75", kDmt, 0x15},
    {"1280x768p60", kDmt, 0x17},
    {"1280x800p60", kDmt, 0x1C},
    {"1280x960p60", kDmt, 0x20},
    {"1280x1024p60", kDmt, 0x23},
    {"1280x1024p75", kDmt, 0x24},
    {"1280x1024p85", kDmt, 0x25},
    {"1360x768p60", kDmt, 0x27},
    {"1366x768p60", kDmt, 0x51},
    {"1400x1050p60", kDmt, 0x2A},
    {"1440x900p60", kDmt, 0x2F},
    {"1600x900p60", kDmt, 0x53},
    {"1680x1050p60", kDmt, 0x3A},
    {"720x480p59.94", kCta, 2, true},
    {"720x576p50", kCta, 17},
    {"720x480i59.94", kCta, 6, true, true},
    {"720x576i50", kCta, 21, false, true},
    {"1280x720p60", kCta, 4},
    {"1280x720p59.94", kCta, 4, true},
    {"1280x720p50", kCta, 19},
    {"1920x1080i60", kCta, 5},
    {"1920x1080i59.94", kCta, 5, true},
    {"1920x1080i50", kCta, 20},
    {"1920x1080p60", kCta, 16},
    {"1920x1080p59.94", kCta, 16, true},
    {"1920x1080p50", kCta, 31},
    {"1920x1080p30", kCta, 34},
    {"1920x1080p29.97", kCta, 34, true},
    {"1920x1080p25", kCta, 33},
    {"1920x1080p24", kCta, 32},
    {"1920x1080p23.98", kCta, 32, true},
};

const standards::TableEntry& ListEntry(const CatalogueRow& row) {
    const auto& list = row.From == kDmt ? standards::DmtTable() : standards::CtaTable();
    for (const standards::TableEntry& entry : list) {
        if (entry.Code == row.Code && entry.VideoRate == row.VideoRate)
            return entry;
    }
    std::abort();  // a catalogue row names an entry the lists do not have
}

struct ParsedName {
    int Width = 0;
    int Height = 0;
    bool Interlaced = false;
    double Rate = 0.0;
};

bool ParseInt(std::string_view& text, int& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr == text.data()) {
        return false;
    }
    text.remove_prefix(static_cast<size_t>(result.ptr - text.data()));
    return true;
}

bool ParseName(std::string_view text, ParsedName& parsed) {
    if (!ParseInt(text, parsed.Width) || text.empty() || (text[0] != 'x' && text[0] != 'X')) {
        return false;
    }
    text.remove_prefix(1);
    if (!ParseInt(text, parsed.Height) || text.empty()) {
        return false;
    }
    const char scan = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    if (scan != 'p' && scan != 'i') {
        return false;
    }
    parsed.Interlaced = scan == 'i';
    text.remove_prefix(1);
    const std::string rate(text);
    if (rate.empty() || !(std::isdigit(static_cast<unsigned char>(rate[0])))) {
        return false;
    }
    char* end = nullptr;
    parsed.Rate = std::strtod(rate.c_str(), &end);
    return end != nullptr && *end == '\0' && parsed.Rate > 0.0;
}

std::vector<StandardTiming> BuildCatalogue() {
    std::vector<StandardTiming> catalogue;
    for (const CatalogueRow& row : kRows) {
        const standards::TableEntry& entry = ListEntry(row);
        standards::Timing s = entry.Value;
        if (row.Unrepeated) {
            s.HActive /= 2;
            s.HFrontPorch /= 2;
            s.HSync /= 2;
            s.HTotal /= 2;
            s.PixelClockKHz /= 2;
        }
        VideoTiming t;
        t.HActive = static_cast<uint16_t>(s.HActive);
        t.HFrontPorch = static_cast<uint16_t>(s.HFrontPorch);
        t.HSync = static_cast<uint16_t>(s.HSync);
        t.HTotal = static_cast<uint16_t>(s.HTotal);
        t.VActive = static_cast<uint16_t>(s.VActive);
        t.VFrontPorch = static_cast<uint16_t>(s.VFrontPorch);
        t.VSync = static_cast<uint16_t>(s.VSync);
        t.VTotal = static_cast<uint16_t>(s.VTotal);
        t.HSyncPositive = s.HSyncPositive;
        t.VSyncPositive = s.VSyncPositive;
        t.Interlaced = s.Interlaced;
        t.FrameRate = standards::RefreshRate(s);
        catalogue.push_back({row.Name, entry.From == kDmt ? "VESA DMT" : "CEA-861", t});
    }
    return catalogue;
}

}  // namespace

int32_t HBackPorch(const VideoTiming& t) {
    return int32_t(t.HTotal) - t.HActive - t.HFrontPorch - t.HSync;
}

int32_t VBackPorch(const VideoTiming& t) {
    return int32_t(t.VTotal) - t.VActive - t.VFrontPorch - t.VSync;
}

double LineFrequencyHz(const VideoTiming& t) {
    const double lines = t.FrameRate * t.VTotal;
    return t.Interlaced ? lines / 2.0 : lines;
}

double PixelClockHz(const VideoTiming& t) {
    return LineFrequencyHz(t) * t.HTotal;
}

bool IsPlausibleTiming(const VideoTiming& t, std::string* why) {
    const char* problem = nullptr;
    if (t.HActive == 0 || t.VActive == 0) {
        problem = "the active size is zero";
    } else if (HBackPorch(t) < 0) {
        problem = "the horizontal active size, front porch and sync exceed the total";
    } else if (VBackPorch(t) < 0) {
        problem = "the vertical active size, front porch and sync exceed the total";
    } else if (!(t.FrameRate > 0.0) || t.FrameRate > 1000.0) {
        problem = "the frame rate is not between 0 and 1000 Hz";
    }
    if (problem != nullptr && why != nullptr) {
        *why = problem;
    }
    return problem == nullptr;
}

std::string TimingName(const VideoTiming& t) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.2f", t.FrameRate);
    std::string rateText(rate);
    while (rateText.back() == '0') {
        rateText.pop_back();
    }
    if (rateText.back() == '.') {
        rateText.pop_back();
    }
    return std::to_string(t.HActive) + "x" + std::to_string(t.VActive) +
           (t.Interlaced ? "i" : "p") + rateText;
}

const std::vector<StandardTiming>& StandardTimings() {
    static const std::vector<StandardTiming> catalogue = BuildCatalogue();
    return catalogue;
}

const StandardTiming* FindStandardTiming(std::string_view name) {
    ParsedName wanted;
    if (!ParseName(name, wanted)) {
        return nullptr;
    }
    for (const StandardTiming& entry : StandardTimings()) {
        ParsedName have;
        ParseName(entry.Name, have);
        if (have.Width == wanted.Width && have.Height == wanted.Height &&
            have.Interlaced == wanted.Interlaced && std::fabs(have.Rate - wanted.Rate) < 0.0005) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace sim
