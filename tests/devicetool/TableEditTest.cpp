// The edits of a table file: each is worked out whole and written in one step, or not at all
// when it changes nothing, is refused or is only a dry run.
#include "DeviceToolFixture.h"

namespace devicetest {
namespace {

class TableEdit : public DeviceToolTest {
  protected:
    void SetUp() override {
        // Two built-in formats, three user formats; the 720p user format is off.
        m_path = WriteTable("table.bin", 2,
                            {Record("640x480p60"), Record("1920x1080p60"), Record("1024x768p60"),
                             Record("1280x720p60", 0), Record("1920x1080p60")});
        m_before = Bytes(m_path);
    }
    // The file may not be written any more: an edit that tries fails.
    void ForbidWrites() { platform::SetWriteFault(m_path, 0); }
    std::vector<uint32_t> Flags() {
        const std::vector<uint8_t> b = Bytes(m_path);
        std::vector<uint32_t> flags;
        for (size_t at = 2 + 20; at + 4 <= b.size(); at += 124)
            flags.push_back(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (b[at + 3] << 24));
        return flags;
    }

    std::string m_path;
    std::vector<uint8_t> m_before;
};

TEST_F(TableEdit, SwitchesFormatsByListAndIdOrBySizeAndRate) {
    ToolRun run = RunTool({"disable", m_path, "built-in:1", "user:1920x1080@60"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Flags(), (std::vector<uint32_t>{1, 0, 1, 0, 0}));
    EXPECT_NE(run.out.find("disable  built-in 1   1920x1080  60.00\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(": 2 changes, written\n"), std::string::npos);
    run = RunTool({"enable", m_path, "1920x1080", "user:1", "--json"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(Flags(), (std::vector<uint32_t>{1, 1, 1, 1, 1}));
    EXPECT_EQ(run.Json()["changes"].size(), 3u);
    EXPECT_EQ(run.Json()["changes"][0]["enabledBefore"], 0);
}

TEST_F(TableEdit, AnEditThatChangesNoByteWritesNothing) {
    ForbidWrites();
    const ToolRun run = RunTool({"enable", m_path, "user:0", "built-in:all", "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["changed"], false);
    EXPECT_EQ(run.Json()["written"], false);
}

TEST_F(TableEdit, ADryRunSaysWhatWouldChangeAndWritesNothing) {
    ForbidWrites();
    const ToolRun run = RunTool({"delete", m_path, "user:all", "--dry-run", "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["changed"], true);
    EXPECT_EQ(doc["written"], false);
    EXPECT_EQ(doc["changes"].size(), 3u);
    EXPECT_EQ(doc["userCount"], 0);
    EXPECT_EQ(Bytes(m_path), m_before);
}

TEST_F(TableEdit, ASelectorThatNamesNothingRefusesTheWholeEdit) {
    const ToolRun run = RunTool({"disable", m_path, "user:0", "user:3"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_NE(run.err.find("\"user:3\" names no user format"), std::string::npos);
    EXPECT_EQ(RunTool({"disable", m_path, "1920x1080@50"}).code, devicetool::kProblem);
    EXPECT_EQ(Bytes(m_path), m_before);
    for (const char* bad : {"3", "users:1", "1920x", "1920x1080@", "x1080", "user:-1"})
        EXPECT_EQ(RunTool({"disable", m_path, bad}).code, devicetool::kUsage) << bad;
}

TEST_F(TableEdit, DeletesUserFormatsByTheIdsTheTableHadBefore) {
    const ToolRun run = RunTool({"delete", m_path, "user:2", "user:0"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Bytes(m_path), fmt::EncodeTableFile(2, {Record("640x480p60"), Record("1920x1080p60"),
                                                      Record("1280x720p60", 0)}));
    const ToolRun builtin = RunTool({"delete", m_path, "built-in:0"});
    EXPECT_EQ(builtin.code, devicetool::kUsage);
    EXPECT_NE(builtin.err.find("built-in formats cannot be deleted"), std::string::npos);
}

TEST_F(TableEdit, ImportsTheUserFormatsOfAnotherTableAsImportDoes) {
    const std::string other = WriteTable(
        "other.bin", 1, {Record("800x600p60"), Record("1280x1024p60", 0), Record("1024x768p60")});
    ToolRun run = RunTool({"import", m_path, other});
    ASSERT_EQ(run.code, 0) << run.err;
    // The file's built-in format stays out; its user formats come with their own flags, even a
    // format the table holds already.
    EXPECT_EQ(Bytes(m_path),
              fmt::EncodeTableFile(
                  2, {Record("640x480p60"), Record("1920x1080p60"), Record("1024x768p60"),
                      Record("1280x720p60", 0), Record("1920x1080p60"), Record("1280x1024p60", 0),
                      Record("1024x768p60")}));
    // Once more with --new-only: all of them are there, nothing changes.
    ForbidWrites();
    run = RunTool({"import", m_path, other, "--new-only", "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["changed"], false);
}

TEST_F(TableEdit, AnImportBeyond256FormatsTakesNone) {
    const std::string big =
        WriteTable("big.bin", 0, std::vector<fmt::FormatRecord>(252, Record("800x600p60")));
    const ToolRun run = RunTool({"import", m_path, big});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_NE(run.err.find("Can not import: the format table can not hold more than 256 formats!!"),
              std::string::npos);
    EXPECT_EQ(Bytes(m_path), m_before);
    const std::string fits =
        WriteTable("fits.bin", 0, std::vector<fmt::FormatRecord>(251, Record("800x600p60")));
    EXPECT_EQ(RunTool({"import", m_path, fits}).code, 0);
}

TEST_F(TableEdit, AFileThatCannotBeImportedIsUnreadableInput) {
    const std::string cut = WriteBytes("cut.bin", {0, 0, 1});
    const ToolRun run = RunTool({"import", m_path, cut});
    EXPECT_EQ(run.code, devicetool::kUsage);
    EXPECT_NE(run.err.find("Can not detect the import file!!"), std::string::npos);
    EXPECT_EQ(RunTool({"enable", cut, "user:0"}).code, devicetool::kUsage);
}

TEST_F(TableEdit, AFileAnotherProgramChangedWhileTheCommandWorkedIsNotWrittenOver) {
    // The other program switches the 720p user format on between the read and the write.
    std::vector<uint8_t> theirs = m_before;
    theirs[2 + 3 * 124 + 20] = 1;
    AnotherProgramWrites(m_path, 2, m_path, theirs);
    const ToolRun run = RunTool({"disable", m_path, "user:0", "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_NE(run.err.find(m_path + ": another program changed it while this command worked; "
                                    "nothing was written"),
              std::string::npos)
        << run.err;
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["written"], false);
    EXPECT_EQ(doc["changed"], false);
    EXPECT_EQ(doc["changedMeanwhile"], true);
    EXPECT_EQ(Bytes(m_path), theirs);
    // Run again, the command works on what is there now and both changes stand.
    ASSERT_EQ(RunTool({"disable", m_path, "user:0"}).code, 0);
    EXPECT_EQ(Flags(), (std::vector<uint32_t>{1, 1, 0, 1, 1}));
}

TEST_F(TableEdit, AFailedWriteLeavesTheFileAsItWas) {
    platform::SetWriteFault(m_path, 100);
    const ToolRun run = RunTool({"disable", m_path, "user:all", "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_EQ(run.Json()["written"], false);
    EXPECT_EQ(Bytes(m_path), m_before);
}

}  // namespace
}  // namespace devicetest
