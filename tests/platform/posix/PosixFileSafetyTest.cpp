// What a rewrite of a table file respects on a POSIX system: read-only files and folders, links,
// owners, files that are not regular, a write that fails part-way and a writer that died.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

const std::vector<uint8_t> kOld = {1, 2, 3};
const std::vector<uint8_t> kNew = {7, 8, 9, 10, 11};

bool Replace(const std::string& path) {
    return platform::ReplaceFileAtomically(path, kNew.data(), kNew.size());
}

TEST(ReplaceFileAtomically, AFileWithoutAnyWriteBitIsReadOnlyForEveryUserRootIncluded) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, kOld);
    for (mode_t mode : {0444, 0400, 0000, 0555}) {
        ASSERT_EQ(chmod(target.c_str(), mode), 0);
        EXPECT_FALSE(Replace(target)) << std::oct << mode;
        chmod(target.c_str(), 0600);
        EXPECT_EQ(ReadBack(target), kOld);
        EXPECT_EQ(EntriesIn(temp.Path()), 1u);
    }
    // For the superuser any one write bit makes it writable again, as clearing the attribute
    // would; for others the bits that name them decide.
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(target.c_str(), 0420), 0);
        EXPECT_TRUE(Replace(target));
    }
}

TEST(ReplaceFileAtomically, AFolderWithoutAnyWriteBitTakesNoNewFile) {
    CTempFolder temp;
    fs::create_directory(temp / "system");
    ASSERT_EQ(chmod((temp / "system").c_str(), 0555), 0);
    EXPECT_FALSE(Replace(temp / "system/new.bin"));
    // Refused as the system refuses a user the folder of another: more rights would help.
    EXPECT_EQ(platform::LastWriteError().kind, platform::FileErrorKind::Denied);
    EXPECT_EQ(platform::LastWriteError().code, static_cast<uint32_t>(EACCES));
    chmod((temp / "system").c_str(), 0755);
    EXPECT_EQ(EntriesIn(temp / "system"), 0u);
}

TEST(ReplaceFileAtomically, ALinkIsWrittenThroughAndStaysALink) {
    CTempFolder temp;
    fs::create_directory(temp / "real");
    WriteFile(temp / "real/format.bin", kOld);
    // A relative link, and a link to that link from another folder.
    fs::create_symlink("real/format.bin", temp / "link.bin");
    fs::create_directory(temp / "other");
    fs::create_symlink(temp / "link.bin", temp / "other/chain.bin");

    ASSERT_TRUE(Replace(temp / "link.bin"));
    EXPECT_TRUE(fs::is_symlink(temp / "link.bin"));
    EXPECT_EQ(ReadBack(temp / "real/format.bin"), kNew);

    const std::vector<uint8_t> third = Bytes({4});
    ASSERT_TRUE(platform::ReplaceFileAtomically(temp / "other/chain.bin", third.data(), 1));
    EXPECT_TRUE(fs::is_symlink(temp / "other/chain.bin"));
    EXPECT_TRUE(fs::is_symlink(temp / "link.bin"));
    EXPECT_EQ(ReadBack(temp / "real/format.bin"), third);
    // The temporary file went beside the real file, and nothing was left anywhere.
    EXPECT_EQ(EntriesIn(temp / "real"), 1u);
    EXPECT_EQ(EntriesIn(temp / "other"), 1u);
    EXPECT_EQ(EntriesIn(temp.Path()), 3u);

    // A link to a file not there yet creates that file; a loop of links is refused.
    fs::create_symlink("real/later.bin", temp / "later.bin");
    ASSERT_TRUE(Replace(temp / "later.bin"));
    EXPECT_TRUE(fs::is_symlink(temp / "later.bin"));
    EXPECT_EQ(ReadBack(temp / "real/later.bin"), kNew);
    fs::create_symlink("loop2", temp / "loop1");
    fs::create_symlink("loop1", temp / "loop2");
    EXPECT_FALSE(Replace(temp / "loop1"));
}

