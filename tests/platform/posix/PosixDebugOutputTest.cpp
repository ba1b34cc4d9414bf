// Linux has no debugger channel: without a sink the traces go to standard error.
#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

TEST(DebugChannel, AnEmptySinkRestoresStandardError) {
    platform::SetDebugSink({});
    ::testing::internal::CaptureStderr();
    platform::TraceOut("path %s", "C:\\Windows\\System32\\format.bin");
    platform::OutputDebugStringA("Error: No binary file matched");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "path C:\\Windows\\System32\\format.bin\nError: No binary file matched");
}

}  // namespace
