#include "platform/Platform.h"

namespace platform {
namespace {

IClock* g_clock = nullptr;

}  // namespace

void SetClock(IClock* clock) {
    g_clock = clock;
}

IClock& Clock() {
    return g_clock != nullptr ? *g_clock : RealClock();
}

void Sleep(uint32_t ms) {
    Clock().Sleep(ms);
}

}  // namespace platform
