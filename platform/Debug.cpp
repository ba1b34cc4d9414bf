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

std::string FormatTextV(const char* format, va_list args) {
    char buffer[256];
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    std::string text;
    if (n >= 0 && static_cast<size_t>(n) < sizeof buffer) {
        text.assign(buffer, static_cast<size_t>(n));
    } else if (n > 0) {
        // A long text (a file name, a trace) is made again at its full length rather than cut.
        text.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<size_t>(n));
    }
    va_end(again);
    return text;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}

void TraceOut(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    // The debugger channel takes 4095 characters a line: longer traces are cut.
    if (text.size() > 4095) {
        text.resize(4095);
    }
    OutputDebugStringA(text.c_str());
    OutputDebugStringA("\n");
}

}  // namespace platform
