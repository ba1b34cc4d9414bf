#include "timing/Trace.h"

#include <cstdarg>
#include <cstdio>

#include "platform/Platform.h"

namespace timing {
namespace {

// Every text of the editor is one short line; the buffer matches the debug channel's own limit.
constexpr size_t kTextSize = 4096;

std::string FormatV(const char* format, va_list args) {
    char text[kTextSize];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

}  // namespace

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

void DebugTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    platform::OutputDebugStringA(text.c_str());
}

}  // namespace timing
