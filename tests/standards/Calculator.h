// Debian's edid-decode as an independent calculator of the timing standards: it is run with a
// batch of requests and its printed timings are read back in the editor's terms.
#pragma once

#include <string>
#include <vector>

#include "standards/Timing.h"

namespace standards {

// The calculator's whole output for these arguments ("--cvt w=...,h=...,fps=..." and the like).
std::string RunCalculator(const std::string& arguments);
bool CalculatorInstalled();

// One timing as the calculator prints it: a title line with the size, rate, aspect and clock,
// then the horizontal line and one vertical line per field.
struct Printed {
    std::string Title;   // "CVT", "GTF", "DMT 0x04", "VIC   16"
    std::string Aspect;  // "16:9", as the title line gives it
    Timing Value;
};
std::vector<Printed> ParsePrinted(const std::string& text);

// "1920x1080i H 88/44/2200+ V 5/10/1125+ 74250.000 kHz": what a failure shows.
std::string Describe(const Timing& t);
// Every field equal, the clock within slack.
bool Same(const Timing& a, const Timing& b, double clockSlackKHz = 0.5);

}  // namespace standards
