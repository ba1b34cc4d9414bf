// `apply`: the table in place of "format.bin" and the driver asked to reload it, exactly once;
// nothing at all when it is there already; a failed reload said as such with the table written.
#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "DeviceToolFixture.h"

namespace devicetest {
namespace {

class DeviceApply : public DeviceToolTest {
  protected:
    void SetUp() override {
        Machine({Device("Capture HD", "1920x1080p60"),
                 Device("No Reload", "1920x1080p60", "none", {"no-reload"}),
                 Device("Get Only", "1920x1080p60", "none", {"get-only"})});
        WriteInstalled(1, {Record("640x480p60"), Record("1024x768p60")});
        m_old = Bytes(Installed());
        // The enable flag 2 goes in as it stands: the table is put in place, not rebuilt.
        m_table =
            WriteTable("fleet.bin", 1,
                       {Record("640x480p60"), Record("1920x1080p60", 2), Record("1280x720p60", 0)});
    }

    static size_t Reloads(const std::vector<std::string>& log) {
        return static_cast<size_t>(std::count(log.begin(), log.end(), "SET RELOAD 1"));
    }

    std::vector<uint8_t> m_old;
    std::string m_table;
};

TEST_F(DeviceApply, PutsTheTableInPlaceByteForByteAndTheDriverReloadsIt) {
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Bytes(Installed()), Bytes(m_table));
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["changed"], true);
    EXPECT_EQ(doc["written"], true);
    EXPECT_EQ(doc["reloaded"], true);
    EXPECT_EQ(doc["installed"], "different");
    EXPECT_EQ(doc["target"], "C:\\Windows\\Sysnative\\format.bin");
    EXPECT_EQ(Reloads(CardLog(0)), 1u);
    EXPECT_EQ(m_machine->System().Card(0).LoadedTable(), Bytes(m_table));
    EXPECT_EQ(m_clock.NowMs(), 1000u);
}

TEST_F(DeviceApply, ATableInPlaceAlreadyIsNeitherWrittenNorReloaded) {
    ASSERT_EQ(RunTool({"apply", "Capture HD", m_table}).code, 0);
    // Any write of the installed file would now fail: an unchanged apply must not try one.
    platform::SetWriteFault(Installed(), 0);
    const ToolRun run = RunTool({"apply", "Capture HD", m_table});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Capture HD: format.bin unchanged\n");
    EXPECT_EQ(Reloads(CardLog(0)), 0u);
    const nlohmann::json doc = RunTool({"apply", "Capture HD", m_table, "--json"}).Json();
    EXPECT_EQ(doc["changed"], false);
    EXPECT_EQ(doc["installed"], "same");
}

TEST_F(DeviceApply, ATableAnotherProgramPutInPlaceMeanwhileIsNotWrittenOverNorReloaded) {
    const std::vector<uint8_t> theirs = fmt::EncodeTableFile(1, {Record("800x600p60")});
    AnotherProgramWrites("C:\\Windows\\Sysnative\\format.bin", 1, Installed(), theirs);
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_NE(run.err.find("Capture HD: another program changed "
                           "C:\\Windows\\Sysnative\\format.bin while this command worked; "
                           "nothing was written"),
              std::string::npos)
        << run.err;
    const nlohmann::json doc = run.Json();
    EXPECT_EQ(doc["written"], false);
    EXPECT_EQ(doc["changed"], false);
    EXPECT_EQ(doc["reloaded"], false);
    EXPECT_EQ(doc["changedMeanwhile"], true);
    EXPECT_EQ(Bytes(Installed()), theirs);
    EXPECT_EQ(Reloads(CardLog(0)), 0u);
}

TEST_F(DeviceApply, AnotherRollOutOfTheSameTableMeanwhileLeavesNothingToDo) {
    AnotherProgramWrites("C:\\Windows\\Sysnative\\format.bin", 1, Installed(), Bytes(m_table));
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["changed"], false);
    EXPECT_EQ(run.Json()["installed"], "same");
    EXPECT_EQ(Bytes(Installed()), Bytes(m_table));
    EXPECT_EQ(Reloads(CardLog(0)), 0u);
}

TEST_F(DeviceApply, AlwaysReloadAsksForTheReloadOfAnUnchangedTable) {
    ASSERT_EQ(RunTool({"apply", "Capture HD", m_table}).code, 0);
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--always-reload", "--json"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.Json()["changed"], false);
    EXPECT_EQ(Reloads(CardLog(0)), 1u);
}

