// Windows' own clock and sleep: the product's waits are the ones the system would do.
#include "platform/Platform.h"

#include <windows.h>

namespace platform {
namespace {

class CTickClock final : public IClock {
  public:
    uint64_t NowMs() override { return ::GetTickCount64(); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
};

}  // namespace

IClock& RealClock() {
    static CTickClock clock;
    return clock;
}

}  // namespace platform