TEST(ReplaceFileAtomically, ALinkToAReadOnlyFileIsRefusedLikeTheFile) {
    CTempFolder temp;
    WriteFile(temp / "format.bin", kOld);
    fs::create_symlink("format.bin", temp / "link.bin");
    ASSERT_EQ(chmod((temp / "format.bin").c_str(), 0444), 0);
    EXPECT_FALSE(Replace(temp / "link.bin"));
    EXPECT_TRUE(fs::is_symlink(temp / "link.bin"));
    EXPECT_EQ(ReadBack(temp / "format.bin"), kOld);
}

TEST(ReplaceFileAtomically, KeepsTheOwnerWhereTheProcessMay) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser may give a file to somebody else";
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, kOld);
    ASSERT_EQ(chown(target.c_str(), 4321, 8765), 0);
    ASSERT_EQ(chmod(target.c_str(), 0664), 0);
    ASSERT_TRUE(Replace(target));
    struct stat info = {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
}

TEST(ReplaceFileAtomically, AFileTheUserMayNotWriteIsRefused) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    // Writable by its group only, and this user is its owner: the owner's bits are the ones
    // that count, so the user may not write it although a write bit is set.
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, kOld);
    ASSERT_EQ(chmod(target.c_str(), 0464), 0);
    EXPECT_FALSE(Replace(target));
    chmod(target.c_str(), 0644);
    EXPECT_EQ(ReadBack(target), kOld);
}

TEST(Files, APipeOrADeviceIsRefusedForReadingAndWritingWithoutWaiting) {
    CTempFolder temp;
    const std::string pipe = temp / "pipe.bin";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    // With nobody at the other end, any open that waits would hang this test.
    std::vector<uint8_t> bytes = Bytes({5});
    uint8_t buffer[16];
    size_t size = 3;
    for (const std::string& path : {pipe, std::string("/dev/null"), std::string("/dev/zero")}) {
        EXPECT_FALSE(platform::ReadWholeFile(path, bytes)) << path;
        EXPECT_FALSE(platform::ReadFileInto(path, buffer, sizeof buffer, size)) << path;
    }
    EXPECT_EQ(bytes, Bytes({5}));
    EXPECT_EQ(size, 3u);
    EXPECT_FALSE(Replace(pipe));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(EntriesIn(temp.Path()), 1u);
}

TEST(WriteFault, AWriteThatFailsPartWayLeavesTheOldFileAndNoTemporaryFile) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    const std::string other = temp / "other.bin";
    WriteFile(target, kOld);
    for (size_t after : {0u, 1u, 4u}) {
        platform::SetWriteFault(target, after);
        EXPECT_FALSE(Replace(target)) << after;
        EXPECT_EQ(ReadBack(target), kOld);
        EXPECT_EQ(EntriesIn(temp.Path()), 1u);
    }
    // Another file is not touched by the fault; a write that fits within it succeeds.
    EXPECT_TRUE(Replace(other));
    platform::SetWriteFault(target, kNew.size());
    EXPECT_TRUE(Replace(target));
    // Without a path every file fails.
    platform::SetWriteFault("", 2);
    EXPECT_FALSE(Replace(other));
    platform::ClearWriteFault();
    EXPECT_TRUE(Replace(target));
    EXPECT_EQ(ReadBack(target), kNew);
}

TEST(ReplaceFileAtomically, ATemporaryFileOfAWriterThatDiedIsSweptAndTripsNothing) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, kOld);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    const std::string leftover = temp / (".format.bin.tmp." + std::to_string(child) + ".0");
    WriteFile(leftover, Bytes({0xEE}));
    // Somebody else's file that merely looks alike is left alone.
    WriteFile(temp / ".format.bin.tmp.notanumber", Bytes({0xEE}));
    ASSERT_TRUE(Replace(target));
    EXPECT_EQ(ReadBack(target), kNew);
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(temp / ".format.bin.tmp.notanumber"));
}

}  // namespace
