// The timing standards as plain functions and tables, with no window, card or toolkit behind
// them: the CVT formulas (standard blanking and reduced blanking v1, v2, v3), the GTF formula,
// and the DMT and CTA-861 lists. Every result is one timing in the editor's terms.
#pragma once

#include <string>
#include <vector>

namespace standards {

// A timing as the timing editor takes it. Vertical values of an interlaced timing are sums over
// both fields, the half lines of the two fields making one more front-porch line (1080i: VFP 5,
// VS 10, VT 1125); its rate is then the field rate.
struct Timing {
    int HActive = 0;
    int HFrontPorch = 0;
    int HSync = 0;
    int HTotal = 0;
    int VActive = 0;
    int VFrontPorch = 0;
    int VSync = 0;
    int VTotal = 0;
    bool HSyncPositive = false;
    bool VSyncPositive = false;
    bool Interlaced = false;
    double PixelClockKHz = 0.0;
    bool operator==(const Timing&) const = default;
};

int HBackPorch(const Timing& t);
int VBackPorch(const Timing& t);
// Frames per second, fields per second for an interlaced timing: what "Frame Rate" holds.
double RefreshRate(const Timing& t);
double LineFrequencyKHz(const Timing& t);
// "1920x1080p60", "1920x1080i59.94": the active size, p or i, the rate with up to two decimals.
std::string TimingName(const Timing& t);
// "148.500 MHz, 67.500 kHz, 60.00 Hz, total 2200x1125", as the user reads a result.
std::string Summary(const Timing& t);

// What the user asks a formula for. Rate is frames per second, fields for interlaced.
struct Request {
    int Width = 0;
    int Height = 0;
    double Rate = 0.0;
    bool Interlaced = false;
};

// A computed timing, or the sentence that says why there is none. Note tells what the standard
// made of a request it cannot take as it stands (a width between character cells).
struct Outcome {
    bool Ok = false;
    Timing Result;
    std::string Why;
    std::string Note;
};

enum class Formula { Cvt, CvtRb, CvtRb2, CvtRb3, Gtf };
// "CVT", "CVT-RB", "CVT-RB2", "CVT-RB3", "GTF".
const char* FormulaName(Formula formula);
bool HasInterlace(Formula formula);

Outcome Compute(Formula formula, const Request& request);
Outcome ComputeCvt(Formula variant, const Request& request);
Outcome ComputeGtf(const Request& request);

// One entry of the DMT or CTA-861 list.
struct TableEntry {
    enum Source { Dmt, Cta } From = Dmt;
    int Code = 0;            // DMT id or VIC
    bool VideoRate = false;  // the 1000/1001 rate of a CTA format that has both (59.94 of 60)
    Timing Value;
    const char* Aspect = "";  // the picture aspect of a CTA-861 format ("16:9", "64:27")
};

// DMT ids 0x01 to 0x58, in order.
const std::vector<TableEntry>& DmtTable();
// VICs 1 to 127 and 193 to 219 in order. A format that CTA-861 gives at a whole rate and at
// 1000/1001 of it (24, 30, 48, 60, 120, 240 Hz; the 480- and 240-line ones at 59.94 and 60,
// 119.88 and 120, 239.76 and 240) has both, the whole rate first.
const std::vector<TableEntry>& CtaTable();
// "DMT 0x52", "VIC 16".
std::string EntryLabel(const TableEntry& entry);

// One entry as a list shows it. The SD formats of CTA-861 that repeat every pixel (1440x480i,
// 1440x576i and their 240- and 288-line kin) are also listed without the repetition, as the
// 720-pixel timing a source sends.
struct Listed {
    const TableEntry* Entry = nullptr;
    bool Unrepeated = false;
    Timing Value;
    double OffsetPercent = 0.0;  // for a measurement: against the entry's line frequency
};
// "DMT 0x52", "VIC 16", "VIC 6 unrepeated".
std::string ListedLabel(const Listed& listed);

// The entries of one list that fit a request; a width, height or rate of 0 fits any, a rate
// fits within 0.05 Hz, and the interlace flag must agree.
std::vector<Listed> FittingEntries(TableEntry::Source source, const Request& request);

// Both lists' entries whose active size and line frequency agree with a measurement: the width
// exactly, the height exactly (an interlaced entry by its field or its frame height), the line
// frequency within tolerancePercent. Closest line frequency first; equal ones in list order,
// DMT before CTA-861.
std::vector<Listed> MatchMeasurement(int width, int height, double lineKHz,
                                     double tolerancePercent);

}  // namespace standards
