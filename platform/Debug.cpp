#include <cstdarg>
#include <cstdio>
#include <utility>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

DebugSink& Sink() {
    static DebugSink sink;
    return sink;
}

}  // namespace

void SetDebugSink(DebugSink sink) {
    Sink() = std::move(sink);
}

void OutputDebugStringA(const char* text) {
    const std::string_view view = text != nullptr ? std::string_view(text) : std::string_view();
    if (Sink()) {
        Sink()(view);
    } else {
        detail::WriteDebugText(view);
    }
}

void TraceOut(const char* format, ...) {
    // 4095 characters and the terminator: longer traces are cut, never overrun.
    char buffer[4096];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
    }
    OutputDebugStringA(buffer);
    OutputDebugStringA("\n");
}

}  // namespace platform
