// Without a sink the traces go where a debugger (or a viewer of the debugger channel) reads them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Platform.h"

#include <windows.h>

namespace {

std::vector<std::string> g_seen;

// The system hands OutputDebugStringA's text to debuggers as this exception; a handler that
// looks first and passes it on sees exactly what a debugger would.
LONG CALLBACK Watch(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        g_seen.emplace_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]),
                            static_cast<size_t>(record->ExceptionInformation[0]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(DebugChannel, WithoutASinkTheTextReachesTheDebuggerChannel) {
    platform::SetDebugSink({});
    g_seen.clear();
    void* handler = ::AddVectoredExceptionHandler(1, Watch);
    ASSERT_NE(handler, nullptr);
    ::testing::internal::CaptureStderr();
    platform::TraceOut("path %s", "C:\\Windows\\System32\\format.bin");
    platform::OutputDebugStringA("Error: No binary file matched");
    const std::string onStderr = ::testing::internal::GetCapturedStderr();
    ::RemoveVectoredExceptionHandler(handler);

    EXPECT_EQ(onStderr, "");
    // The length the system passes counts the terminator.
    std::vector<std::string> texts;
    for (const std::string& seen : g_seen)
        texts.push_back(seen.substr(0, seen.find('\0')));
    EXPECT_EQ(texts, (std::vector<std::string>{"path C:\\Windows\\System32\\format.bin", "\n",
                                               "Error: No binary file matched"}));
}

}  // namespace
