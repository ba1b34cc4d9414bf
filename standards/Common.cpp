// What every standard shares: the timing's derived figures, its name and summary, the checks
// of a request and of a result, and the choice of formula.
#include <cmath>
#include <cstdio>

#include "standards/Internal.h"
#include "standards/Timing.h"

namespace standards {

namespace {
constexpr int kLargestTotal = 65535;  // totals and sizes are 16-bit fields of a format
constexpr double kStepSlack = 1e-7;
}  // namespace

int HBackPorch(const Timing& t) {
    return t.HTotal - t.HActive - t.HFrontPorch - t.HSync;
}

int VBackPorch(const Timing& t) {
    return t.VTotal - t.VActive - t.VFrontPorch - t.VSync;
}

double RefreshRate(const Timing& t) {
    if (t.HTotal <= 0 || t.VTotal <= 0)
        return 0.0;
    const double frames = t.PixelClockKHz * 1000.0 / (double(t.HTotal) * t.VTotal);
    return t.Interlaced ? frames * 2.0 : frames;
}

double LineFrequencyKHz(const Timing& t) {
    return t.HTotal > 0 ? t.PixelClockKHz / t.HTotal : 0.0;
}

std::string TimingName(const Timing& t) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.2f", RefreshRate(t));
    std::string text(rate);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return std::to_string(t.HActive) + "x" + std::to_string(t.VActive) +
           (t.Interlaced ? "i" : "p") + text;
}

std::string Summary(const Timing& t) {
    char text[160];
    std::snprintf(text, sizeof text, "%.3f MHz, %.3f kHz, %.2f Hz%s, total %dx%d",
                  t.PixelClockKHz / 1000.0, LineFrequencyKHz(t), RefreshRate(t),
                  t.Interlaced ? " (fields)" : "", t.HTotal, t.VTotal);
    return text;
}

const char* FormulaName(Formula formula) {
    switch (formula) {
        case Formula::Cvt:
            return "CVT";
        case Formula::CvtRb:
            return "CVT-RB";
        case Formula::CvtRb2:
            return "CVT-RB2";
        case Formula::CvtRb3:
            return "CVT-RB3";
        case Formula::Gtf:
            return "GTF";
    }
    return "";
}

bool HasInterlace(Formula formula) {
    return formula != Formula::CvtRb2 && formula != Formula::CvtRb3;
}

Outcome Compute(Formula formula, const Request& request) {
    return formula == Formula::Gtf ? ComputeGtf(request) : ComputeCvt(formula, request);
}

Outcome& Refuse(Outcome& out, const std::string& why) {
    out.Ok = false;
    out.Why = why;
    out.Note.clear();
    return out;
}

std::string TooFastMessage(double rate) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "At %.2f Hz a frame is shorter than the vertical blanking the standard needs.",
                  rate);
    return text;
}

bool CheckRequest(Formula formula, const Request& request, Outcome& out) {
    const char* why = nullptr;
    if (request.Width <= 0)
        why = "The width must be above 0.";
    else if (request.Height <= 0)
        why = "The height must be above 0.";
    else if (!(request.Rate > 0.0) || !std::isfinite(request.Rate))
        why = "The rate must be above 0 Hz.";
    else if (request.Width > kLargestTotal || request.Height > kLargestTotal)
        why = "The size is beyond what a format holds (65535).";
    else if (request.Interlaced && request.Height % 2 != 0)
        why = "An interlaced height must be even: each field has half of it.";
    if (why != nullptr) {
        Refuse(out, why);
        return false;
    }
    if (request.Interlaced && !HasInterlace(formula)) {
        Refuse(out, std::string(FormulaName(formula)) + " has no interlaced timings.");
        return false;
    }
    return true;
}

Outcome& CheckResult(Outcome& out) {
    const Timing& t = out.Result;
    if (t.HTotal > kLargestTotal || t.VTotal > kLargestTotal)
        return Refuse(out, "The totals are beyond what a format holds (65535).");
    if (!(t.PixelClockKHz > 0.0))
        return Refuse(out, "The pixel clock comes to 0 MHz at this size and rate.");
    if (t.HFrontPorch < 0 || HBackPorch(t) < 0 || t.HTotal <= t.HActive)
        return Refuse(out, "The standard gives no horizontal blanking at this size and rate.");
    out.Ok = true;
    out.Why.clear();
    return out;
}

double StepsDown(double steps) {
    return std::floor(steps + kStepSlack);
}

double StepsUp(double steps) {
    return std::ceil(steps - kStepSlack);
}

}  // namespace standards
