// The tally of the Windows test programs, which run under Wine as plain programs: every check
// prints a line, and the exit code tells whether all of them held.
#pragma once

#include <cstdio>
#include <string>

namespace vztest {

struct Tally {
    int checks = 0;
    int failures = 0;
};

inline Tally& Checks() {
    static Tally tally;
    return tally;
}

inline void Check(bool ok, const std::string& what) {
    ++Checks().checks;
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) {
        ++Checks().failures;
    }
}

// Prints the sums; the program's exit code.
inline int Summary() {
    const Tally& tally = Checks();
    std::printf("%d passed, %d failed\n", tally.checks - tally.failures, tally.failures);
    return tally.failures == 0 ? 0 : 1;
}

}  // namespace vztest
