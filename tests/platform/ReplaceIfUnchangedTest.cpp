// A write over a file that another program may have replaced meanwhile: made only while the
// file still holds what the writer expects, with what it holds instead handed back.
#include <filesystem>

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
using platform::FileContents;
using platform::ReplaceResult;

const std::vector<uint8_t> kRead = Bytes({2, 0, 1, 1});
const std::vector<uint8_t> kOurs = Bytes({2, 0, 7, 7, 7});
const std::vector<uint8_t> kTheirs = Bytes({1, 0, 9});

FileContents Holding(const std::vector<uint8_t>& bytes) {
    return FileContents{true, bytes};
}

ReplaceResult WriteOurs(const std::string& target, const FileContents& expected,
                        FileContents* found = nullptr) {
    return platform::ReplaceFileIfUnchanged(target, kOurs.data(), kOurs.size(), expected, found);
}

TEST(ReadFileContents, TellsAFileFromNoFileAndRefusesAFolder) {
    CTempFolder temp;
    FileContents contents = Holding(kOurs);
    ASSERT_TRUE(platform::ReadFileContents(temp / "missing.bin", contents));
    EXPECT_EQ(contents, FileContents{});
    WriteFile(temp / "empty.bin", {});
    ASSERT_TRUE(platform::ReadFileContents(temp / "empty.bin", contents));
    EXPECT_EQ(contents, Holding({}));
    WriteFile(temp / "f.bin", kRead);
    ASSERT_TRUE(platform::ReadFileContents(temp / "f.bin", contents));
    EXPECT_EQ(contents, Holding(kRead));
    EXPECT_FALSE(platform::ReadFileContents(temp.Path(), contents));
}

TEST(ReplaceFileIfUnchanged, WritesOverWhatTheWriterReadAndCreatesWhereItFoundNothing) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    WriteFile(target, kRead);
    EXPECT_EQ(WriteOurs(target, Holding(kRead)), ReplaceResult::Replaced);
    EXPECT_EQ(ReadBack(target), kOurs);
    // Its own write is what the writer knows next.
    EXPECT_EQ(WriteOurs(target, Holding(kOurs)), ReplaceResult::Replaced);

    const std::string fresh = temp / "fresh.bin";
    EXPECT_EQ(WriteOurs(fresh, FileContents{}), ReplaceResult::Replaced);
    EXPECT_EQ(ReadBack(fresh), kOurs);
    EXPECT_EQ(EntriesIn(temp.Path()), 2u);
}

TEST(ReplaceFileIfUnchanged, AFileAnotherProgramChangedIsLeftAsItIsAndHandedBack) {
    CTempFolder temp;
    const std::string target = temp / "format.bin";
    struct Case {
        const char* what;
        FileContents expected;
        bool there;  // the other program's file is there (else it removed the file)
    };
    const Case cases[] = {
        {"replaced by another table", Holding(kRead), true},
        {"one byte longer", Holding(std::vector<uint8_t>(kTheirs.begin(), kTheirs.end() - 1)),
         true},
        {"made where there was none", FileContents{}, true},
        {"removed", Holding(kRead), false},
    };
    for (const Case& c : cases) {
        fs::remove(target);
        if (c.there)
            WriteFile(target, kTheirs);
        FileContents found = Holding(kOurs);
        EXPECT_EQ(WriteOurs(target, c.expected, &found), ReplaceResult::Changed) << c.what;
        EXPECT_EQ(found, c.there ? Holding(kTheirs) : FileContents{}) << c.what;
        EXPECT_EQ(fs::exists(target), c.there) << c.what;
        if (c.there) {
            EXPECT_EQ(ReadBack(target), kTheirs) << c.what;
        }
        EXPECT_EQ(EntriesIn(temp.Path()), c.there ? 1u : 0u) << c.what << ": a file was left";
        // Told what is there now, the writer may replace it.
        EXPECT_EQ(WriteOurs(target, found), ReplaceResult::Replaced) << c.what;
        EXPECT_EQ(ReadBack(target), kOurs) << c.what;
    }
}

TEST(ReplaceFileIfUnchanged, WhatCannotBeReadOrWrittenIsAFailureWithNothingChanged) {
    CTempFolder temp;
    fs::create_directory(temp / "format.bin");
    EXPECT_EQ(WriteOurs(temp / "format.bin", FileContents{}), ReplaceResult::Failed);
    EXPECT_TRUE(fs::is_directory(temp / "format.bin"));
    EXPECT_EQ(WriteOurs(temp / "no/such/format.bin", FileContents{}), ReplaceResult::Failed);

    const std::string target = temp / "table.bin";
    WriteFile(target, kRead);
    platform::SetWriteFault(target, 1);
    EXPECT_EQ(WriteOurs(target, Holding(kRead)), ReplaceResult::Failed);
    platform::ClearWriteFault();
    EXPECT_EQ(ReadBack(target), kRead);
    EXPECT_EQ(EntriesIn(temp.Path()), 2u);
}

}  // namespace
