#include "timing/Trace.h"

#include <cstdarg>

#include "platform/Platform.h"

namespace timing {

void DebugTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = platform::FormatTextV(format, args);
    va_end(args);
    platform::OutputDebugStringA(text.c_str());
}

}  // namespace timing
