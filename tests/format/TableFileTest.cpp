#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#include "format/TableFixture.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Counts {
    uint16_t Builtin, Records, Users;
    bool operator==(const Counts&) const = default;
};

Counts CountsOf(const fmt::FormatTable& table) {
    return {table.BuiltinCount, table.RecordCount, table.UserCount};
}

TEST_F(TableFileTest, LengthsThatAreNotAHeaderAndWholeRecordsAreRefused) {
    WriteFile(SystemFile(), RandomTableFile(1, 2));
    ASSERT_EQ(Lock(), fmt::kOk);
    for (size_t length : {0, 1, 125, 127, 2 + 124 * 2 - 1}) {
        SCOPED_TRACE(length);
        WriteFile(SystemFile(), std::vector<uint8_t>(length, 0));
        EXPECT_EQ(m_table.ReadFormatFile(""), fmt::kFailure);
        EXPECT_EQ(CountsOf(m_table), (Counts{1, 2, 1}));
        EXPECT_EQ(m_table.StagingTags.size(), 2u);
    }
}

TEST_F(TableFileTest, TwoBytesAreAnEmptyTableAnd126BytesOneRecord) {
    WriteFile(SystemFile(), RandomTableFile(1, 3));
    ASSERT_EQ(m_table.ReadFormatFile(""), fmt::kOk);
    WriteFile(SystemFile(), {0, 0});
    EXPECT_EQ(m_table.ReadFormatFile(""), fmt::kOk);
    EXPECT_EQ(CountsOf(m_table), (Counts{0, 0, 0}));
    EXPECT_TRUE(m_table.StagingTags.empty());

    const std::vector<uint8_t> one = RandomTableFile(0, 1);
    WriteFile(SystemFile(), one);
    EXPECT_EQ(m_table.ReadFormatFile(""), fmt::kOk);
    EXPECT_EQ(CountsOf(m_table), (Counts{0, 1, 1}));
    ASSERT_EQ(m_table.StagingTimingBlocks.size(), 1u);
    EXPECT_EQ(m_table.StagingTimingBlocks[0], fmt::DecodeRecord(one.data() + 2).Timing);
}

TEST_F(TableFileTest, TheBuiltInCountIsTakenAsItStands) {
    WriteFile(SystemFile(), RandomTableFile(2, 3));
    EXPECT_EQ(m_table.ReadFormatFile(""), fmt::kOk);
    EXPECT_EQ(CountsOf(m_table), (Counts{2, 3, 1}));

    WriteFile(SystemFile(), RandomTableFile(3, 3));
    EXPECT_EQ(m_table.ReadFormatFile(""), fmt::kOk);
    EXPECT_EQ(CountsOf(m_table), (Counts{3, 3, 0}));
}

TEST_F(TableFileTest, ReadThenWriteGivesBackTheFileByteForByte) {
    for (size_t records : {size_t{0}, size_t{3}, fmt::kMaxRecords}) {
        SCOPED_TRACE(records);
        const std::vector<uint8_t> original =
            RandomTableFile(static_cast<uint16_t>(records / 2), records, 99);
        WriteFile(SystemFile(), original);
        ASSERT_EQ(Lock(), fmt::kOk);
        ASSERT_EQ(m_table.WriteFormatFile(m_table.TableDirectory, "format.bin", true), fmt::kOk);
        EXPECT_EQ(ReadFile(SystemFile()), original);
    }
}

TEST_F(TableFileTest, AWriteOverTheFileAsReadGoesOnAndOneOverAnotherProgramsTableWaits) {
    const std::vector<uint8_t> original = RandomTableFile(1, 3, 5);
    WriteFile(SystemFile(), original);
    platform::FileContents read;
    ASSERT_EQ(m_table.ReadFormatFile("", read), fmt::kOk);
    m_table.CopyStagingToTable();
    EXPECT_EQ(read, (platform::FileContents{true, original}));
    m_table.EnableFlags[2] = 0;
    ASSERT_EQ(m_table.WriteFormatFileIfUnchanged(m_table.TableDirectory, "format.bin", true, read),
              platform::ReplaceResult::Replaced);
    const std::vector<uint8_t> ours = ReadFile(SystemFile());
    EXPECT_EQ(ours, m_table.FileBytes());
    EXPECT_EQ(ours[2 + 2 * fmt::kRecordSize + 20], 0);

    // Another program's table since: nothing written, and what it is handed back.
    const std::vector<uint8_t> theirs = RandomTableFile(2, 2, 6);
    WriteFile(SystemFile(), theirs);
    platform::FileContents found;
    m_debug.clear();
    EXPECT_EQ(m_table.WriteFormatFileIfUnchanged(m_table.TableDirectory, "format.bin", true,
                                                 platform::FileContents{true, ours}, &found),
              platform::ReplaceResult::Changed);
    EXPECT_EQ(m_debug.front(), "C:\\Windows\\Sysnative\\format.bin");
    EXPECT_EQ(ReadFile(SystemFile()), theirs);
    EXPECT_EQ(found, (platform::FileContents{true, theirs}));
    EXPECT_EQ(m_table.WriteFormatFileIfUnchanged("", "format.bin", true, found),
              platform::ReplaceResult::Failed);
    EXPECT_EQ(ReadFile(SystemFile()), theirs);
}