TEST_F(DeviceApply, AFailedReloadIsAProblemWithTheTableWritten) {
    for (const char* device : {"No Reload", "Get Only"}) {
        WriteInstalled(1, {Record("640x480p60")});
        const ToolRun run = RunTool({"apply", device, m_table, "--json"});
        EXPECT_EQ(run.code, devicetool::kProblem) << device;
        const nlohmann::json doc = run.Json();
        EXPECT_EQ(doc["changed"], true);
        EXPECT_EQ(doc["written"], true);
        EXPECT_EQ(doc["reloaded"], false);
        EXPECT_NE(run.err.find("ReLoad file is fail! (the table was written"), std::string::npos);
        EXPECT_EQ(Bytes(Installed()), Bytes(m_table));
    }
}

TEST_F(DeviceApply, AMissingDeviceTouchesNothingEvenWhenTheTableIsInPlace) {
    for (int i = 0; i < 2; ++i) {
        const ToolRun run = RunTool({"apply", "Gone", i == 0 ? m_table : Installed()});
        EXPECT_EQ(run.code, devicetool::kProblem);
        EXPECT_NE(run.err.find("Device initized error!"), std::string::npos);
    }
    EXPECT_EQ(Bytes(Installed()), m_old);
}

TEST_F(DeviceApply, ATableTheDriverWouldRefuseIsNeverPutInPlace) {
    const std::string cut = WriteBytes("cut.bin", std::vector<uint8_t>(125, 0));
    const std::string header = WriteTable("header.bin", 3, {Record("640x480p60")});
    for (const std::string& table : {cut, header, m_folder / "missing.bin"}) {
        const ToolRun run = RunTool({"apply", "Capture HD", table});
        EXPECT_EQ(run.code, devicetool::kUsage) << table;
    }
    EXPECT_NE(RunTool({"apply", "Capture HD", cut}).err.find("125 bytes is not 2 + 124 x N"),
              std::string::npos);
    EXPECT_NE(RunTool({"apply", "Capture HD", header}).err.find("names 3 built-in formats"),
              std::string::npos);
    EXPECT_EQ(Bytes(Installed()), m_old);
    EXPECT_EQ(m_machine->Opens(), 0) << "an unreadable table is refused before any device";
}

TEST_F(DeviceApply, AWriteThatFailsLeavesTheOldTableAndAsksNoReload) {
    platform::SetWriteFault(Installed(), 10);
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--json"});
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_EQ(run.Json()["written"], false);
    EXPECT_NE(run.err.find("Can not write the format file!!"), std::string::npos);
    EXPECT_EQ(Bytes(Installed()), m_old);
    EXPECT_EQ(Reloads(CardLog(0)), 0u);
}

// Under User Account Control a prompt that is not elevated may not write the system folder: the
// command must say so, with the system's reason and what to do, and never pass for a success.
TEST_F(DeviceApply, AWriteTheSystemRefusesIsAProblemWithItsReasonAndTheMachinesAdvice) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(Installed()).parent_path();
#if defined(_WIN32)
    GTEST_SKIP() << "a folder's read-only mark binds nobody on Windows";
#endif
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--json"});
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_EQ(run.Json()["written"], false);
    EXPECT_NE(
        run.err.find("Can not write the format file!! (C:\\Windows\\Sysnative\\format.bin "
                     "was left as it was): " +
                     platform::FileErrorOf(EACCES).reason + ". Ask the machine's administrator\n"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(Bytes(Installed()), m_old);
    EXPECT_EQ(Reloads(CardLog(0)), 0u);
}

TEST_F(DeviceApply, AReadOnlyTableIsRefusedWithoutAdviceToElevate) {
    namespace fs = std::filesystem;
    fs::permissions(Installed(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const ToolRun run = RunTool({"apply", "Capture HD", m_table});
    fs::permissions(Installed(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(run.code, devicetool::kProblem);
    EXPECT_NE(run.err.find("was left as it was): the file is read-only\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("administrator"), std::string::npos) << "elevation would not help";
    EXPECT_EQ(Bytes(Installed()), m_old);
}

TEST_F(DeviceApply, AMissingInstalledTableIsWritten) {
    std::filesystem::remove(Installed());
    const ToolRun run = RunTool({"apply", "Capture HD", m_table, "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Json()["installed"], "unreadable");
    EXPECT_EQ(Bytes(Installed()), Bytes(m_table));
}

}  // namespace
}  // namespace devicetest
