// "show --modelines": each record as an X11 modeline, so that a table can be tried with xrandr.
// A record keeps the totals, the active size, the vertical porch and sync, the polarities and
// the rate, but no horizontal porch or sync width and no clock beyond the rate. So where a
// standard timing has the record's timing, its horizontal porch, sync and clock are printed;
// elsewhere the sync is placed inside the blanking as CVT places it, and the clock is the one
// the rate gives. Either way the modeline reads back to the same record: what the record keeps
// is printed exactly, and what it does not keep does not change it.
#include <cmath>

#include "format/TimingMath.h"
#include "standards/Sources.h"
#include "tools/table/Commands.h"
#include "tools/table/EditorTiming.h"
#include "tools/table/Text.h"

namespace tabletool {
namespace {

// Where the horizontal sync of a timing nobody published goes: CVT's split (back porch half
// the blanking, sync 8 % of the line in 8-pixel cells), then reduced blanking's 48/32 and 8/32,
// then a sync two fifths of a blanking too short for those.
void PlaceHorizontalSync(standards::Timing& t) {
    const int blank = t.HTotal - t.HActive;
    const int cvtSync = static_cast<int>(std::floor(0.08 * t.HTotal / 8.0)) * 8;
    const int cvtFront = blank - blank / 2 - cvtSync;
    if (cvtSync >= 8 && cvtFront >= 8) {
        t.HSync = cvtSync;
        t.HFrontPorch = cvtFront;
    } else if (blank >= 160) {
        t.HFrontPorch = 48;
        t.HSync = 32;
    } else if (blank >= 80) {
        t.HFrontPorch = 8;
        t.HSync = 32;
    } else {
        t.HSync = std::max(1, blank * 2 / 5);
        t.HFrontPorch = (blank - t.HSync) / 2;
    }
}

bool SameKeptTiming(const standards::Timing& a, const standards::Timing& b, uint16_t frameRate) {
    return a.HActive == b.HActive && a.HTotal == b.HTotal && a.VActive == b.VActive &&
           a.VTotal == b.VTotal && a.VFrontPorch == b.VFrontPorch && a.VSync == b.VSync &&
           a.HSyncPositive == b.HSyncPositive && a.VSyncPositive == b.VSyncPositive &&
           a.Interlaced == b.Interlaced &&
           fmt::FrameRateField(standards::RefreshRate(b)) == frameRate;
}

// The published timing that is the record's, with its label; none when no list or formula
// gives one.
bool Published(const standards::Timing& kept, uint16_t frameRate, standards::Timing& found,
               std::string& label) {
    standards::Request size{kept.HActive, kept.VActive, 0.0, kept.Interlaced};
    for (auto source : {standards::TableEntry::Dmt, standards::TableEntry::Cta}) {
        for (const standards::Listed& l : standards::FittingEntries(source, size)) {
            if (SameKeptTiming(kept, l.Value, frameRate)) {
                found = l.Value;
                label = standards::ListedLabel(l);
                return true;
            }
        }
    }
    const double rate = frameRate / 100.0;
    for (auto formula :
         {standards::Formula::Cvt, standards::Formula::CvtRb, standards::Formula::CvtRb2,
          standards::Formula::CvtRb3, standards::Formula::Gtf}) {
        // A formula's rate comes out near the one asked for: 59.96 from 60.
        for (double asked : {rate, std::round(rate)}) {
            size.Rate = asked;
            const standards::Outcome out = standards::Compute(formula, size);
            if (out.Ok && SameKeptTiming(kept, out.Result, frameRate)) {
                found = out.Result;
                label = standards::FormulaName(formula);
                return true;
            }
        }
    }
    return false;
}

// The record's timing as a modeline, with what its horizontal sync came from; empty with the
// reason when the record cannot be one.
std::string RecordModeline(const fmt::FormatRecord& r, const std::string& name, std::string& from) {
    const EditorTiming e = RecoverTiming(r);
    const fmt::TimingBlock& b = r.Timing;
    if (b.FrameRate == 0) {
        from = "its frame rate is 0";
        return "";
    }
    if (e.HTotal <= e.HActive || e.HActive == 0) {
        from = "it has no horizontal blanking to hold a sync";
        return "";
    }
    if (e.VSync <= 0 || e.VActive == 0 || e.VBackPorch < 0 || e.VFrontPorch < 0) {
        from = "its vertical porches and sync do not fit in its total";
        return "";
    }
    standards::Timing t;
    t.HActive = e.HActive;
    t.HTotal = e.HTotal;
    t.VActive = e.VActive;
    t.VTotal = e.VTotal;
    t.VSync = e.VSync;
    t.Interlaced = b.Interlace == 1;
    t.HSyncPositive = b.HPolarity == 1;
    t.VSyncPositive = b.VPolarity == 1;
    // An interlaced record keeps half the front porch; of the two it may be, the one that
    // holds the fields' half lines when the total is odd, as the standards count them.
    t.VFrontPorch = e.VFrontPorch;
    if (t.Interlaced && e.VFrontPorchMax != e.VFrontPorch &&
        (t.VTotal % 2 != 0) == (e.VFrontPorchMax % 2 != 0))
        t.VFrontPorch = e.VFrontPorchMax;
    const double frames = b.FrameRate / 100.0 / (t.Interlaced ? 2.0 : 1.0);
    t.PixelClockKHz = frames * t.HTotal * t.VTotal / 1000.0;

    standards::Timing published;
    std::string label;
    if (Published(t, b.FrameRate, published, label)) {
        t = published;
        from = "the horizontal porch and sync of " + label;
    } else {
        PlaceHorizontalSync(t);
        from = "the horizontal sync placed as CVT places it (a record keeps none)";
    }
    const std::string line = standards::WriteModeline(t, name);
    if (line.empty())
        from = "its vertical porches and sync do not fit in its total";
    return line;
}

}  // namespace

int ShowModelines(const TableImage& image, std::ostream& out) {
    out << "# " << image.Name
        << FormatText(": %u records (%u built-in, %u user), each as a modeline for xrandr\n",
                      Count(image.Records.size()), Count(image.BuiltinRecords()),
                      Count(image.UserRecords()));
    int code = 0;
    for (size_t i = 0; i < image.Records.size(); ++i) {
        const fmt::FormatRecord& r = image.Records[i];
        std::string id = image.IdText(i);
        std::string name = SizeText(r.Timing) + (r.Timing.Interlace == 1 ? "i_" : "_") +
                           RateText(r.Timing) + "_" + (image.IsBuiltin(i) ? "builtin" : "user") +
                           std::to_string(image.ListId(i));
        std::string from;
        const std::string line = RecordModeline(r, name, from);
        out << "# " << id << ": " << SizeText(r.Timing) << ' ' << RateText(r.Timing)
            << (r.Enabled != 0 ? ", on" : ", off");
        if (line.empty()) {
            out << "; no modeline: " << from << '\n';
            code = 1;
            continue;
        }
        out << "; " << from << '\n' << line << '\n';
    }
    return code;
}

}  // namespace tabletool
