// The simulated card's catalogue is taken from the DMT and CTA-861 lists of standards;
// every signal it carries must stay what it was when the catalogue held its own figures.
#include <gtest/gtest.h>

#include <cstdint>

#include "sim/VideoTiming.h"

namespace sim {
namespace {

constexpr double kNtscFactor = 1.001;

struct Published {
    const char* Name;
    const char* Standard;
    double PixelClockKHz;
    uint16_t HActive, HFrontPorch, HSync, HTotal;
    uint16_t VActive, VFrontPorch, VSync, VTotal;
    bool HPositive, VPositive, Interlaced;
};

constexpr const char* kDmt = "VESA DMT";
constexpr const char* kCea = "CEA-861";

// The catalogue's own figures before it moved onto the lists.
const Published kPublished[] = {
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

TEST(Catalogue, CarriesTheSameSignalsAsBefore) {
    ASSERT_EQ(StandardTimings().size(), std::size(kPublished));
    for (const Published& row : kPublished) {
        SCOPED_TRACE(row.Name);
        const StandardTiming* entry = FindStandardTiming(row.Name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Name, row.Name);
        EXPECT_EQ(entry->Standard, row.Standard);
        const VideoTiming& t = entry->Timing;
        const VideoTiming expected{row.HActive,   row.HFrontPorch, row.HSync,      row.HTotal,
                                   row.VActive,   row.VFrontPorch, row.VSync,      row.VTotal,
                                   row.HPositive, row.VPositive,   row.Interlaced, 0.0};
        VideoTiming sameRate = t;
        sameRate.FrameRate = 0.0;
        EXPECT_EQ(sameRate, expected);
        const double frames = row.PixelClockKHz * 1000.0 / (double(row.HTotal) * row.VTotal);
        EXPECT_EQ(t.FrameRate, row.Interlaced ? frames * 2.0 : frames);
    }
}

}  // namespace
}  // namespace sim
