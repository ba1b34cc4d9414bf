// The CVT formulas: standard (CRT) blanking, reduced blanking v1 and v2 (CVT 1.2) and reduced
// blanking v3 (CVT 2.0), without margins.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "standards/Internal.h"
#include "standards/Timing.h"

namespace standards {

namespace {

constexpr int kCell = 8;               // character cell width in pixels
constexpr double kMinVSyncBp = 550.0;  // µs of vertical sync and back porch, standard blanking
constexpr int kMinVPorch = 3;          // lines of vertical front porch, standard blanking
constexpr int kRbV2BackPorch = 6;      // lines of vertical back porch, reduced blanking v2, v3
constexpr double kHSyncPercent = 8.0;
constexpr double kCPrime = 30.0;  // the blanking formula's C' and M' (C 40, M 600, K 128, J 20)
constexpr double kMPrime = 300.0;
constexpr double kRbMinVBlank = 460.0;  // µs of vertical blanking, reduced blanking

// The vertical sync width by aspect ratio. A CVT format's width is its height times the ratio,
// rounded down to whole character cells: 1360x768 and 848x480 are 16:9, 1224x768 is 16:10,
// 1280x768 is 15:9. So the ratio is judged on the cell width the timing is computed on, never
// on the width typed.
int VSyncByAspect(int cellWidth, int height, const CvtReading& reading) {
    const struct {
        int Across, Down, Lines;
    } ratios[] = {{4, 3, 4}, {16, 9, 5}, {16, 10, 6}, {5, 4, 7}, {15, 9, 7}};
    for (const auto& r : ratios) {
        const int64_t across = int64_t(height) * r.Across;
        const bool holds = reading.AspectOfExactWidth
                               ? (r.Across == 5 ? across == int64_t(cellWidth) * r.Down
                                                : across / r.Down == cellWidth)
                               : across / r.Down / kCell * kCell == cellWidth;
        if (holds)
            return r.Lines;
    }
    return 10;
}

std::string WidthNote(Formula variant, int asked, int given) {
    return std::string(FormulaName(variant)) + " has no width of " + std::to_string(asked) +
           " pixels; it gives " + std::to_string(given) + ", whole 8-pixel cells.";
}

// One field as the formulas count it.
struct Frame {
    int Lines = 0;         // active lines of a field
    double Interlace = 0;  // the half line of an interlaced field
    double FieldRate = 0;
};

}  // namespace

Outcome ComputeCvt(Formula variant, const Request& request) {
    return ComputeCvt(variant, request, CvtReading{});
}

Outcome ComputeCvt(Formula variant, const Request& request, const CvtReading& reading) {
    Outcome out;
    if (!CheckRequest(variant, request, out))
        return out;
    const bool rb2 = variant == Formula::CvtRb2 || variant == Formula::CvtRb3;
    // Reduced blanking v2 takes any width; the others are made of whole character cells, and a
    // width between two cells is the smaller one's timing.
    const int cellWidth =
        variant == Formula::CvtRb2 ? request.Width : request.Width / kCell * kCell;
    if (cellWidth <= 0)
        return Refuse(out, "The width must be at least 8 pixels, one character cell.");
    if (cellWidth != request.Width)
        out.Note = WidthNote(variant, request.Width, cellWidth);

    Frame f;
    f.Lines = request.Interlaced ? request.Height / 2 : request.Height;
    f.Interlace = request.Interlaced ? 0.5 : 0.0;
    // Reduced blanking v3 (CVT 2.0) computes from a field rate a little above the one asked
    // for, and rounds its clock up: its rate is never below the one asked for.
    f.FieldRate = variant == Formula::CvtRb3 ? request.Rate * reading.Rb3RateFactor : request.Rate;
    const double fieldPeriod = 1000000.0 / f.FieldRate;  // µs

    Timing& t = out.Result;
    int hBlank = 0;
    int hSync = 0;
    int hFront = 0;
    int vFront = 0;
    int vSync = 0;
    int vBlank = 0;  // lines of a field outside the active ones, the half line aside
    double clockMHz = 0.0;

    if (variant == Formula::Cvt) {
        vSync = VSyncByAspect(cellWidth, request.Height, reading);
        const double hPeriod = (fieldPeriod - kMinVSyncBp) / (f.Lines + kMinVPorch + f.Interlace);
        if (!(hPeriod > 0.0))
            return Refuse(out, TooFastMessage(request.Rate));
        int vSyncBp = static_cast<int>(std::floor(kMinVSyncBp / hPeriod)) + 1;
        if (vSyncBp < vSync + reading.MinVBackPorch)
            vSyncBp = vSync + reading.MinVBackPorch;
        vFront = kMinVPorch;
        vBlank = vSyncBp + kMinVPorch;
        double duty = kCPrime - kMPrime * hPeriod / 1000.0;
        if (duty < 20.0)
            duty = 20.0;
        hBlank = static_cast<int>(std::floor(cellWidth * duty / (100.0 - duty) / (2 * kCell))) * 2 *
                 kCell;
        const int total = cellWidth + hBlank;
        clockMHz = 0.25 * StepsDown(total / hPeriod / 0.25);
        hSync = static_cast<int>(std::floor(kHSyncPercent / 100.0 * total / kCell)) * kCell;
        hFront = hBlank - hBlank / 2 - hSync;
        t.HSyncPositive = false;
        t.VSyncPositive = true;
    } else {
        const double hPeriod = (fieldPeriod - kRbMinVBlank) / f.Lines;
        if (!(hPeriod > 0.0))
            return Refuse(out, TooFastMessage(request.Rate));
        const int vbiLines = static_cast<int>(std::floor(kRbMinVBlank / hPeriod)) + 1;
        if (rb2) {
            vSync = 8;
            vBlank = std::max(vbiLines, 1 + vSync + kRbV2BackPorch);
            vFront = vBlank - vSync - kRbV2BackPorch;
            hBlank = 80;
            hSync = 32;
            hFront = 8;
        } else {
            vSync = VSyncByAspect(cellWidth, request.Height, reading);
            vFront = 3;
            vBlank = std::max(vbiLines, vFront + vSync + reading.MinVBackPorch);
            hBlank = 160;
            hSync = 32;
            hFront = 48;
        }
        const double fieldLines = f.Lines + vBlank + f.Interlace;
        const double ideal = f.FieldRate * fieldLines * (cellWidth + hBlank) / 1000000.0;
        if (variant == Formula::CvtRb)
            clockMHz = 0.25 * StepsDown(ideal / 0.25);
        else if (variant == Formula::CvtRb2)
            clockMHz = 0.001 * StepsDown(ideal / 0.001);
        else
            clockMHz = reading.Rb3ClockStepMHz * StepsUp(ideal / reading.Rb3ClockStepMHz);
        t.HSyncPositive = true;
        t.VSyncPositive = false;
    }

    t.Interlaced = request.Interlaced;
    t.HActive = cellWidth;
    t.HTotal = cellWidth + hBlank;
    t.HSync = hSync;
    t.HFrontPorch = hFront;
    if (request.Interlaced) {
        // Both fields together: the two half lines make one more line of front porch.
        t.VActive = 2 * f.Lines;
        t.VFrontPorch = 2 * vFront + 1;
        t.VSync = 2 * vSync;
        t.VTotal = 2 * (f.Lines + vBlank) + 1;
    } else {
        t.VActive = f.Lines;
        t.VFrontPorch = vFront;
        t.VSync = vSync;
        t.VTotal = f.Lines + vBlank;
    }
    t.PixelClockKHz = std::round(clockMHz * 1000000.0) / 1000.0;
    return CheckResult(out);
}

}  // namespace standards
