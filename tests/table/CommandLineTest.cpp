// The tool's command line as a script calls it: --help and --version, "--" before a file whose
// name looks like an option, and output that never reached its reader.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <streambuf>

#include "ToolFixture.h"
#include "VuverezeVersion.h"
#include "tools/table/TableTool.h"

namespace tabletest {
namespace {

TEST(ToolCommandLineTest, HelpAndVersionGoToStandardOutput) {
    for (const char* word : {"--help", "-h"}) {
        const ToolRun run = RunTool({word});
        EXPECT_EQ(run.code, 0) << word;
        EXPECT_EQ(run.out.rfind("usage: vuvereze-table show FILE [--json]", 0), 0u) << word;
        EXPECT_EQ(run.err, "") << word;
    }
    const ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("vuvereze-table ") + VUVEREZE_VERSION_TEXT + "\n");
    EXPECT_EQ(version.err, "");
}

TEST(ToolCommandLineTest, AnUnknownOptionIsAnErrorWithTheUsage) {
    for (const char* word : {"-x", "--verbose", "-", "--jsonx"}) {
        const ToolRun run = RunTool({"show", word});
        EXPECT_EQ(run.code, 2) << word;
        EXPECT_EQ(run.out, "") << word;
        EXPECT_NE(run.err.find(std::string("unknown option ") + word + "\n"), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << word;
    }
    EXPECT_EQ(RunTool({"diff", "--json", "a.bin", "b.bin"}).code, 2);
}

TEST_F(ToolTest, AFileNamedLikeAnOptionFollowsTheDoubleDash) {
    const std::string path = WriteClean("-format.bin");
    const std::string folder = path.substr(0, path.size() - std::string("-format.bin").size());
    // Named by its bare name it would be an option; after "--" it is a file, and so is a
    // following "--json", while the one before "--" still counts.
    EXPECT_EQ(RunTool({"check", "-format.bin"}).code, 2);
    const ToolRun run = RunTool({"check", "--", path});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, path + ": clean, 4 records\n");
    const ToolRun json = RunTool({"show", "--json", "--", path});
    EXPECT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{", 0), 0u);
    const ToolRun file = RunTool({"show", "--", "--json"});
    EXPECT_EQ(file.code, 2);
    EXPECT_NE(file.err.find("vuvereze-table: --json: cannot be read"), std::string::npos)
        << file.err;
}

// A reader that takes so many bytes and then fails, as a disk that fills up.
class CFullDisk : public std::streambuf {
  public:
    explicit CFullDisk(size_t room) : m_room(room) {}
    std::string taken;

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (taken.size() >= m_room)
            return traits_type::eof();
        taken.push_back(traits_type::to_char_type(c));
        return c;
    }

  private:
    size_t m_room;
};

TEST_F(ToolTest, OutputThatCouldNotBeWrittenIsAnError) {
    const std::string clean = WriteClean();
    std::vector<fmt::FormatRecord> records = CleanRecords();
    records[2].Timing.HTotal = 0;
    const std::string broken = WriteTable("broken.bin", kCleanBuiltins, records);
    struct Case {
        std::vector<std::string> args;
        int whole;  // the exit code when the output is written
    };
    for (const Case& c :
         {Case{{"show", "--json", clean}, 0}, Case{{"show", clean}, 0}, Case{{"check", broken}, 1},
          Case{{"diff", clean, broken}, 1}, Case{{"--help"}, 0}, Case{{"--version"}, 0}}) {
        std::ostringstream whole;
        std::ostringstream quiet;
        ASSERT_EQ(tabletool::RunTableTool(c.args, whole, quiet), c.whole) << c.args[0];
        // Cut off anywhere, even at the very end or before the first byte.
        for (size_t room : {size_t{0}, whole.str().size() / 2, whole.str().size() - 1}) {
            CFullDisk disk(room);
            std::ostream out(&disk);
            std::ostringstream err;
            EXPECT_EQ(tabletool::RunTableTool(c.args, out, err), 2) << c.args[0] << " " << room;
            EXPECT_EQ(err.str(), "vuvereze-table: the output could not be written\n") << c.args[0];
        }
    }
}

}  // namespace
}  // namespace tabletest
