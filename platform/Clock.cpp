#include "platform/Platform.h"

namespace platform {
namespace {

IClock* g_clock = nullptr;
IWaitHandler* g_waitHandler = nullptr;

}  // namespace

void SetClock(IClock* clock) {
    g_clock = clock;
}

IClock& Clock() {
    return g_clock != nullptr ? *g_clock : RealClock();
}

void SetWaitHandler(IWaitHandler* handler) {
    g_waitHandler = handler;
}

void Sleep(uint32_t ms) {
    if (g_waitHandler != nullptr) {
        g_waitHandler->Wait(Clock(), ms);
    } else {
        Clock().Sleep(ms);
    }
}

}  // namespace platform
