#include "tools/table/Text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace tabletool {
namespace {

size_t TagLength(const fmt::Tag& tag) {
    return static_cast<size_t>(std::find(tag.begin(), tag.end(), 0) - tag.begin());
}

std::string Escaped(const uint8_t* bytes, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            text += static_cast<char>(b);
        } else {
            text += FormatText("\\x%02X", b);
        }
    }
    return text;
}

}  // namespace

std::string TagDisplay(const fmt::Tag& tag) {
    return Escaped(tag.data(), TagLength(tag));
}

std::string TagWithTail(const fmt::Tag& tag) {
    const size_t length = TagLength(tag);
    std::string text = Escaped(tag.data(), length);
    if (length + 1 < tag.size() &&
        std::any_of(tag.begin() + length + 1, tag.end(), [](uint8_t b) { return b != 0; })) {
        text +=
            " [after the zero: " + HexBytes(tag.data() + length + 1, tag.size() - length - 1) + "]";
    }
    return text;
}

bool TagTerminated(const fmt::Tag& tag) {
    return TagLength(tag) < tag.size();
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += FormatText("%02X", bytes[i]);
    }
    return text;
}

std::string SizeText(const fmt::TimingBlock& t) {
    return FormatText("%dx%d", t.HActive, t.VActive);
}

std::string RateText(const fmt::TimingBlock& t) {
    return FormatText("%.2f", t.FrameRate / 100.0);
}

std::string RangeText(const fmt::RangeTriple& range) {
    return FormatText("%u,%u,%u", range.Lower, range.Nominal, range.Upper);
}

std::vector<NamedField> RecordFields(const fmt::FormatRecord& record) {
    const fmt::TimingBlock& t = record.Timing;
    const fmt::RegisterBlock& g = record.Registers;
    auto number = [](unsigned value) { return std::to_string(value); };
    auto hex = [](unsigned value) { return FormatText("0x%X", value); };
    return {
        {"Tag", TagWithTail(record.TagBytes)},
        {"Enabled", number(record.Enabled)},
        {"PixelClockMHz", number(t.PixelClockMHz)},
        {"LineFreq", number(t.LineFreq)},
        {"FrameRate", number(t.FrameRate)},
        {"HPolarity", number(t.HPolarity)},
        {"VPolarity", number(t.VPolarity)},
        {"Interlace", number(t.Interlace)},
        {"TimingByte9", number(t.Byte9)},
        {"TimingByte10", number(t.Byte10)},
        {"TimingByte11", number(t.Byte11)},
        {"HActive", number(t.HActive)},
        {"VActive", number(t.VActive)},
        {"HTotal", number(t.HTotal)},
        {"VTotal", number(t.VTotal)},
        {"LineLengthRange", RangeText(t.LineLengthRange)},
        {"VSyncRange1", RangeText(t.VSyncRange1)},
        {"VSyncRange2", RangeText(t.VSyncRange2)},
        {"VSyncRange3", RangeText(t.VSyncRange3)},
        {"VTotalRange1", RangeText(t.VTotalRange1)},
        {"VTotalRange2", RangeText(t.VTotalRange2)},
        {"TimingBytes56", HexBytes(t.Bytes56.data(), t.Bytes56.size())},
        {"TimingWord64", number(t.Word64)},
        {"PLLDivRatio", hex(g.PLLDivRatio)},
        {"RegInterlace", number(g.Interlace)},
        {"RegByte3", number(g.Byte3)},
        {"FR_LL", hex(g.FR_LL)},
        {"RegWord6", number(g.Word6)},
        {"L_MAX", hex(g.L_MAX)},
        {"RegWord10", number(g.Word10)},
        {"RegWord12", number(g.Word12)},
        {"DE_H_START", hex(g.DE_H_START)},
        {"DE_H_END", hex(g.DE_H_END)},
        {"DE_V_START", hex(g.DE_V_START)},
        {"DE_V_END", hex(g.DE_V_END)},
        {"F1_VBI_START", hex(g.F1_VBI_START)},
        {"F1_VBI_END", hex(g.F1_VBI_END)},
        {"F2_VBI_START", hex(g.F2_VBI_START)},
        {"F2_VBI_END", hex(g.F2_VBI_END)},
        {"RegWord30", number(g.Word30)},
    };
}

void CColumns::Print(std::ostream& out) const {
    std::vector<size_t> widths;
    for (const auto& row : m_rows) {
        if (widths.size() < row.size())
            widths.resize(row.size(), 0);
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    for (const auto& row : m_rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - row[c].size() + 2, ' ');
        }
        out << line << '\n';
    }
}

}  // namespace tabletool
