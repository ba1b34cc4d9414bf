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

TEST(ReadWholeFile, ReadsEveryByteIncludingZeros) {
    CTempFolder temp;
    const std::vector<uint8_t> content = Bytes({0, 1, 0, 0xFF, 0x7F, 0});
    WriteFile(temp / "f.bin", content);
    EXPECT_EQ(ReadBack(temp / "f.bin"), content);

    WriteFile(temp / "empty.bin", {});
    std::vector<uint8_t> bytes = Bytes({9});
    EXPECT_TRUE(platform::ReadWholeFile(temp / "empty.bin", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(ReadWholeFile, FailsForAMissingFileOrAFolderAndLeavesTheBufferAlone) {
    CTempFolder temp;
    std::vector<uint8_t> bytes = Bytes({1, 2});
    EXPECT_FALSE(platform::ReadWholeFile(temp / "missing.bin", bytes));
    EXPECT_FALSE(platform::ReadWholeFile(temp.Path(), bytes));
    EXPECT_EQ(bytes, Bytes({1, 2}));
}

TEST(ReadFileInto, FillsTheBufferAndRefusesAFileLongerThanIt) {
    CTempFolder temp;
    std::vector<uint8_t> content(100);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<uint8_t>(i);
    WriteFile(temp / "f.bin", content);

    std::vector<uint8_t> buffer(100);
    size_t size = 7;
    EXPECT_FALSE(platform::ReadFileInto(temp / "f.bin", buffer.data(), 99, size));
    EXPECT_EQ(size, 7u);
    EXPECT_TRUE(platform::ReadFileInto(temp / "f.bin", buffer.data(), 100, size));
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(buffer, content);

    buffer.assign(200, 0);
    EXPECT_TRUE(platform::ReadFileInto(temp / "f.bin", buffer.data(), 200, size));
    EXPECT_EQ(size, 100u);
    EXPECT_FALSE(platform::ReadFileInto(temp.Path(), buffer.data(), 200, size));
    EXPECT_FALSE(platform::ReadFileInto(temp / "missing.bin", buffer.data(), 200, size));
}

TEST(ReplaceFileAtomically, CreatesAndReplacesWithNothingLeftBeside) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    const std::vector<uint8_t> first = Bytes({1, 2, 3, 4});
    ASSERT_TRUE(platform::ReplaceFileAtomically(target, first.data(), first.size()));
    EXPECT_EQ(ReadBack(target), first);

    const std::vector<uint8_t> second = Bytes({5, 6});
    ASSERT_TRUE(platform::ReplaceFileAtomically(target, second.data(), second.size()));
    EXPECT_EQ(ReadBack(target), second);
    EXPECT_TRUE(platform::ReplaceFileAtomically(target, nullptr, 0));
    EXPECT_TRUE(ReadBack(target).empty());
    EXPECT_EQ(EntriesIn(temp.Path()), 1u);
}

TEST(ReplaceFileAtomically, FailsWhenTheFolderIsMissingOrTheTargetIsAFolder) {
    CTempFolder temp;
    const std::vector<uint8_t> content = Bytes({1, 2, 3});
    EXPECT_FALSE(platform::ReplaceFileAtomically(temp / "no/such/format.bin", content.data(),
                                                 content.size()));

    fs::create_directory(temp / "format.bin");
    WriteFile(temp / "format.bin/inside", Bytes({9}));
    EXPECT_FALSE(
        platform::ReplaceFileAtomically(temp / "format.bin", content.data(), content.size()));
    EXPECT_TRUE(fs::is_directory(temp / "format.bin"));
    EXPECT_EQ(ReadBack(temp / "format.bin/inside"), Bytes({9}));
    EXPECT_EQ(EntriesIn(temp.Path()), 1u) << "the temporary file was left behind";
}

// A message about a refused write says why, as the system said it; the reason belongs to the
// write that failed and is forgotten by the next that succeeds.
TEST(ReplaceFileAtomically, AFailedReplacementKeepsItsReasonUntilTheNextSuccess) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    const std::vector<uint8_t> content = Bytes({1, 2, 3});
    WriteFile(target, Bytes({9}));
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(platform::ReplaceFileAtomically(target, content.data(), content.size()));
    EXPECT_EQ(platform::LastWriteError().kind, platform::FileErrorKind::ReadOnly);
    EXPECT_EQ(platform::LastWriteError().reason, "the file is read-only");
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);

    platform::SetWriteFault(target, 1);
    EXPECT_FALSE(platform::ReplaceFileAtomically(target, content.data(), content.size()));
    platform::ClearWriteFault();
    const platform::FileError full = platform::LastWriteError();
    EXPECT_EQ(full.kind, platform::FileErrorKind::Other);
    EXPECT_EQ(full.reason, platform::FileErrorOf(full.code).reason);
    EXPECT_NE(full.code, 0u) << "a disk that fills up is the system's own error";

    EXPECT_FALSE(platform::ReplaceFileAtomically(temp / "no/such/format.bin", content.data(),
                                                 content.size()));
    EXPECT_FALSE(platform::LastWriteError().reason.empty());
    EXPECT_TRUE(platform::ReplaceFileAtomically(target, content.data(), content.size()));
    EXPECT_EQ(platform::LastWriteError().kind, platform::FileErrorKind::None);
    EXPECT_EQ(platform::LastWriteError().reason, "");
}

}  // namespace
