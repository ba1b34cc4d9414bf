// Video timings the simulated inputs carry, and a catalogue of the standard ones (VESA DMT and
// CEA-861, 640x480 to 1920x1080) looked up by names such as "1920x1080p60", "1920x1080i60" or
// "1280x720p59.94".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Vertical values of an interlaced timing are sums over both fields (1080i: VT 1125, VFP 5,
// VS 10), the way the timing editor takes them; FrameRate is then the field rate.
struct VideoTiming {
    uint16_t HActive = 0;
    uint16_t HFrontPorch = 0;
    uint16_t HSync = 0;
    uint16_t HTotal = 0;
    uint16_t VActive = 0;
    uint16_t VFrontPorch = 0;
    uint16_t VSync = 0;
    uint16_t VTotal = 0;
    bool HSyncPositive = false;
    bool VSyncPositive = false;
    bool Interlaced = false;
    double FrameRate = 0.0;  // Hz
    bool operator==(const VideoTiming&) const = default;
};

int32_t HBackPorch(const VideoTiming& timing);
int32_t VBackPorch(const VideoTiming& timing);
// Lines per second: FrameRate x VTotal, halved for an interlaced timing (two fields a frame).
double LineFrequencyHz(const VideoTiming& timing);
double PixelClockHz(const VideoTiming& timing);
// Non-zero sizes, blanking that fits the totals, a positive rate. why says what is wrong.
bool IsPlausibleTiming(const VideoTiming& timing, std::string* why = nullptr);

// "1920x1080p60": the active size, p or i, and the rate with up to two decimals.
std::string TimingName(const VideoTiming& timing);

struct StandardTiming {
    std::string Name;      // "1280x720p59.94"
    std::string Standard;  // "VESA DMT" or "CEA-861"
    VideoTiming Timing;
};

const std::vector<StandardTiming>& StandardTimings();
// nullptr when the name is not in the catalogue. The rate compares by value ("p60.00" finds
// "p60"); "p" and "i" may be given in either case.
const StandardTiming* FindStandardTiming(std::string_view name);

}  // namespace sim
