// What the start-up benchmark and the programs it runs agree on: the children tell the moment of
// their first paint, on the CLOCK_MONOTONIC the benchmark reads before it forks, as a decimal
// count of nanoseconds and a newline, on the descriptor named in this environment variable.
#pragma once

#include <time.h>

namespace bench {

constexpr const char* kFirstPaintFd = "VUVEREZE_FIRST_PAINT_FD";

inline long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

}  // namespace bench
