// Ctrl-C and a polite kill end a watch cleanly: the handlers only ask it to stop.
#include <signal.h>

#include "tools/device/Status.h"

namespace devicetool {
namespace {

struct sigaction g_interrupt;
struct sigaction g_terminate;

extern "C" void OnInterrupt(int) {
    RequestStop();
}

}  // namespace

void CatchInterrupt(bool on) {
    if (!on) {
        sigaction(SIGINT, &g_interrupt, nullptr);
        sigaction(SIGTERM, &g_terminate, nullptr);
        return;
    }
    struct sigaction stop = {};
    stop.sa_handler = OnInterrupt;
    sigemptyset(&stop.sa_mask);
    // No SA_RESTART: a wait in progress ends early, and the watch looks at once.
    sigaction(SIGINT, &stop, &g_interrupt);
    sigaction(SIGTERM, &stop, &g_terminate);
}

}  // namespace devicetool
