// Finding list entries: those that fit what the user typed, and those that agree with what
// the card measured.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "standards/Timing.h"

namespace standards {

namespace {
constexpr double kRateSlack = 0.05;  // Hz: "60" finds 60.00 but not 59.94
}

std::string EntryLabel(const TableEntry& entry) {
    char text[32];
    if (entry.From == TableEntry::Dmt)
        std::snprintf(text, sizeof text, "DMT 0x%02X", entry.Code);
    else
        std::snprintf(text, sizeof text, "VIC %d", entry.Code);
    return text;
}

std::string ListedLabel(const Listed& listed) {
    return EntryLabel(*listed.Entry) + (listed.Unrepeated ? " unrepeated" : "");
}

namespace {

// A CTA-861 SD format sent with every pixel twice: 1440 samples a line for 720 picture pixels.
bool RepeatsPixels(const TableEntry& entry) {
    return entry.From == TableEntry::Cta && entry.Value.HActive == 1440 &&
           entry.Value.VActive <= 576;
}

Timing Unrepeat(Timing t) {
    t.HActive /= 2;
    t.HFrontPorch /= 2;
    t.HSync /= 2;
    t.HTotal /= 2;
    t.PixelClockKHz /= 2;
    return t;
}

// Every entry of the lists, and the unrepeated form right after each repeating one.
std::vector<Listed> Everything(TableEntry::Source source) {
    std::vector<Listed> all;
    for (const TableEntry& entry : source == TableEntry::Dmt ? DmtTable() : CtaTable()) {
        all.push_back({&entry, false, entry.Value, 0.0});
        if (RepeatsPixels(entry))
            all.push_back({&entry, true, Unrepeat(entry.Value), 0.0});
    }
    return all;
}

}  // namespace

std::vector<Listed> FittingEntries(TableEntry::Source source, const Request& request) {
    std::vector<Listed> fitting;
    for (const Listed& listed : Everything(source)) {
        const Timing& t = listed.Value;
        if (request.Width > 0 && t.HActive != request.Width)
            continue;
        if (request.Height > 0 && t.VActive != request.Height)
            continue;
        if (request.Rate > 0.0 && std::fabs(RefreshRate(t) - request.Rate) > kRateSlack)
            continue;
        if (t.Interlaced != request.Interlaced)
            continue;
        fitting.push_back(listed);
    }
    return fitting;
}

std::vector<Listed> MatchMeasurement(int width, int height, double lineKHz,
                                     double tolerancePercent) {
    std::vector<Listed> matches;
    if (width <= 0 || height <= 0 || !(lineKHz > 0.0))
        return matches;
    for (TableEntry::Source source : {TableEntry::Dmt, TableEntry::Cta}) {
        for (Listed listed : Everything(source)) {
            const Timing& t = listed.Value;
            // The card counts one field of an interlaced signal once its chip is set for one,
            // and the whole frame while it still follows the input by itself.
            const bool heightFits =
                t.VActive == height || (t.Interlaced && t.VActive / 2 == height);
            if (t.HActive != width || !heightFits)
                continue;
            const double expected = LineFrequencyKHz(t);
            listed.OffsetPercent = (lineKHz - expected) / expected * 100.0;
            if (std::fabs(listed.OffsetPercent) <= tolerancePercent)
                matches.push_back(listed);
        }
    }
    std::stable_sort(matches.begin(), matches.end(), [](const Listed& a, const Listed& b) {
        return std::fabs(a.OffsetPercent) < std::fabs(b.OffsetPercent);
    });
    return matches;
}

}  // namespace standards
