// The GTF formula from the field rate, with the default blanking curve (C 40, M 600, K 128,
// J 20) and no secondary curve, without margins.
#include <cmath>
#include <string>

#include "standards/Internal.h"
#include "standards/Timing.h"

namespace standards {

namespace {
constexpr int kCell = 8;
constexpr int kMinPorch = 1;  // lines of vertical front porch
constexpr int kVSync = 3;
constexpr double kMinVSyncBp = 550.0;  // µs
constexpr double kHSyncPercent = 8.0;
constexpr double kCPrime = 30.0;
constexpr double kMPrime = 300.0;
}  // namespace

Outcome ComputeGtf(const Request& request) {
    Outcome out;
    if (!CheckRequest(Formula::Gtf, request, out))
        return out;
    // GTF rounds the width to the nearest cell: that is the active width it gives.
    const int width = static_cast<int>(std::lround(double(request.Width) / kCell)) * kCell;
    if (width <= 0)
        return Refuse(out, "The width must be at least 4 pixels, half a character cell.");
    if (width != request.Width)
        out.Note = "GTF has no width of " + std::to_string(request.Width) + " pixels; it gives " +
                   std::to_string(width) + ", the nearest whole 8-pixel cells.";
    const int lines = request.Interlaced ? request.Height / 2 : request.Height;
    const double interlace = request.Interlaced ? 0.5 : 0.0;
    const double fieldRate = request.Rate;

    const double hPeriodEst =
        (1.0 / fieldRate - kMinVSyncBp / 1000000.0) / (lines + kMinPorch + interlace) * 1000000.0;
    if (!(hPeriodEst > 0.0))
        return Refuse(out, TooFastMessage(request.Rate));
    const int vSyncBp = static_cast<int>(std::lround(kMinVSyncBp / hPeriodEst));
    const double fieldLines = lines + vSyncBp + interlace + kMinPorch;
    const double fieldRateEst = 1.0 / hPeriodEst / fieldLines * 1000000.0;
    const double hPeriod = hPeriodEst / (fieldRate / fieldRateEst);
    // Long lines (a low rate, few lines) leave GTF's blanking curve below zero; the sync, a
    // share of the whole line, may also outgrow the half of the blanking before it. Each is
    // said as it is, the horizontal cause first: it comes well before the vertical one.
    const double duty = kCPrime - kMPrime * hPeriod / 1000.0;
    if (!(duty > 0.0))
        return Refuse(out, "GTF gives a negative horizontal blanking at this size and rate.");
    const int hBlank =
        static_cast<int>(std::lround(width * duty / (100.0 - duty) / (2 * kCell))) * 2 * kCell;
    if (hBlank <= 0)
        return Refuse(out, "GTF gives no horizontal blanking at this size and rate.");
    const int total = width + hBlank;
    const int hSync = static_cast<int>(std::lround(kHSyncPercent / 100.0 * total / kCell)) * kCell;
    if (hSync > hBlank / 2)
        return Refuse(out,
                      "GTF gives a negative horizontal front porch at this size and rate: "
                      "its sync is longer than half of its blanking.");
    if (vSyncBp < kVSync)
        return Refuse(out, "GTF gives a negative vertical back porch at this size and rate.");

    Timing& t = out.Result;
    t.HActive = width;
    t.HTotal = total;
    t.HSync = hSync;
    t.HFrontPorch = hBlank / 2 - hSync;
    t.HSyncPositive = false;
    t.VSyncPositive = true;
    t.Interlaced = request.Interlaced;
    const int fieldBlank = vSyncBp + kMinPorch;
    if (request.Interlaced) {
        t.VActive = 2 * lines;
        t.VFrontPorch = 2 * kMinPorch + 1;
        t.VSync = 2 * kVSync;
        t.VTotal = 2 * (lines + fieldBlank) + 1;
    } else {
        t.VActive = lines;
        t.VFrontPorch = kMinPorch;
        t.VSync = kVSync;
        t.VTotal = lines + fieldBlank;
    }
    // The clock to the kHz: finer figures are beyond what any card's PLL is told.
    t.PixelClockKHz = std::round(total / hPeriod * 1000.0);
    return CheckResult(out);
}

}  // namespace standards
