// The byte layout of a record. Every field is placed by its offset and written byte by byte,
// low byte first, so the file is the same whatever the host's endianness and struct padding.
#include <cstring>

#include "format/FormatRecord.h"

namespace fmt {
namespace {

struct Field {
    size_t Offset;
    size_t Size;
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

// Timing block offsets.
constexpr size_t kPixelClockMHz = 0, kLineFreq = 2, kFrameRate = 4, kHPolarity = 6, kVPolarity = 7,
                 kTimingInterlace = 8, kByte9 = 9, kByte10 = 10, kByte11 = 11, kHActive = 12,
                 kVActive = 14, kHTotal = 16, kVTotal = 18, kLineLengthRange = 20,
                 kVSyncRange1 = 26, kVSyncRange2 = 32, kVSyncRange3 = 38, kVTotalRange1 = 44,
                 kVTotalRange2 = 50, kBytes56 = 56, kWord64 = 64;

// A range triple is three u16 values back to back.
constexpr size_t kRangeSize = 6;
static_assert(sizeof(RangeTriple::Lower) + sizeof(RangeTriple::Nominal) +
                  sizeof(RangeTriple::Upper) ==
              kRangeSize);

using T = TimingBlock;
constexpr Field kTimingFields[] = {
    {kPixelClockMHz, sizeof(T::PixelClockMHz)},
    {kLineFreq, sizeof(T::LineFreq)},
    {kFrameRate, sizeof(T::FrameRate)},
    {kHPolarity, sizeof(T::HPolarity)},
    {kVPolarity, sizeof(T::VPolarity)},
    {kTimingInterlace, sizeof(T::Interlace)},
    {kByte9, sizeof(T::Byte9)},
    {kByte10, sizeof(T::Byte10)},
    {kByte11, sizeof(T::Byte11)},
    {kHActive, sizeof(T::HActive)},
    {kVActive, sizeof(T::VActive)},
    {kHTotal, sizeof(T::HTotal)},
    {kVTotal, sizeof(T::VTotal)},
    {kLineLengthRange, kRangeSize},
    {kVSyncRange1, kRangeSize},
    {kVSyncRange2, kRangeSize},
    {kVSyncRange3, kRangeSize},
    {kVTotalRange1, kRangeSize},
    {kVTotalRange2, kRangeSize},
    {kBytes56, sizeof(T::Bytes56)},
    {kWord64, sizeof(T::Word64)},
};
static_assert(BackToBack(kTimingFields, kTimingBlockSize));

// Register block offsets.
constexpr size_t kPLLDivRatio = 0, kRegisterInterlace = 2, kByte3 = 3, kFR_LL = 4, kWord6 = 6,
                 kL_MAX = 8, kWord10 = 10, kWord12 = 12, kDE_H_START = 16, kDE_H_END = 18,
                 kDE_V_START = 20, kDE_V_END = 21, kF1_VBI_START = 22, kF1_VBI_END = 24,
                 kF2_VBI_START = 26, kF2_VBI_END = 28, kWord30 = 30;

using R = RegisterBlock;
constexpr Field kRegisterFields[] = {
    {kPLLDivRatio, sizeof(R::PLLDivRatio)},
    {kRegisterInterlace, sizeof(R::Interlace)},
    {kByte3, sizeof(R::Byte3)},
    {kFR_LL, sizeof(R::FR_LL)},
    {kWord6, sizeof(R::Word6)},
    {kL_MAX, sizeof(R::L_MAX)},
    {kWord10, sizeof(R::Word10)},
    {kWord12, sizeof(R::Word12)},
    {kDE_H_START, sizeof(R::DE_H_START)},
    {kDE_H_END, sizeof(R::DE_H_END)},
    {kDE_V_START, sizeof(R::DE_V_START)},
    {kDE_V_END, sizeof(R::DE_V_END)},
    {kF1_VBI_START, sizeof(R::F1_VBI_START)},
    {kF1_VBI_END, sizeof(R::F1_VBI_END)},
    {kF2_VBI_START, sizeof(R::F2_VBI_START)},
    {kF2_VBI_END, sizeof(R::F2_VBI_END)},
    {kWord30, sizeof(R::Word30)},
};
static_assert(BackToBack(kRegisterFields, kRegisterBlockSize));

// Record offsets.
constexpr size_t kTag = 0, kEnabled = 20, kTiming = 24, kRegisters = 92;
constexpr Field kRecordFields[] = {
    {kTag, kTagSize},
    {kEnabled, sizeof(FormatRecord::Enabled)},
    {kTiming, kTimingBlockSize},
    {kRegisters, kRegisterBlockSize},
};
static_assert(BackToBack(kRecordFields, kRecordSize));

void Put16(uint8_t* out, uint16_t value) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* out, uint32_t value) {
    Put16(out, static_cast<uint16_t>(value));
    Put16(out + 2, static_cast<uint16_t>(value >> 16));
}

uint16_t Get16(const uint8_t* in) {
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

uint32_t Get32(const uint8_t* in) {
    return Get16(in) | (static_cast<uint32_t>(Get16(in + 2)) << 16);
}

void PutRange(uint8_t* out, const RangeTriple& range) {
    Put16(out, range.Lower);
    Put16(out + 2, range.Nominal);
    Put16(out + 4, range.Upper);
}

RangeTriple GetRange(const uint8_t* in) {
    return {Get16(in), Get16(in + 2), Get16(in + 4)};
}

}  // namespace

RangeTriple MakeRange(int32_t value, int32_t margin) {
    // Widened so that no value near the int32 limits overflows before it is cut to 16 bits.
    const int64_t lower = static_cast<int64_t>(value) - margin;
    const int64_t upper = static_cast<int64_t>(value) + margin;
    return {static_cast<uint16_t>(lower < 0 ? 0 : lower), static_cast<uint16_t>(value),
            static_cast<uint16_t>(upper)};
}

void EncodeTimingBlock(const TimingBlock& b, uint8_t* out) {
    Put16(out + kPixelClockMHz, b.PixelClockMHz);
    Put16(out + kLineFreq, b.LineFreq);
    Put16(out + kFrameRate, b.FrameRate);
    out[kHPolarity] = b.HPolarity;
    out[kVPolarity] = b.VPolarity;
    out[kTimingInterlace] = b.Interlace;
    out[kByte9] = b.Byte9;
    out[kByte10] = b.Byte10;
    out[kByte11] = b.Byte11;
    Put16(out + kHActive, b.HActive);
    Put16(out + kVActive, b.VActive);
    Put16(out + kHTotal, b.HTotal);
    Put16(out + kVTotal, b.VTotal);
    PutRange(out + kLineLengthRange, b.LineLengthRange);
    PutRange(out + kVSyncRange1, b.VSyncRange1);
    PutRange(out + kVSyncRange2, b.VSyncRange2);
    PutRange(out + kVSyncRange3, b.VSyncRange3);
    PutRange(out + kVTotalRange1, b.VTotalRange1);
    PutRange(out + kVTotalRange2, b.VTotalRange2);
    std::memcpy(out + kBytes56, b.Bytes56.data(), b.Bytes56.size());
    Put32(out + kWord64, b.Word64);
}

TimingBlock DecodeTimingBlock(const uint8_t* in) {
    TimingBlock b;
    b.PixelClockMHz = Get16(in + kPixelClockMHz);
    b.LineFreq = Get16(in + kLineFreq);
    b.FrameRate = Get16(in + kFrameRate);
    b.HPolarity = in[kHPolarity];
    b.VPolarity = in[kVPolarity];
    b.Interlace = in[kTimingInterlace];
    b.Byte9 = in[kByte9];
    b.Byte10 = in[kByte10];
    b.Byte11 = in[kByte11];
    b.HActive = Get16(in + kHActive);
    b.VActive = Get16(in + kVActive);
    b.HTotal = Get16(in + kHTotal);
    b.VTotal = Get16(in + kVTotal);
    b.LineLengthRange = GetRange(in + kLineLengthRange);
    b.VSyncRange1 = GetRange(in + kVSyncRange1);
    b.VSyncRange2 = GetRange(in + kVSyncRange2);
    b.VSyncRange3 = GetRange(in + kVSyncRange3);
    b.VTotalRange1 = GetRange(in + kVTotalRange1);
    b.VTotalRange2 = GetRange(in + kVTotalRange2);
    std::memcpy(b.Bytes56.data(), in + kBytes56, b.Bytes56.size());
    b.Word64 = Get32(in + kWord64);
    return b;
}

void EncodeRegisterBlock(const RegisterBlock& b, uint8_t* out) {
    Put16(out + kPLLDivRatio, b.PLLDivRatio);
    out[kRegisterInterlace] = b.Interlace;
    out[kByte3] = b.Byte3;
    Put16(out + kFR_LL, b.FR_LL);
    Put16(out + kWord6, b.Word6);
    Put16(out + kL_MAX, b.L_MAX);
    Put16(out + kWord10, b.Word10);
    Put32(out + kWord12, b.Word12);
    Put16(out + kDE_H_START, b.DE_H_START);
    Put16(out + kDE_H_END, b.DE_H_END);
    out[kDE_V_START] = b.DE_V_START;
    out[kDE_V_END] = b.DE_V_END;
    Put16(out + kF1_VBI_START, b.F1_VBI_START);
    Put16(out + kF1_VBI_END, b.F1_VBI_END);
    Put16(out + kF2_VBI_START, b.F2_VBI_START);
    Put16(out + kF2_VBI_END, b.F2_VBI_END);
    Put16(out + kWord30, b.Word30);
}

RegisterBlock DecodeRegisterBlock(const uint8_t* in) {
    RegisterBlock b;
    b.PLLDivRatio = Get16(in + kPLLDivRatio);
    b.Interlace = in[kRegisterInterlace];
    b.Byte3 = in[kByte3];
    b.FR_LL = Get16(in + kFR_LL);
    b.Word6 = Get16(in + kWord6);
    b.L_MAX = Get16(in + kL_MAX);
    b.Word10 = Get16(in + kWord10);
    b.Word12 = Get32(in + kWord12);
    b.DE_H_START = Get16(in + kDE_H_START);
    b.DE_H_END = Get16(in + kDE_H_END);
    b.DE_V_START = in[kDE_V_START];
    b.DE_V_END = in[kDE_V_END];
    b.F1_VBI_START = Get16(in + kF1_VBI_START);
    b.F1_VBI_END = Get16(in + kF1_VBI_END);
    b.F2_VBI_START = Get16(in + kF2_VBI_START);
    b.F2_VBI_END = Get16(in + kF2_VBI_END);
    b.Word30 = Get16(in + kWord30);
    return b;
}

void EncodeRecord(const FormatRecord& record, uint8_t* out) {
    std::memcpy(out + kTag, record.TagBytes.data(), kTagSize);
    Put32(out + kEnabled, record.Enabled);
    EncodeTimingBlock(record.Timing, out + kTiming);
    EncodeRegisterBlock(record.Registers, out + kRegisters);
}

FormatRecord DecodeRecord(const uint8_t* in) {
    FormatRecord record;
    std::memcpy(record.TagBytes.data(), in + kTag, kTagSize);
    record.Enabled = Get32(in + kEnabled);
    record.Timing = DecodeTimingBlock(in + kTiming);
    record.Registers = DecodeRegisterBlock(in + kRegisters);
    return record;
}

std::string TagText(const Tag& tag) {
    size_t length = 0;
    while (length < tag.size() && tag[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(tag.data()), length);
}

Tag MakeTag(const char* text) {
    Tag tag = {};
    // The last byte stays zero so that the tag is always a terminated text.
    for (size_t i = 0; text != nullptr && i + 1 < tag.size() && text[i] != '\0'; ++i) {
        tag[i] = static_cast<uint8_t>(text[i]);
    }
    return tag;
}

}  // namespace fmt
