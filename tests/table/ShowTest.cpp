// "show": the header and one line per record as the lists number them, and the same as JSON
// that parses back into the record's values.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "ToolFixture.h"
#include "format/FormatTable.h"

namespace tabletest {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(ToolTest, ShowGivesTheHeaderAndOneLinePerRecord) {
    std::vector<fmt::FormatRecord> records = CleanRecords();
    records[1].Enabled = 0;
    records.push_back(StandardRecord("1280x720p59.94"));
    const std::string path = WriteTable("format.bin", kCleanBuiltins, records);
    const ToolRun run = RunTool({"show", path});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0],
              path + ": 622 bytes; header: built-in count 2; 5 records (2 built-in, 3 user)");
    EXPECT_EQ(lines[1].rfind("Id ", 0), 0u);
    // Built-in rows count from 0, and user rows from 0 again.
    EXPECT_EQ(lines[2].rfind("built-in 0 ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("built-in 1 ", 0), 0u);
    EXPECT_EQ(lines[4].rfind("user 0 ", 0), 0u);
    EXPECT_EQ(lines[6].rfind("user 2 ", 0), 0u);
    EXPECT_NE(lines[3].find(" off "), std::string::npos);
    EXPECT_NE(lines[6].find(" 1280x720 "), std::string::npos);
    EXPECT_NE(lines[6].find(" 59.94 "), std::string::npos);
    // 1080i60: half the front porch is kept, so either of 4 and 5 lines fits.
    EXPECT_NE(lines[3].find(" 4-5 "), std::string::npos) << lines[3];
    EXPECT_NE(lines[3].find(" 464-015 "), std::string::npos);
}

TEST_F(ToolTest, ShowJsonParsesBackIntoTheRecords) {
    std::vector<fmt::FormatRecord> records = CleanRecords();
    records[3].Registers.DE_H_START = 0x3F6;
    records[3].Timing.Byte11 = 0xAB;
    const std::string path = WriteTable("format.bin", kCleanBuiltins, records);
    const ToolRun run = RunTool({"show", path, "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["file"], path);
    EXPECT_EQ(j["size"], 498);
    EXPECT_EQ(j["builtinCount"], 2);
    EXPECT_EQ(j["recordCount"], 4);
    EXPECT_EQ(j["userRecords"], 2);
    ASSERT_EQ(j["records"].size(), 4u);

    const nlohmann::json& user1 = j["records"][3];
    EXPECT_EQ(user1["kind"], "user");
    EXPECT_EQ(user1["id"], 1);
    EXPECT_EQ(user1["index"], 3);
    EXPECT_EQ(user1["tag"], "_autogr_support");
    EXPECT_EQ(user1["format"], "1024x768");
    EXPECT_EQ(user1["rate"], "60.00");
    EXPECT_EQ(user1["hTotal"], 1344);
    EXPECT_EQ(user1["vFrontPorch"], 3);
    EXPECT_EQ(user1["vSync"], 6);
    EXPECT_EQ(user1["vBackPorch"], 29);
    EXPECT_EQ(user1["registers"]["PLLDivRatio"], 1344);
    EXPECT_EQ(user1["registers"]["DE_H_START"], 0x3F6);
    EXPECT_EQ(user1["ranges"]["VSyncRange1"], nlohmann::json::array({4, 6, 8}));
    EXPECT_EQ(user1["other"]["TimingByte11"], 0xAB);

    const nlohmann::json& interlaced = j["records"][1];
    EXPECT_EQ(interlaced["kind"], "built-in");
    EXPECT_EQ(interlaced["interlace"], 1);
    EXPECT_EQ(interlaced["vFrontPorch"], 4);
    EXPECT_EQ(interlaced["vFrontPorchMax"], 5);
}

TEST_F(ToolTest, TagBytesCannotReachTheTerminalRaw) {
    std::vector<fmt::FormatRecord> records = {StandardRecord("1920x1080p60")};
    records[0].TagBytes = fmt::MakeTag("\x1b[2Jbad\\tag\xff");
    const std::string path = WriteTable("format.bin", 0, records);
    const ToolRun text = RunTool({"show", path});
    EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
    EXPECT_NE(text.out.find("\\x1B[2Jbad\\x5Ctag\\xFF"), std::string::npos) << text.out;
    const ToolRun json = RunTool({"show", "--json", path});
    EXPECT_EQ(nlohmann::json::parse(json.out)["records"][0]["tag"], "\\x1B[2Jbad\\x5Ctag\\xFF");
}

TEST_F(ToolTest, ShowStillShowsABrokenFile) {
    std::vector<uint8_t> bytes = fmt::EncodeTableFile(9, CleanRecords());
    bytes.resize(bytes.size() + 50);
    const std::string path = Write("broken.bin", bytes);
    const ToolRun run = RunTool({"show", path});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("4 records (4 built-in, 0 user); 50 bytes after the last whole record"),
              std::string::npos)
        << run.out;
    const nlohmann::json j = nlohmann::json::parse(RunTool({"show", path, "--json"}).out);
    EXPECT_EQ(j["trailingBytes"], 50);
    EXPECT_EQ(j["records"][3]["kind"], "built-in");
    EXPECT_EQ(
        nlohmann::json::parse(RunTool({"show", Write("e", {}), "--json"}).out)["builtinCount"],
        nullptr);
}

TEST_F(ToolTest, ALongFileNameIsShownWhole) {
    const std::string path = WriteTable(std::string(240, 'n') + ".bin", 0, CleanRecords());
    const ToolRun run = RunTool({"show", path});
    EXPECT_EQ(run.out.rfind(path + ": 498 bytes; header: built-in count 0;", 0), 0u) << run.out;
}

TEST(ToolUsageTest, WordsTheToolDoesNotKnow) {
    EXPECT_EQ(RunTool({}).code, 2);
    EXPECT_EQ(RunTool({"list", "format.bin"}).code, 2);
    EXPECT_EQ(RunTool({"check", "--json", "format.bin"}).code, 2);
    EXPECT_EQ(RunTool({"diff", "a.bin"}).code, 2);
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: vuvereze-table show FILE [--json]"), std::string::npos);
    EXPECT_NE(RunTool({}).err.find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace tabletest
