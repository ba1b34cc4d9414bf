// Checks and roundings the formulas share.
#pragma once

#include <string>

#include "standards/Timing.h"

namespace standards {

// False, with the reason in out, when the request is not one the formula can take.
bool CheckRequest(Formula formula, const Request& request, Outcome& out);
// The finished timing: refused when a total outgrows a format's 16-bit fields or the clock
// came to nothing. Returns out.
Outcome& CheckResult(Outcome& out);
Outcome& Refuse(Outcome& out, const std::string& why);
std::string TooFastMessage(double rate);

// How the CVT formulas read the points where calculators part. Ours is the default; the
// comparison with an independent calculator asks for the calculator's reading to tell a known
// difference from a fault.
struct CvtReading {
    int MinVBackPorch = 6;            // lines, standard blanking and reduced blanking v1
    bool AspectOfExactWidth = false;  // a ratio holds only when the height gives the width exactly
    double Rb3RateFactor = 1.00035;   // reduced blanking v3 computes from this much more rate
    double Rb3ClockStepMHz = 0.001;   // and rounds its clock up to these steps
};
Outcome ComputeCvt(Formula variant, const Request& request, const CvtReading& reading);

// Whole clock steps below or above a value. A product that lands on a step exactly in decimal
// (2000 x 1111 x 60 = 133.320 MHz) must not lose a step to the binary representation.
double StepsDown(double steps);
double StepsUp(double steps);

}  // namespace standards