TEST_F(TableFileTest, ReadTracesThePathAndTheBuiltInCount) {
    WriteFile(SystemFile(), RandomTableFile(2, 3));
    ASSERT_EQ(m_table.ReadFormatFile(""), fmt::kOk);
    EXPECT_EQ(m_debug,
              (Lines{"C:\\Windows\\Sysnative\\format.bin", "\n", "NumofFileFormat: 2", "\n"}));
}

TEST_F(TableFileTest, OnAmd64TheTableLivesInSysnativeAndApplyWritesItBackThere) {
    WriteFile(SystemFile(), RandomTableFile(1, 2));
    ASSERT_EQ(Lock(), fmt::kOk);
    EXPECT_EQ(m_table.TableDirectory, "C:\\Windows\\Sysnative");

    m_table.EnableFlags[1] = 0;
    ASSERT_EQ(m_table.WriteFormatFile(m_table.TableDirectory, "format.bin", true), fmt::kOk);
    EXPECT_EQ(m_debug.at(4), "C:\\Windows\\Sysnative\\format.bin");
    EXPECT_EQ(ReadFile(SystemFile())[2 + 124 + 20], 0);
    EXPECT_FALSE(fs::exists(m_root / "Windows/Sysnative"));
}

TEST_F(TableFileTest, OtherArchitecturesUseSystem32) {
    WriteFile(SystemFile(), RandomTableFile(1, 2));
    for (uint16_t architecture :
         {platform::PROCESSOR_ARCHITECTURE_INTEL, platform::PROCESSOR_ARCHITECTURE_ARM64,
          platform::PROCESSOR_ARCHITECTURE_IA64}) {
        platform::SetNativeArchitecture(architecture);
        EXPECT_FALSE(fmt::Is64BitWindows());
        EXPECT_EQ(fmt::SystemTableDirectory(), "C:\\Windows\\System32");
        fmt::FormatTable table;
        EXPECT_EQ(table.ReadFormatFile(""), fmt::kOk);
        EXPECT_EQ(table.TableDirectory, "C:\\Windows\\System32");
    }
    platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
    EXPECT_TRUE(fmt::Is64BitWindows());
}

TEST_F(TableFileTest, TheTableDirectoryIsChosenEvenWhenTheReadFails) {
    EXPECT_EQ(m_table.ReadFormatFile(""), fmt::kFailure);
    EXPECT_EQ(m_table.TableDirectory, "C:\\Windows\\Sysnative");
    EXPECT_EQ(m_debug, (Lines{"C:\\Windows\\Sysnative\\format.bin", "\n"}));
}

TEST_F(TableFileTest, ReadingAnExplicitPathLeavesTheTableDirectoryAlone) {
    WriteFile(SystemFile(), RandomTableFile(4, 5));
    ASSERT_EQ(Lock(), fmt::kOk);
    const std::string imported = m_root / "import.bin";
    WriteFile(imported, RandomTableFile(0, 2, 3));

    EXPECT_EQ(m_table.ReadFormatFile(imported), fmt::kOk);
    EXPECT_EQ(m_table.TableDirectory, "C:\\Windows\\Sysnative");
    EXPECT_EQ(CountsOf(m_table), (Counts{0, 2, 2}));
    EXPECT_EQ(m_debug.at(4), imported);

    fmt::FormatTable fresh;
    EXPECT_EQ(fresh.ReadFormatFile(imported), fmt::kOk);
    EXPECT_TRUE(fresh.TableDirectory.empty());
}

TEST_F(TableFileTest, FilesThatDoNotFitTheTableAreRefusedWithNothingChanged) {
    const std::vector<uint8_t> good = RandomTableFile(1, 2);
    WriteFile(SystemFile(), good);
    ASSERT_EQ(Lock(), fmt::kOk);
    const fmt::FormatRecord before = m_table.Record(1);
    const std::vector<fmt::TimingBlock> staging = m_table.StagingTimingBlocks;

    const std::string tooMany = m_root / "257.bin";
    WriteFile(tooMany, RandomTableFile(0, fmt::kMaxRecords + 1));
    const std::string moreBuiltin = m_root / "builtin5.bin";
    WriteFile(moreBuiltin, RandomTableFile(5, 3));
    const std::string headerOnly = m_root / "header1.bin";
    WriteFile(headerOnly, {1, 0});
    for (const std::string& path : {tooMany, moreBuiltin, headerOnly}) {
        SCOPED_TRACE(path);
        m_debug.clear();
        EXPECT_EQ(m_table.ReadFormatFile(path), fmt::kFailure);
        EXPECT_EQ(CountsOf(m_table), (Counts{1, 2, 1}));
        EXPECT_EQ(m_table.StagingTimingBlocks, staging);
        EXPECT_EQ(m_table.StagingTags.size(), 2u);
        EXPECT_EQ(m_table.Record(1), before);
        EXPECT_EQ(m_debug, (Lines{path, "\n"}));
    }
}

