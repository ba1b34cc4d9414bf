// Checks and roundings the formulas share.
#pragma once

#include <string>

#include "timing/standards/Timing.h"

namespace standards {

// False, with the reason in out, when the request is not one the formula can take.
bool CheckRequest(Formula formula, const Request& request, Outcome& out);
// The finished timing: refused when a total outgrows a format's 16-bit fields or the clock
// came to nothing. Returns out.
Outcome& CheckResult(Outcome& out);
Outcome& Refuse(Outcome& out, const std::string& why);
std::string TooFastMessage(double rate);

// Whole clock steps below or above a value. A product that lands on a step exactly in decimal
// (2000 x 1111 x 60 = 133.320 MHz) must not lose a step to the binary representation.
double StepsDown(double steps);
double StepsUp(double steps);

}  // namespace standards
