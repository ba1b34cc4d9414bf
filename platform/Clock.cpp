#include <chrono>
#include <thread>

#include "platform/Platform.h"

namespace platform {
namespace {

class CSteadyClock final : public IClock {
  public:
    uint64_t NowMs() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

IClock* g_clock = nullptr;
IWaitHandler* g_waitHandler = nullptr;

}  // namespace

IClock& RealClock() {
    static CSteadyClock clock;
    return clock;
}

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
