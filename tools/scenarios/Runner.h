// Runs one scenario: builds its virtual system, starts the program on the headless host with
// the simulated card and a virtual clock, feeds the script's input and checks its expectations.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/scenarios/Script.h"

namespace scenarios {

struct Outcome {
    bool passed = false;
    int expectations = 0;
    std::vector<std::string> failures;  // "file:line: what"
    std::string scratch;                // kept scratch folder, if asked for
    bool skipped = false;               // the host cannot play one of its lines
    std::string skipReason;
};

// Runs the scenario on the named host ("headless", "win32", "qt") in a scratch folder of its
// own, removed afterwards unless keepScratch.
Outcome RunScenario(const Script& script, const std::string& host = "headless",
                    bool keepScratch = false);

}  // namespace scenarios
