#include <algorithm>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "format/FormatRecord.h"
#include "format/RecordLayout.h"

namespace {

using fmt::RangeTriple;

uint16_t U16At(const uint8_t* bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

TEST(FormatRecord, FieldsLandAtTheirOffsetsLowByteFirst) {
    fmt::FormatRecord record;
    record.TagBytes = fmt::MakeTag("_autogr_support");
    record.Enabled = 0x04030201;
    record.Timing.PixelClockMHz = 0x0148;
    record.Timing.LineFreq = 0x1A2B;
    record.Timing.Interlace = 1;
    record.Timing.Byte11 = 0xEE;
    record.Timing.VTotal = 0x0465;
    record.Timing.LineLengthRange = {0x0101, 0x0202, 0x0303};
    record.Timing.VTotalRange2 = {0x1111, 0x2222, 0x3333};
    record.Timing.Bytes56 = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7};
    record.Timing.Word64 = 12;
    record.Registers.PLLDivRatio = 0x0672;
    record.Registers.Interlace = 1;
    record.Registers.FR_LL = 0xBEEF;
    record.Registers.Word12 = 0x00000002;
    record.Registers.DE_H_START = 0x0123;
    record.Registers.DE_V_START = 0x29;
    record.Registers.DE_V_END = 0x2A;
    record.Registers.F2_VBI_END = 0x0456;
    record.Registers.Word30 = 0x7788;

    uint8_t bytes[fmt::kRecordSize] = {};
    fmt::EncodeRecord(record, bytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes)), "_autogr_support");
    EXPECT_EQ(bytes[20], 0x01);
    EXPECT_EQ(bytes[23], 0x04);
    EXPECT_EQ(U16At(bytes, 24 + 0), 0x0148);
    EXPECT_EQ(U16At(bytes, 24 + 2), 0x1A2B);
    EXPECT_EQ(bytes[24 + 8], 1);
    EXPECT_EQ(bytes[24 + 11], 0xEE);
    EXPECT_EQ(U16At(bytes, 24 + 18), 0x0465);
    EXPECT_EQ(U16At(bytes, 24 + 20), 0x0101);
    EXPECT_EQ(U16At(bytes, 24 + 24), 0x0303);
    EXPECT_EQ(U16At(bytes, 24 + 54), 0x3333);
    EXPECT_EQ(bytes[24 + 56], 0xA0);
    EXPECT_EQ(bytes[24 + 63], 0xA7);
    EXPECT_EQ(U16At(bytes, 24 + 64), 12);
    EXPECT_EQ(U16At(bytes, 92 + 0), 0x0672);
    EXPECT_EQ(bytes[92 + 2], 1);
    EXPECT_EQ(U16At(bytes, 92 + 4), 0xBEEF);
    EXPECT_EQ(U16At(bytes, 92 + 12), 2);
    EXPECT_EQ(U16At(bytes, 92 + 16), 0x0123);
    EXPECT_EQ(bytes[92 + 20], 0x29);
    EXPECT_EQ(bytes[92 + 21], 0x2A);
    EXPECT_EQ(U16At(bytes, 92 + 28), 0x0456);
    EXPECT_EQ(U16At(bytes, 92 + 30), 0x7788);
    EXPECT_EQ(fmt::DecodeRecord(bytes), record);
}

TEST(FormatRecord, AnyBytesComeBackUnchanged) {
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        uint8_t bytes[fmt::kRecordSize];
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        uint8_t again[fmt::kRecordSize] = {};
        fmt::EncodeRecord(fmt::DecodeRecord(bytes), again);
        ASSERT_EQ(0, memcmp(bytes, again, sizeof bytes)) << "round " << round;
    }
}

