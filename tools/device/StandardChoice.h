// The standard timing a command line names: a formula with a timing ("CVT-RB2 1920x1080p60"),
// a list with a timing ("CTA-861 1920x1080i50"), or one list entry ("DMT 0x52", "VIC 16",
// "VIC 6 unrepeated"), a modeline or a row of an EDID file. The same standards, and the same
// entries, as the editor's "Standard..." dialog offers.
#pragma once

#include <string>
#include <vector>

#include "standards/Timing.h"

namespace devicetool {

struct StandardChoice {
    standards::Timing Timing;
    std::string Standard;  // "CVT-RB2", "DMT 0x52", "VIC 6 unrepeated"
    std::string Note;      // what the standard made of a request it could not take as it stands
};

// kDone with the choice; kUsage for words that name no standard or timing; kProblem, with the
// standard's own reason, when it gives no timing, or when a list holds none or several
// different ones for what was asked (the several are named, so the user can pick one).
int ChooseStandard(const std::vector<std::string>& words, StandardChoice& choice, std::string& why);

// A modeline ("MODELINE" and its text, in one word or many) or a row of an EDID file ("EDID",
// the file, and a row by its number or label; the preferred timing without one). False when
// the words name neither; else true with code kDone and the choice, or the exit code and why.
bool ChooseFromSource(const std::vector<std::string>& given, StandardChoice& choice,
                      std::string& why, int& code);

}  // namespace devicetool
