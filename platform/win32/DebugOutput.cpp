#include <string>

#include "platform/PlatformDetail.h"

#include <windows.h>

namespace platform::detail {

void WriteDebugText(std::string_view text) {
    // The debugger channel wants a terminated string; a view need not be one.
    const std::string terminated(text);
    ::OutputDebugStringA(terminated.c_str());
}

}  // namespace platform::detail