// Blocks may be copied whole where the host's layout is the file's; that must agree with placing
// every field on its own, which is what any other host does.
TEST(FormatRecord, WholeBlockCopiesAgreeWithFieldByFieldPlacement) {
    std::mt19937 random(99);
    for (int round = 0; round < 50; ++round) {
        uint8_t bytes[fmt::kRecordSize];
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        const fmt::FormatRecord record = fmt::DecodeRecord(bytes);

        fmt::TimingBlock timing;
        fmt::layout::DecodeTimingFields(bytes + 24, timing);
        EXPECT_EQ(timing, record.Timing);
        fmt::RegisterBlock registers;
        fmt::layout::DecodeRegisterFields(bytes + 92, registers);
        EXPECT_EQ(registers, record.Registers);

        uint8_t fields[fmt::kTimingBlockSize + fmt::kRegisterBlockSize];
        fmt::layout::EncodeTimingFields(record.Timing, fields);
        fmt::layout::EncodeRegisterFields(record.Registers, fields + fmt::kTimingBlockSize);
        ASSERT_EQ(0, memcmp(fields, bytes + 24, sizeof fields)) << "round " << round;
    }
}

TEST(FormatRecord, BlocksEncodeToExactlyTheirSize) {
    // Guard bytes around each block must survive its encoding.
    uint8_t buffer[fmt::kTimingBlockSize + 2];
    std::fill(std::begin(buffer), std::end(buffer), 0x5A);
    fmt::TimingBlock timing;
    timing.Word64 = 0xFFFFFFFF;
    fmt::EncodeTimingBlock(timing, buffer + 1);
    EXPECT_EQ(buffer[0], 0x5A);
    EXPECT_EQ(buffer[fmt::kTimingBlockSize + 1], 0x5A);
    EXPECT_EQ(buffer[fmt::kTimingBlockSize], 0xFF);

    uint8_t registers[fmt::kRegisterBlockSize + 2];
    std::fill(std::begin(registers), std::end(registers), 0x5A);
    fmt::RegisterBlock block;
    block.Word30 = 0xFFFF;
    fmt::EncodeRegisterBlock(block, registers + 1);
    EXPECT_EQ(registers[0], 0x5A);
    EXPECT_EQ(registers[fmt::kRegisterBlockSize], 0xFF);
    EXPECT_EQ(registers[fmt::kRegisterBlockSize + 1], 0x5A);
}

TEST(RangeTriple, LowerBoundFloorsAtZeroAndUpperBoundWraps) {
    EXPECT_EQ(fmt::LineLengthRange(30), (RangeTriple{0, 30, 70}));
    EXPECT_EQ(fmt::VSyncRange(1), (RangeTriple{0, 1, 3}));
    EXPECT_EQ(fmt::VTotalRange(65530), (RangeTriple{65505, 65530, 19}));
    EXPECT_EQ(fmt::LineLengthRange(1000), (RangeTriple{960, 1000, 1040}));
    EXPECT_EQ(fmt::VSyncRange(2), (RangeTriple{0, 2, 4}));
    EXPECT_EQ(fmt::VTotalRange(-5), (RangeTriple{0, 65531, 20}));
    // Values beyond 16 bits keep their low bits, the lower bound too.
    EXPECT_EQ(fmt::VTotalRange(70000),
              (RangeTriple{69975 & 0xFFFF, 70000 & 0xFFFF, 70025 & 0xFFFF}));
    EXPECT_EQ(fmt::MakeRange(INT32_MAX, 40).Upper,
              static_cast<uint16_t>((int64_t{INT32_MAX} + 40)));
}

TEST(Tag, TextStopsAtTheFirstZeroAndMakingOneKeepsATerminator) {
    EXPECT_EQ(fmt::TagText(fmt::MakeTag("_autogr_support")), "_autogr_support");
    EXPECT_EQ(fmt::TagText(fmt::MakeTag("")), "");
    EXPECT_EQ(fmt::TagText(fmt::MakeTag(nullptr)), "");

    const fmt::Tag cut = fmt::MakeTag("0123456789abcdefghijKLMN");
    EXPECT_EQ(fmt::TagText(cut), "0123456789abcdefghi");
    EXPECT_EQ(cut[19], 0);

    fmt::Tag full;
    full.fill('x');
    EXPECT_EQ(fmt::TagText(full), std::string(20, 'x'));
    full[3] = 0;
    EXPECT_EQ(fmt::TagText(full), "xxx");
}

}  // namespace
