// Files as only POSIX has them: sizes that lie, permission bits, folders that refuse writes.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/FileHelpers.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"

namespace {

namespace fs = std::filesystem;

using filetest::Bytes;
using filetest::EntriesIn;
using filetest::ReadBack;
using filetest::WriteFile;

TEST(ReadWholeFile, AFileThatReportsNoSizeIsStillReadWhole) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile("/proc/self/maps", bytes));
    EXPECT_GT(bytes.size(), 0u);
    EXPECT_EQ(bytes.back(), '\n');
}

TEST(ReplaceFileAtomically, KeepsThePermissionsOfTheFileItReplaces) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, Bytes({1}));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const std::vector<uint8_t> content = Bytes({2});
    ASSERT_TRUE(platform::ReplaceFileAtomically(target, content.data(), content.size()));
    struct stat info = {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ReplaceFileAtomically, FailsInAReadOnlyFolderAndKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, Bytes({1, 2}));
    ASSERT_EQ(chmod(temp.Path().c_str(), 0555), 0);
    const std::vector<uint8_t> content = Bytes({3, 4, 5});
    EXPECT_FALSE(platform::ReplaceFileAtomically(target, content.data(), content.size()));
    chmod(temp.Path().c_str(), 0755);
    EXPECT_EQ(ReadBack(target), Bytes({1, 2}));
    EXPECT_EQ(EntriesIn(temp.Path()), 1u);
}

}  // namespace
