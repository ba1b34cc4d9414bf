// The advisory lock of this program's writers on Linux: flock on the target's folder, which any
// of its processes takes before it checks and replaces a file there.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/FileHelpers.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

using filetest::Bytes;
using filetest::ReadBack;
using filetest::WriteFile;

class CHeldFolder {
  public:
    explicit CHeldFolder(const std::string& folder)
        : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY)) {
        EXPECT_EQ(::flock(m_fd, LOCK_EX | LOCK_NB), 0);
    }
    ~CHeldFolder() { ::close(m_fd); }

  private:
    int m_fd;
};

TEST(FileLock, AWriterWaitsForTheLockOnTheFolderAndGivesUpAfterSecondsWithNothingWritten) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    const std::vector<uint8_t> old = Bytes({2, 0}), table = Bytes({1, 0});
    WriteFile(target, old);
    platform::CVirtualClock clock;
    platform::SetClock(&clock);
    {
        CHeldFolder other(temp.Path());
        EXPECT_FALSE(platform::ReplaceFileAtomically(target, table.data(), table.size()));
        EXPECT_EQ(platform::ReplaceFileIfUnchanged(target, table.data(), table.size(),
                                                   platform::FileContents{true, old}),
                  platform::ReplaceResult::Failed);
        EXPECT_GE(clock.NowMs(), 2 * 10000u);
        EXPECT_LE(clock.NowMs(), 2 * 10010u);
    }
    EXPECT_EQ(ReadBack(target), old);
    // Given back, the lock is the next writer's at once.
    const uint64_t before = clock.NowMs();
    EXPECT_TRUE(platform::ReplaceFileAtomically(target, table.data(), table.size()));
    EXPECT_EQ(clock.NowMs(), before);
    platform::SetClock(nullptr);
    EXPECT_EQ(ReadBack(target), table);
}

}  // namespace
