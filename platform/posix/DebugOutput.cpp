#include <cstdio>

#include "platform/PlatformDetail.h"

namespace platform::detail {

void WriteDebugText(std::string_view text) {
    // Standard error is unbuffered, so a trace is on screen before a crash that follows it.
    std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace platform::detail