TEST_F(TableFileTest, AFullTableIsTheLargestFileThatLoads) {
    WriteFile(SystemFile(), RandomTableFile(256, fmt::kMaxRecords));
    ASSERT_EQ(Lock(), fmt::kOk);
    EXPECT_EQ(CountsOf(m_table), (Counts{256, 256, 0}));
    EXPECT_EQ(ReadFile(SystemFile()).size(), 31746u);
}

TEST_F(TableFileTest, WritingWithoutADirectoryTouchesNothing) {
    EXPECT_EQ(m_table.WriteFormatFile("", "format.bin", true), fmt::kFailure);
    EXPECT_EQ(m_debug, (Lines{"\\format.bin", "\n", "Error: No binary file matched"}));
    EXPECT_EQ(m_table.WriteFormatFile("", "format.bin", false), fmt::kFailure);
    EXPECT_FALSE(fs::exists(SystemFile()));
}

TEST_F(TableFileTest, ExportWritesToTheDirectoryTextItself) {
    m_table.BuiltinCount = 1;
    m_table.UserCount = 1;
    m_table.RecordCount = 2;
    m_table.Tags[1] = fmt::MakeTag("_autogr_support");
    const std::string exported = m_root / "export.bin";
    ASSERT_EQ(m_table.WriteFormatFile(exported, "format.bin", false), fmt::kOk);
    EXPECT_EQ(m_debug.front(), exported);
    EXPECT_EQ(ReadFile(exported), fmt::EncodeTableFile(1, {m_table.Record(0), m_table.Record(1)}));
}

TEST_F(TableFileTest, AnEmptyTableIsWrittenAsTheHeaderAlone) {
    ASSERT_EQ(m_table.WriteFormatFile("C:\\Windows\\System32", "testformat.bin", true), fmt::kOk);
    EXPECT_EQ(ReadFile(SystemFile("testformat.bin")), (std::vector<uint8_t>{0, 0}));
}

TEST_F(TableFileTest, CountsBeyondTheTableAreNotWritten) {
    m_table.BuiltinCount = 200;
    m_table.UserCount = 100;
    EXPECT_EQ(m_table.WriteFormatFile("C:\\Windows\\System32", "format.bin", true), fmt::kFailure);
    EXPECT_FALSE(fs::exists(SystemFile()));
}

TEST_F(TableFileTest, AFailedWriteLeavesTheOldFileAsItWas) {
    const std::vector<uint8_t> original = RandomTableFile(1, 3);
    WriteFile(SystemFile(), original);
    ASSERT_EQ(Lock(), fmt::kOk);
    m_table.UserCount = 0;  // a write would now drop two records

    // A folder that does not exist, and a target that is a folder, fail for every user.
    EXPECT_EQ(m_table.WriteFormatFile("C:\\Windows\\NoSuchFolder", "format.bin", true),
              fmt::kFailure);
    fs::create_directory(SystemFile("testformat.bin"));
    EXPECT_EQ(m_table.WriteFormatFile("C:\\Windows\\System32", "testformat.bin", true),
              fmt::kFailure);
    EXPECT_TRUE(fs::is_directory(SystemFile("testformat.bin")));

#ifdef _WIN32
    // Windows lets anybody write into a read-only folder; what it refuses is a read-only file.
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(SystemFile(), write, fs::perm_options::remove);
    EXPECT_EQ(m_table.WriteFormatFile(m_table.TableDirectory, "format.bin", true), fmt::kFailure);
    fs::permissions(SystemFile(), write, fs::perm_options::add);
#else
    if (geteuid() != 0) {
        fs::permissions(m_root / "Windows/System32", fs::perms::owner_write,
                        fs::perm_options::remove);
        EXPECT_EQ(m_table.WriteFormatFile(m_table.TableDirectory, "format.bin", true),
                  fmt::kFailure);
        fs::permissions(m_root / "Windows/System32", fs::perms::owner_write, fs::perm_options::add);
    }
#endif
    EXPECT_EQ(ReadFile(SystemFile()), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "Windows/System32"),
                            fs::directory_iterator()),
              2);
}

TEST_F(TableFileTest, RecordsMoveBetweenTheFourArraysAsOne) {
    fmt::FormatRecord record = fmt::DecodeRecord(RandomTableFile(0, 1).data() + 2);
    m_table.SetRecord(5, record);
    EXPECT_EQ(m_table.Record(5), record);
    EXPECT_EQ(m_table.Tags[5], record.TagBytes);
    EXPECT_EQ(m_table.RegisterBlocks[5], record.Registers);
    m_table.SetRecord(fmt::kMaxRecords, record);  // out of the table: ignored
    EXPECT_EQ(m_table.Record(fmt::kMaxRecords), fmt::FormatRecord{});
    m_table.ClearEntries();
    EXPECT_EQ(m_table.Record(5), fmt::FormatRecord{});
}

}  // namespace
