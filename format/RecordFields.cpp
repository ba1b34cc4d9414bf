// Every field placed by its offset and written byte by byte, low byte first, so the file is the
// same whatever the host's endianness and struct padding.
#include <cstring>

#include "format/RecordLayout.h"

namespace fmt::layout {
namespace {

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
    Put16(out + kRangeFields[0].Offset, range.Lower);
    Put16(out + kRangeFields[1].Offset, range.Nominal);
    Put16(out + kRangeFields[2].Offset, range.Upper);
}

RangeTriple GetRange(const uint8_t* in) {
    return {Get16(in + kRangeFields[0].Offset), Get16(in + kRangeFields[1].Offset),
            Get16(in + kRangeFields[2].Offset)};
}

}  // namespace

void EncodeTimingFields(const TimingBlock& b, uint8_t* out) {
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

void DecodeTimingFields(const uint8_t* in, TimingBlock& b) {
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
}

void EncodeRegisterFields(const RegisterBlock& b, uint8_t* out) {
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

void DecodeRegisterFields(const uint8_t* in, RegisterBlock& b) {
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
}

}  // namespace fmt::layout
