#include "sim/VideoTiming.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

constexpr double kNtscFactor = 1.001;  // the 59.94/29.97/23.98 variants of the CEA rates

struct CatalogueRow {
    const char* Name;
    const char* Standard;
    double PixelClockKHz;
    uint16_t HActive, HFrontPorch, HSync, HTotal;
    uint16_t VActive, VFrontPorch, VSync, VTotal;
    bool HPositive, VPositive, Interlaced;
};

constexpr const char* kDmt = "VESA DMT";
constexpr const char* kCea = "CEA-861";

// Published values: pixel clock, active, front porch, sync width and total per direction.
// Interlaced rows give vertical values as sums over both fields.
const CatalogueRow kRows[] = {
    {"640x480p60", kDmt, 25175, 640, 16, 96, 800, 480, 10, 2, 525, false, false, false},
    {"640x480p72", kDmt, 31500, 640, 24, 40, 832, 480, 9, 3, 520, false, false, false},
    {"640x480p75", kDmt, 31500, 640, 16, 64, 840, 480, 1, 3, 500, false, false, false},
    {"640x480p85", kDmt, 36000, 640, 56, 56, 832, 480, 1, 3, 509, false, false, false},
    {"800x600p56", kDmt, 36000, 800, 24, 72, 1024, 600, 1, 2, 625, true, true, false},
    {"800x600p60", kDmt, 40000, 800, 40, 128, 1056, 600, 1, 4, 628, true, true, false},
    {"800x600p72", kDmt, 50000, 800, 56, 120, 1040, 600, 37, 6, 666, true, true, false},
    {"800x600p75", kDmt, 49500, 800, 16, 80, 1056, 600, 1, 3, 625, true, true, false},
    {"800x600p85", kDmt, 56250, 800, 32, 64, 1048, 600, 1, 3, 631, true, true, false},
    {"1024x768p60", kDmt, 65000, 1024, 24, 136, 1344, 768, 3, 6, 806, false, false, false},
    {"1024x768p70", kDmt, 75000, 1024, 24, 136, 1328, 768, 3, 6, 806, false, false, false},
    {"1024x768p75", kDmt, 78750, 1024, 16, 96, 1312, 768, 1, 3, 800, true, true, false},
    {"1024x768p85", kDmt, 94500, 1024, 48, 96, 1376, 768, 1, 3, 808, true, true, false},
    {"1152x864p75", kDmt, 108000, 1152, 64, 128, 1600, 864, 1, 3, 900, true, true, false},
    {"1280x768p60", kDmt, 79500, 1280, 64, 128, 1664, 768, 3, 7, 798, false, true, false},
    {"1280x800p60", kDmt, 83500, 1280, 72, 128, 1680, 800, 3, 6, 831, false, true, false},
    {"1280x960p60", kDmt, 108000, 1280, 96, 112, 1800, 960, 1, 3, 1000, true, true, false},
    {"1280x1024p60", kDmt, 108000, 1280, 48, 112, 1688, 1024, 1, 3, 1066, true, true, false},
    {"1280x1024p75", kDmt, 135000, 1280, 16, 144, 1688, 1024, 1, 3, 1066, true, true, false},
    {"1280x1024p85", kDmt, 157500, 1280, 64, 160, 1728, 1024, 1, 3, 1072, true, true, false},
    {"1360x768p60", kDmt, 85500, 1360, 64, 112, 1792, 768, 3, 6, 795, true, true, false},
    {"1366x768p60", kDmt, 85500, 1366, 70, 143, 1792, 768, 3, 3, 798, true, true, false},
    {"1400x1050p60", kDmt, 121750, 1400, 88, 144, 1864, 1050, 3, 4, 1089, false, true, false},
    {"1440x900p60", kDmt, 106500, 1440, 80, 152, 1904, 900, 3, 6, 934, false, true, false},
    {"1600x900p60", kDmt, 108000, 1600, 24, 80, 1800, 900, 1, 3, 1000, true, true, false},
    {"1680x1050p60", kDmt, 146250, 1680, 104, 176, 2240, 1050, 3, 6, 1089, false, true, false},
    {"720x480p59.94", kCea, 27000, 720, 16, 62, 858, 480, 9, 6, 525, false, false, false},
    {"720x576p50", kCea, 27000, 720, 12, 64, 864, 576, 5, 5, 625, false, false, false},
    {"720x480i59.94", kCea, 13500, 720, 19, 62, 858, 480, 9, 6, 525, false, false, true},
    {"720x576i50", kCea, 13500, 720, 12, 63, 864, 576, 5, 6, 625, false, false, true},
    {"1280x720p60", kCea, 74250, 1280, 110, 40, 1650, 720, 5, 5, 750, true, true, false},
    {"1280x720p59.94", kCea, 74250 / kNtscFactor, 1280, 110, 40, 1650, 720, 5, 5, 750, true, true,
     false},
    {"1280x720p50", kCea, 74250, 1280, 440, 40, 1980, 720, 5, 5, 750, true, true, false},
    {"1920x1080i60", kCea, 74250, 1920, 88, 44, 2200, 1080, 5, 10, 1125, true, true, true},
    {"1920x1080i59.94", kCea, 74250 / kNtscFactor, 1920, 88, 44, 2200, 1080, 5, 10, 1125, true,
     true, true},
    {"1920x1080i50", kCea, 74250, 1920, 528, 44, 2640, 1080, 5, 10, 1125, true, true, true},
    {"1920x1080p60", kCea, 148500, 1920, 88, 44, 2200, 1080, 4, 5, 1125, true, true, false},
    {"1920x1080p59.94", kCea, 148500 / kNtscFactor, 1920, 88, 44, 2200, 1080, 4, 5, 1125, true,
     true, false},
    {"1920x1080p50", kCea, 148500, 1920, 528, 44, 2640, 1080, 4, 5, 1125, true, true, false},
    {"1920x1080p30", kCea, 74250, 1920, 88, 44, 2200, 1080, 4, 5, 1125, true, true, false},
    {"1920x1080p29.97", kCea, 74250 / kNtscFactor, 1920, 88, 44, 2200, 1080, 4, 5, 1125, true, true,
     false},
    {"1920x1080p25", kCea, 74250, 1920, 528, 44, 2640, 1080, 4, 5, 1125, true, true, false},
    {"1920x1080p24", kCea, 74250, 1920, 638, 44, 2750, 1080, 4, 5, 1125, true, true, false},
    {"1920x1080p23.98", kCea, 74250 / kNtscFactor, 1920, 638, 44, 2750, 1080, 4, 5, 1125, true,
     true, false},
};

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
        VideoTiming t;
        t.HActive = row.HActive;
        t.HFrontPorch = row.HFrontPorch;
        t.HSync = row.HSync;
        t.HTotal = row.HTotal;
        t.VActive = row.VActive;
        t.VFrontPorch = row.VFrontPorch;
        t.VSync = row.VSync;
        t.VTotal = row.VTotal;
        t.HSyncPositive = row.HPositive;
        t.VSyncPositive = row.VPositive;
        t.Interlaced = row.Interlaced;
        const double frames = row.PixelClockKHz * 1000.0 / (double(row.HTotal) * row.VTotal);
        t.FrameRate = row.Interlaced ? frames * 2.0 : frames;
        catalogue.push_back({row.Name, row.Standard, t});
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
