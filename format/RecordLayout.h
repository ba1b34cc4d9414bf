// Where every field of a record sits in a table file, checked at compile time. Only format/
// (and its tests) include this header.
#pragma once

#include <bit>
#include <cstddef>
#include <type_traits>

#include "format/FormatRecord.h"

namespace fmt::layout {

struct Field {
    size_t Offset;    // in the file
    size_t Size;      // of the member that holds it
    size_t InMemory;  // offset of that member in its struct
};

template <size_t N>
constexpr bool BackToBack(const Field (&fields)[N], size_t blockSize) {
    size_t at = 0;
    for (const Field& field : fields) {
        if (field.Offset != at)
            return false;
        at += field.Size;
    }
    return at == blockSize;
}

// Timing block.
constexpr size_t kPixelClockMHz = 0, kLineFreq = 2, kFrameRate = 4, kHPolarity = 6, kVPolarity = 7,
                 kTimingInterlace = 8, kByte9 = 9, kByte10 = 10, kByte11 = 11, kHActive = 12,
                 kVActive = 14, kHTotal = 16, kVTotal = 18, kLineLengthRange = 20,
                 kVSyncRange1 = 26, kVSyncRange2 = 32, kVSyncRange3 = 38, kVTotalRange1 = 44,
                 kVTotalRange2 = 50, kBytes56 = 56, kWord64 = 64;

#define VZ_FIELD(Struct, member, offset)                         \
    Field {                                                      \
        offset, sizeof(Struct::member), offsetof(Struct, member) \
    }

constexpr Field kRangeFields[] = {
    VZ_FIELD(RangeTriple, Lower, 0),
    VZ_FIELD(RangeTriple, Nominal, 2),
    VZ_FIELD(RangeTriple, Upper, 4),
};
static_assert(BackToBack(kRangeFields, 6));

constexpr Field kTimingFields[] = {
    VZ_FIELD(TimingBlock, PixelClockMHz, kPixelClockMHz),
    VZ_FIELD(TimingBlock, LineFreq, kLineFreq),
    VZ_FIELD(TimingBlock, FrameRate, kFrameRate),
    VZ_FIELD(TimingBlock, HPolarity, kHPolarity),
    VZ_FIELD(TimingBlock, VPolarity, kVPolarity),
    VZ_FIELD(TimingBlock, Interlace, kTimingInterlace),
    VZ_FIELD(TimingBlock, Byte9, kByte9),
    VZ_FIELD(TimingBlock, Byte10, kByte10),
    VZ_FIELD(TimingBlock, Byte11, kByte11),
    VZ_FIELD(TimingBlock, HActive, kHActive),
    VZ_FIELD(TimingBlock, VActive, kVActive),
    VZ_FIELD(TimingBlock, HTotal, kHTotal),
    VZ_FIELD(TimingBlock, VTotal, kVTotal),
    VZ_FIELD(TimingBlock, LineLengthRange, kLineLengthRange),
    VZ_FIELD(TimingBlock, VSyncRange1, kVSyncRange1),
    VZ_FIELD(TimingBlock, VSyncRange2, kVSyncRange2),
    VZ_FIELD(TimingBlock, VSyncRange3, kVSyncRange3),
    VZ_FIELD(TimingBlock, VTotalRange1, kVTotalRange1),
    VZ_FIELD(TimingBlock, VTotalRange2, kVTotalRange2),
    VZ_FIELD(TimingBlock, Bytes56, kBytes56),
    VZ_FIELD(TimingBlock, Word64, kWord64),
};
static_assert(BackToBack(kTimingFields, kTimingBlockSize));

// Register block.
constexpr size_t kPLLDivRatio = 0, kRegisterInterlace = 2, kByte3 = 3, kFR_LL = 4, kWord6 = 6,
                 kL_MAX = 8, kWord10 = 10, kWord12 = 12, kDE_H_START = 16, kDE_H_END = 18,
                 kDE_V_START = 20, kDE_V_END = 21, kF1_VBI_START = 22, kF1_VBI_END = 24,
                 kF2_VBI_START = 26, kF2_VBI_END = 28, kWord30 = 30;

constexpr Field kRegisterFields[] = {
    VZ_FIELD(RegisterBlock, PLLDivRatio, kPLLDivRatio),
    VZ_FIELD(RegisterBlock, Interlace, kRegisterInterlace),
    VZ_FIELD(RegisterBlock, Byte3, kByte3),
    VZ_FIELD(RegisterBlock, FR_LL, kFR_LL),
    VZ_FIELD(RegisterBlock, Word6, kWord6),
    VZ_FIELD(RegisterBlock, L_MAX, kL_MAX),
    VZ_FIELD(RegisterBlock, Word10, kWord10),
    VZ_FIELD(RegisterBlock, Word12, kWord12),
    VZ_FIELD(RegisterBlock, DE_H_START, kDE_H_START),
    VZ_FIELD(RegisterBlock, DE_H_END, kDE_H_END),
    VZ_FIELD(RegisterBlock, DE_V_START, kDE_V_START),
    VZ_FIELD(RegisterBlock, DE_V_END, kDE_V_END),
    VZ_FIELD(RegisterBlock, F1_VBI_START, kF1_VBI_START),
    VZ_FIELD(RegisterBlock, F1_VBI_END, kF1_VBI_END),
    VZ_FIELD(RegisterBlock, F2_VBI_START, kF2_VBI_START),
    VZ_FIELD(RegisterBlock, F2_VBI_END, kF2_VBI_END),
    VZ_FIELD(RegisterBlock, Word30, kWord30),
};
static_assert(BackToBack(kRegisterFields, kRegisterBlockSize));

// Record.
constexpr size_t kTag = 0, kEnabled = 20, kTiming = 24, kRegisters = 92;
constexpr Field kRecordFields[] = {
    VZ_FIELD(FormatRecord, TagBytes, kTag),
    VZ_FIELD(FormatRecord, Enabled, kEnabled),
    Field{kTiming, kTimingBlockSize, offsetof(FormatRecord, Timing)},
    Field{kRegisters, kRegisterBlockSize, offsetof(FormatRecord, Registers)},
};
static_assert(BackToBack(kRecordFields, kRecordSize));

#undef VZ_FIELD

// True when a block in memory is byte for byte its form in the file: a little-endian host and
// every member exactly where the file has it, with no padding anywhere.
template <typename Block, size_t N>
constexpr bool SameAsFile(const Field (&fields)[N], size_t blockSize) {
    if (std::endian::native != std::endian::little || sizeof(Block) != blockSize ||
        !std::is_trivially_copyable_v<Block>) {
        return false;
    }
    for (const Field& field : fields) {
        if (field.InMemory != field.Offset)
            return false;
    }
    return true;
}

constexpr bool kTimingSameAsFile = SameAsFile<RangeTriple>(kRangeFields, 6) &&
                                   SameAsFile<TimingBlock>(kTimingFields, kTimingBlockSize);
constexpr bool kRegistersSameAsFile =
    SameAsFile<RegisterBlock>(kRegisterFields, kRegisterBlockSize);

// Field by field, low byte first: the definition of the layout, right on any host.
void EncodeTimingFields(const TimingBlock& block, uint8_t* out);
void DecodeTimingFields(const uint8_t* in, TimingBlock& block);
void EncodeRegisterFields(const RegisterBlock& block, uint8_t* out);
void DecodeRegisterFields(const uint8_t* in, RegisterBlock& block);

}  // namespace fmt::layout
