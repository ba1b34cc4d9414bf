// Finding list entries: those that fit what the user typed, and those that agree with what
// the card measured.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "timing/standards/Timing.h"

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

std::vector<const TableEntry*> FittingEntries(TableEntry::Source source, const Request& request) {
    std::vector<const TableEntry*> fitting;
    const auto& table = source == TableEntry::Dmt ? DmtTable() : CtaTable();
    for (const TableEntry& entry : table) {
        const Timing& t = entry.Value;
        if (request.Width > 0 && t.HActive != request.Width)
            continue;
        if (request.Height > 0 && t.VActive != request.Height)
            continue;
        if (request.Rate > 0.0 && std::fabs(RefreshRate(t) - request.Rate) > kRateSlack)
            continue;
        if (t.Interlaced != request.Interlaced)
            continue;
        fitting.push_back(&entry);
    }
    return fitting;
}

std::vector<Match> MatchMeasurement(int width, int height, double lineKHz,
                                    double tolerancePercent) {
    std::vector<Match> matches;
    if (width <= 0 || height <= 0 || !(lineKHz > 0.0))
        return matches;
    for (const auto* table : {&DmtTable(), &CtaTable()}) {
        for (const TableEntry& entry : *table) {
            const Timing& t = entry.Value;
            // The card counts one field of an interlaced signal once its chip is set for one,
            // and the whole frame while it still follows the input by itself.
            const bool heightFits =
                t.VActive == height || (t.Interlaced && t.VActive / 2 == height);
            if (t.HActive != width || !heightFits)
                continue;
            const double expected = LineFrequencyKHz(t);
            const double offset = (lineKHz - expected) / expected * 100.0;
            if (std::fabs(offset) <= tolerancePercent)
                matches.push_back({&entry, offset});
        }
    }
    std::stable_sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return std::fabs(a.OffsetPercent) < std::fabs(b.OffsetPercent);
    });
    return matches;
}

}  // namespace standards
