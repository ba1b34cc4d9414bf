#include "format/FormatRecord.h"

#include <cstring>

#include "format/RecordLayout.h"

namespace fmt {

using namespace layout;

// Where the compiler has proved a block's memory to be its file form, the block is copied whole:
// a table is 256 records, and placing every field alone costs more than reading the file.
void EncodeTimingBlock(const TimingBlock& block, uint8_t* out) {
    if constexpr (kTimingSameAsFile) {
        std::memcpy(out, &block, kTimingBlockSize);
    } else {
        EncodeTimingFields(block, out);
    }
}

TimingBlock DecodeTimingBlock(const uint8_t* in) {
    TimingBlock block;
    if constexpr (kTimingSameAsFile) {
        std::memcpy(&block, in, kTimingBlockSize);
    } else {
        DecodeTimingFields(in, block);
    }
    return block;
}

void EncodeRegisterBlock(const RegisterBlock& block, uint8_t* out) {
    if constexpr (kRegistersSameAsFile) {
        std::memcpy(out, &block, kRegisterBlockSize);
    } else {
        EncodeRegisterFields(block, out);
    }
}

RegisterBlock DecodeRegisterBlock(const uint8_t* in) {
    RegisterBlock block;
    if constexpr (kRegistersSameAsFile) {
        std::memcpy(&block, in, kRegisterBlockSize);
    } else {
        DecodeRegisterFields(in, block);
    }
    return block;
}

void EncodeRecord(const FormatRecord& record, uint8_t* out) {
    std::memcpy(out + kTag, record.TagBytes.data(), kTagSize);
    out[kEnabled] = static_cast<uint8_t>(record.Enabled);
    out[kEnabled + 1] = static_cast<uint8_t>(record.Enabled >> 8);
    out[kEnabled + 2] = static_cast<uint8_t>(record.Enabled >> 16);
    out[kEnabled + 3] = static_cast<uint8_t>(record.Enabled >> 24);
    EncodeTimingBlock(record.Timing, out + kTiming);
    EncodeRegisterBlock(record.Registers, out + kRegisters);
}

FormatRecord DecodeRecord(const uint8_t* in) {
    FormatRecord record;
    DecodeRecord(in, record.TagBytes, record.Enabled, record.Timing, record.Registers);
    return record;
}

void DecodeRecord(const uint8_t* in, Tag& tag, uint32_t& enabled, TimingBlock& timing,
                  RegisterBlock& registers) {
    std::memcpy(tag.data(), in + kTag, kTagSize);
    enabled = static_cast<uint32_t>(in[kEnabled]) | static_cast<uint32_t>(in[kEnabled + 1]) << 8 |
              static_cast<uint32_t>(in[kEnabled + 2]) << 16 |
              static_cast<uint32_t>(in[kEnabled + 3]) << 24;
    // Decoded in place: a block built aside and copied after is read back wide just after it
    // was written narrow, and that stall costs more than the decoding.
    if constexpr (kTimingSameAsFile) {
        std::memcpy(&timing, in + kTiming, kTimingBlockSize);
    } else {
        DecodeTimingFields(in + kTiming, timing);
    }
    if constexpr (kRegistersSameAsFile) {
        std::memcpy(&registers, in + kRegisters, kRegisterBlockSize);
    } else {
        DecodeRegisterFields(in + kRegisters, registers);
    }
}

RangeTriple MakeRange(int32_t value, int32_t margin) {
    // Widened so that no value near the int32 limits overflows before it is cut to 16 bits.
    const int64_t lower = static_cast<int64_t>(value) - margin;
    const int64_t upper = static_cast<int64_t>(value) + margin;
    return {static_cast<uint16_t>(lower < 0 ? 0 : lower), static_cast<uint16_t>(value),
            static_cast<uint16_t>(upper)};
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
