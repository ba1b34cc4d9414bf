// Linux has no real system to ask: without a root drive C: is the current folder, the
// architecture is AMD64 and the ANSI code page UTF-8.
#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

TEST(DriveC, AnEmptyRootMeansTheCurrentFolder) {
    platform::SetSystemRoot("");
    EXPECT_EQ(platform::SystemRoot(), ".");
    EXPECT_EQ(platform::HostPath("C:\\Windows\\System32\\format.bin"),
              "./Windows/System32/format.bin");
}

TEST(DriveC, WithNothingSetLinuxIsAnAmd64SystemSpeakingUtf8) {
    platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_INTEL);
    platform::SetAnsiCodePage(platform::CodePage::Big5);
    platform::ResetNativeArchitecture();
    platform::ResetAnsiCodePage();
    EXPECT_EQ(platform::NativeProcessorArchitecture(), platform::PROCESSOR_ARCHITECTURE_AMD64);
    EXPECT_EQ(platform::AnsiCodePage(), platform::CodePage::Utf8);
    EXPECT_EQ(platform::WideToAnsi(u"\u25B2"), "\xE2\x96\xB2");
}

}  // namespace
