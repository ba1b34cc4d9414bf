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

}  // namespace

IClock& RealClock() {
    static CSteadyClock clock;
    return clock;
}

}  // namespace platform
