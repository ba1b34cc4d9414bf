// How the runner reads the debug output and table records.
#include "tools/scenarios/Readers.h"

#include <gtest/gtest.h>

namespace scenarios {
namespace {

std::vector<std::string> Texts(const std::vector<DebugLine>& lines, size_t from, size_t to) {
    std::vector<std::string> texts;
    for (size_t i = from; i < to; ++i)
        texts.push_back(lines[i].text);
    return texts;
}

TEST(DebugOutputLines, AWriteWithoutALineEndIsALineOfItsOwnAndPartOfTheNext) {
    // Three writes: a traced path, "Edit number is 0" without a line end, then a detection line.
    const std::string out = "C:\\x\r\nEdit number is 0FPGA Detect H = 1920\r\n";
    const std::vector<size_t> writeEnds = {6, 22, out.size()};
    size_t plain = 0;
    std::vector<DebugLine> lines = SplitDebugOutput(out, writeEnds, plain);
    ASSERT_EQ(plain, 2u);
    EXPECT_EQ(Texts(lines, 0, plain),
              (std::vector<std::string>{"C:\\x", "Edit number is 0FPGA Detect H = 1920"}));
    EXPECT_EQ(Texts(lines, plain, lines.size()),
              (std::vector<std::string>{"C:\\x", "Edit number is 0", "FPGA Detect H = 1920"}));
    EXPECT_EQ(lines[plain + 2].begin, 22u);
    EXPECT_EQ(lines[plain + 2].end, out.size());
}

TEST(RecordFields, AreReadByNameAsTheScenariosWriteThem) {
    fmt::FormatRecord record;
    record.TagBytes = fmt::MakeTag("_autogr_support");
    record.Timing.LineLengthRange = fmt::LineLengthRange(30);
    record.Registers.FR_LL = 0x1A8;
    std::string value;
    ASSERT_TRUE(ReadRecordField(record, "Tag", value));
    EXPECT_EQ(value, "_autogr_support");
    ASSERT_TRUE(ReadRecordField(record, "LineLengthRange", value));
    EXPECT_EQ(value, "0,30,70");
    ASSERT_TRUE(ReadRecordField(record, "FR_LL", value));
    EXPECT_EQ(value, NormaliseFieldValue("0x1A8"));
    EXPECT_FALSE(ReadRecordField(record, "NoSuchField", value));
}

}  // namespace
}  // namespace scenarios
