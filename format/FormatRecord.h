// One format of the driver's table as it stands in a table file: 124 bytes, little-endian.
// The structs keep every byte of a record, the ones the program never interprets included,
// so a record read and written again is the same to the byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace fmt {

constexpr size_t kTagSize = 20;
constexpr size_t kTimingBlockSize = 68;
constexpr size_t kRegisterBlockSize = 32;
constexpr size_t kRecordSize = 124;
constexpr size_t kMaxRecords = 256;

using Tag = std::array<uint8_t, kTagSize>;

// Lower bound, nominal value, upper bound. Only the lower bound is floored (at 0); the upper one
// wraps above 65535 as the driver's u16 does.
struct RangeTriple {
    uint16_t Lower = 0;
    uint16_t Nominal = 0;
    uint16_t Upper = 0;
    bool operator==(const RangeTriple&) const = default;
};
RangeTriple MakeRange(int32_t value, int32_t margin);
inline RangeTriple LineLengthRange(int32_t count) {
    return MakeRange(count, 40);
}
inline RangeTriple VSyncRange(int32_t width) {
    return MakeRange(width, 2);
}
inline RangeTriple VTotalRange(int32_t total) {
    return MakeRange(total, 25);
}

struct TimingBlock {
    uint16_t PixelClockMHz = 0;
    uint16_t LineFreq = 0;   // kHz x 100
    uint16_t FrameRate = 0;  // Hz x 100
    uint8_t HPolarity = 0;
    uint8_t VPolarity = 0;
    uint8_t Interlace = 0;
    uint8_t Byte9 = 0;
    uint8_t Byte10 = 0;
    uint8_t Byte11 = 0;
    uint16_t HActive = 0;
    uint16_t VActive = 0;
    uint16_t HTotal = 0;
    uint16_t VTotal = 0;
    RangeTriple LineLengthRange;
    RangeTriple VSyncRange1;
    RangeTriple VSyncRange2;
    RangeTriple VSyncRange3;
    RangeTriple VTotalRange1;
    RangeTriple VTotalRange2;
    std::array<uint8_t, 8> Bytes56 = {};
    uint32_t Word64 = 0;
    bool operator==(const TimingBlock&) const = default;
};

struct RegisterBlock {
    uint16_t PLLDivRatio = 0;
    uint8_t Interlace = 0;
    uint8_t Byte3 = 0;
    uint16_t FR_LL = 0;
    uint16_t Word6 = 0;
    uint16_t L_MAX = 0;
    uint16_t Word10 = 0;
    uint32_t Word12 = 0;
    uint16_t DE_H_START = 0;
    uint16_t DE_H_END = 0;
    uint8_t DE_V_START = 0;
    uint8_t DE_V_END = 0;
    uint16_t F1_VBI_START = 0;
    uint16_t F1_VBI_END = 0;
    uint16_t F2_VBI_START = 0;
    uint16_t F2_VBI_END = 0;
    uint16_t Word30 = 0;
    bool operator==(const RegisterBlock&) const = default;
};

struct FormatRecord {
    Tag TagBytes = {};
    uint32_t Enabled = 0;
    TimingBlock Timing;
    RegisterBlock Registers;
    bool operator==(const FormatRecord&) const = default;
};

// Byte-exact encoding. Encode writes exactly the block's size; Decode reads exactly that many.
void EncodeTimingBlock(const TimingBlock& block, uint8_t* out);
TimingBlock DecodeTimingBlock(const uint8_t* in);
void EncodeRegisterBlock(const RegisterBlock& block, uint8_t* out);
RegisterBlock DecodeRegisterBlock(const uint8_t* in);
void EncodeRecord(const FormatRecord& record, uint8_t* out);
FormatRecord DecodeRecord(const uint8_t* in);
// The same, decoding straight into the four parts' final places (a whole table at a time).
void DecodeRecord(const uint8_t* in, Tag& tag, uint32_t& enabled, TimingBlock& timing,
                  RegisterBlock& registers);

// The tag text up to its first zero byte, and a tag made from a text (cut to 19 bytes).
std::string TagText(const Tag& tag);
Tag MakeTag(const char* text);

}  // namespace fmt
