// "diff": two tables that differ in chosen fields, compared record by record within the
// built-in part and within the user part.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ToolFixture.h"
#include "format/FormatTable.h"

namespace tabletest {
namespace {

TEST_F(ToolTest, TheSameTableHasNoDifferences) {
    const ToolRun run = RunTool({"diff", WriteClean("a.bin"), WriteClean("b.bin")});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("\nno differences\n"), std::string::npos) << run.out;
}

TEST_F(ToolTest, ChangedFieldsAddedAndRemovedRecords) {
    std::vector<fmt::FormatRecord> before = CleanRecords();
    before.push_back(StandardRecord("1280x1024p60"));
    std::vector<fmt::FormatRecord> after = CleanRecords();
    after[1].Enabled = 0;
    after[2].Timing.FrameRate = 5994;
    after[2].Registers.FR_LL = 0x1AF;
    after[3].TagBytes[18] = 0x41;  // behind the terminator, where no list shows it
    const std::string a = WriteTable("a.bin", kCleanBuiltins, before);
    const std::string b = WriteTable("b.bin", kCleanBuiltins, after);
    const ToolRun run = RunTool({"diff", a, b});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "--- " + a + ": built-in count 2, 5 records (2 built-in, 3 user)\n" +
                           "+++ " + b + ": built-in count 2, 4 records (2 built-in, 2 user)\n" +
                           "changed built-in 1: Enabled 1 -> 0\n"
                           "changed user 0: FrameRate 6000 -> 5994\n"
                           "changed user 0: FR_LL 0x1A8 -> 0x1AF\n"
                           "changed user 1: Tag _autogr_support -> _autogr_support [after the "
                           "zero: 00 00 41 00]\n"
                           "removed user 2: 1280x1024 60.02 on _autogr_support\n");

    const ToolRun back = RunTool({"diff", b, a});
    EXPECT_NE(back.out.find("added user 2: 1280x1024 60.02 on _autogr_support\n"),
              std::string::npos)
        << back.out;
}

TEST_F(ToolTest, RecordsAreMatchedWithinTheirPart) {
    // One more built-in format: the user formats keep their Ids, so only the new built-in and
    // the header are different.
    std::vector<fmt::FormatRecord> before = CleanRecords();
    std::vector<fmt::FormatRecord> after = CleanRecords();
    after.insert(after.begin() + 2, StandardRecord("640x480p60", "_vesa_support"));
    const ToolRun run =
        RunTool({"diff", WriteTable("a.bin", 2, before), WriteTable("b.bin", 3, after)});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("header: built-in count 2 -> 3\n"
                           "added built-in 2: 640x480 59.94 on _vesa_support\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("changed"), std::string::npos) << run.out;
}

TEST_F(ToolTest, NoCommandWritesAFile) {
    const std::string a = WriteClean("a.bin");
    const std::string b = WriteTable("b.bin", 1, CleanRecords());
    const auto listing = [this] {
        std::vector<std::pair<std::string, uintmax_t>> files;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
            files.emplace_back(entry.path().string(), entry.file_size());
        std::sort(files.begin(), files.end());
        return files;
    };
    const auto before = listing();
    const auto time = std::filesystem::last_write_time(a);
    RunTool({"show", a});
    RunTool({"show", "--json", a});
    RunTool({"check", b});
    RunTool({"diff", a, b});
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(std::filesystem::last_write_time(a), time);
}

}  // namespace
}  // namespace tabletest
