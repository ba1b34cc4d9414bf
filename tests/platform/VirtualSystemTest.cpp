#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

class VirtualSystem : public ::testing::Test {
  protected:
    void SetUp() override { platform::SetSystemRoot("/srv/vroot"); }
    void TearDown() override {
        platform::SetSystemRoot("");
        platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
    }
};

TEST_F(VirtualSystem, TheSystemFolderAndItsAliasAreOneFolder) {
    EXPECT_EQ(platform::HostPath("C:\\Windows\\System32\\format.bin"),
              "/srv/vroot/Windows/System32/format.bin");
    EXPECT_EQ(platform::HostPath("C:\\Windows\\Sysnative\\format.bin"),
              "/srv/vroot/Windows/System32/format.bin");
    EXPECT_EQ(platform::HostPath("c:\\WINDOWS\\sysnative\\testformat.bin"),
              "/srv/vroot/Windows/System32/testformat.bin");
    EXPECT_EQ(platform::HostPath("C:/windows/SYSTEM32/format.bin"),
              "/srv/vroot/Windows/System32/format.bin");
}

TEST_F(VirtualSystem, OtherFoldersOnTheDriveKeepTheirNames) {
#if defined(_WIN32)
    // On Windows drive C: is real: only its system folder is the virtual system's, and a file
    // elsewhere on it (a scenario's scratch folder, a file chosen to export to) is that file.
    EXPECT_EQ(platform::HostPath("C:\\Users\\Ann\\Export.bin"), "C:\\Users\\Ann\\Export.bin");
    EXPECT_EQ(platform::HostPath("C:\\Sysnative\\x"), "C:\\Sysnative\\x");
#else
    EXPECT_EQ(platform::HostPath("C:\\Users\\Ann\\Export.bin"), "/srv/vroot/Users/Ann/Export.bin");
    EXPECT_EQ(platform::HostPath("C:\\"), "/srv/vroot");
    // Only the second level under Windows is an alias.
    EXPECT_EQ(platform::HostPath("C:\\Sysnative\\x"), "/srv/vroot/Sysnative/x");
#endif
}

TEST_F(VirtualSystem, DotDotStopsAtTheDriveRoot) {
    EXPECT_EQ(platform::HostPath("C:\\Windows\\..\\..\\..\\etc\\passwd"), "/srv/vroot/etc/passwd");
    EXPECT_EQ(platform::HostPath("C:\\Windows\\.\\Sysnative\\\\format.bin"),
              "/srv/vroot/Windows/System32/format.bin");
}

TEST_F(VirtualSystem, PathsThatAreNotOnTheSystemDrivePassUnchanged) {
    for (const char* path :
         {"/tmp/export.bin", "relative\\file.bin", "export.bin", "C:", "C:relative",
          "D:\\data\\format.bin", "\\\\server\\share\\f.bin", ""}) {
        EXPECT_EQ(platform::HostPath(path), path);
    }
}

TEST_F(VirtualSystem, RootWithTrailingSlashGivesNoDoubleSlash) {
    platform::SetSystemRoot("/srv/vroot/");
    EXPECT_EQ(platform::HostPath("C:\\Windows\\System32\\format.bin"),
              "/srv/vroot/Windows/System32/format.bin");
}

TEST_F(VirtualSystem, ArchitectureDefaultsToAmd64AndCanBeChanged) {
    EXPECT_EQ(platform::NativeProcessorArchitecture(), platform::PROCESSOR_ARCHITECTURE_AMD64);
    platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_INTEL);
    EXPECT_EQ(platform::NativeProcessorArchitecture(), platform::PROCESSOR_ARCHITECTURE_INTEL);
}

TEST(Clock, VirtualTimeMovesOnlyWhenSomebodySleeps) {
    platform::CVirtualClock clock;
    platform::SetClock(&clock);
    EXPECT_EQ(&platform::Clock(), &clock);
    EXPECT_EQ(platform::Clock().NowMs(), 0u);
    platform::Sleep(500);
    platform::Sleep(1000);
    EXPECT_EQ(clock.NowMs(), 1500u);
    clock.Advance(7);
    EXPECT_EQ(platform::Clock().NowMs(), 1507u);
    platform::SetClock(nullptr);
    EXPECT_EQ(&platform::Clock(), &platform::RealClock());
}

TEST(Clock, RealClockNeverRunsBackwards) {
    const uint64_t first = platform::RealClock().NowMs();
    EXPECT_GE(platform::RealClock().NowMs(), first);
}

}  // namespace
