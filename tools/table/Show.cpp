// "show": what a table file holds, readable at a glance or as JSON for scripts.
#include <nlohmann/json.hpp>

#include "tools/table/Commands.h"
#include "tools/table/EditorTiming.h"
#include "tools/table/Text.h"

namespace tabletool {
namespace {

using Json = nlohmann::ordered_json;

std::string Polarity(uint8_t value) {
    return value == 0 ? "-" : value == 1 ? "+" : std::to_string(value);
}

std::string YesNo(uint8_t value) {
    return value == 0 ? "No" : value == 1 ? "Yes" : std::to_string(value);
}

std::string Span(int32_t low, int32_t high) {
    return low == high ? std::to_string(low) : FormatText("%d-%d", low, high);
}

std::string Summary(const TableImage& image) {
    std::string text = FormatText("%s: %u bytes", image.Name.c_str(), Count(image.Size));
    if (!image.HasHeader)
        return text + ", too short for the 2-byte header";
    text += FormatText("; header: built-in count %u; %u records (%u built-in, %u user)",
                       image.BuiltinCount, Count(image.Records.size()),
                       Count(image.BuiltinRecords()), Count(image.UserRecords()));
    if (image.TrailingBytes > 0)
        text += FormatText("; %u bytes after the last whole record", Count(image.TrailingBytes));
    return text;
}

void ShowText(const TableImage& image, std::ostream& out) {
    out << Summary(image) << '\n';
    if (image.Records.empty())
        return;
    CColumns columns;
    columns.Add({"Id",    "On",  "Tag",   "Format", "Rate", "HTotal", "VTotal", "HBlank",
                 "VFP",   "VS",  "VBP",   "HPol",   "VPol", "Int",    "MHz",    "kHz",
                 "Count", "PLL", "FR_LL", "L_MAX",  "DE_H", "DE_V",   "F1_VBI", "F2_VBI"});
    for (size_t i = 0; i < image.Records.size(); ++i) {
        const fmt::FormatRecord& r = image.Records[i];
        const fmt::TimingBlock& t = r.Timing;
        const fmt::RegisterBlock& g = r.Registers;
        const EditorTiming timing = RecoverTiming(r);
        columns.Add({
            image.IdText(i),
            r.Enabled != 0 ? "on" : "off",
            TagDisplay(r.TagBytes),
            SizeText(t),
            RateText(t),
            std::to_string(t.HTotal),
            std::to_string(t.VTotal),
            std::to_string(timing.HTotal - timing.HActive),
            Span(timing.VFrontPorch, timing.VFrontPorchMax),
            std::to_string(timing.VSync),
            Span(timing.VBackPorch - (timing.VFrontPorchMax - timing.VFrontPorch),
                 timing.VBackPorch),
            Polarity(t.HPolarity),
            Polarity(t.VPolarity),
            YesNo(t.Interlace),
            std::to_string(t.PixelClockMHz),
            FormatText("%.2f", t.LineFreq / 100.0),
            std::to_string(t.LineLengthRange.Nominal),
            FormatText("%03X", g.PLLDivRatio),
            FormatText("%03X", g.FR_LL),
            FormatText("%03X", g.L_MAX),
            FormatText("%X/%X", g.DE_H_START, g.DE_H_END),
            FormatText("%X/%X", g.DE_V_START, g.DE_V_END),
            FormatText("%03X-%03X", g.F1_VBI_START, g.F1_VBI_END),
            FormatText("%03X-%03X", g.F2_VBI_START, g.F2_VBI_END),
        });
    }
    columns.Print(out);
    out << "HBlank is HTotal - HActive: a record keeps no horizontal porch or sync width. VFP, VS "
           "and VBP\ncome from F1_VBI_START and VSyncRange1; an interlaced record keeps half the "
           "front porch, so\nVFP a-b is either. Registers in hexadecimal; DE_H, DE_V start/end; "
           "F1_VBI, F2_VBI start-end.\n";
}

Json Range(const fmt::RangeTriple& range) {
    return Json::array({range.Lower, range.Nominal, range.Upper});
}

Json RecordJson(const TableImage& image, size_t i) {
    const fmt::FormatRecord& r = image.Records[i];
    const fmt::TimingBlock& t = r.Timing;
    const fmt::RegisterBlock& g = r.Registers;
    const EditorTiming timing = RecoverTiming(r);
    Json j;
    j["kind"] = image.IsBuiltin(i) ? "built-in" : "user";
    j["id"] = image.ListId(i);
    j["index"] = i;
    j["enabled"] = r.Enabled != 0;
    j["enabledValue"] = r.Enabled;
    j["tag"] = TagDisplay(r.TagBytes);
    j["tagTerminated"] = TagTerminated(r.TagBytes);
    j["tagBytes"] = HexBytes(r.TagBytes.data(), r.TagBytes.size());
    j["format"] = SizeText(t);
    j["rate"] = RateText(t);
    j["frameRate"] = t.FrameRate;
    j["hActive"] = t.HActive;
    j["vActive"] = t.VActive;
    j["hTotal"] = t.HTotal;
    j["vTotal"] = t.VTotal;
    j["hBlank"] = timing.HTotal - timing.HActive;
    j["vFrontPorch"] = timing.VFrontPorch;
    j["vFrontPorchMax"] = timing.VFrontPorchMax;
    j["vSync"] = timing.VSync;
    j["vBackPorch"] = timing.VBackPorch;
    j["vBackPorchMin"] = timing.VBackPorch - (timing.VFrontPorchMax - timing.VFrontPorch);
    j["hPolarity"] = t.HPolarity;
    j["vPolarity"] = t.VPolarity;
    j["interlace"] = t.Interlace;
    j["pixelClockMHz"] = t.PixelClockMHz;
    j["lineFreq"] = t.LineFreq;
    j["lineLengthCount"] = t.LineLengthRange.Nominal;
    j["ranges"] = {
        {"LineLengthRange", Range(t.LineLengthRange)}, {"VSyncRange1", Range(t.VSyncRange1)},
        {"VSyncRange2", Range(t.VSyncRange2)},         {"VSyncRange3", Range(t.VSyncRange3)},
        {"VTotalRange1", Range(t.VTotalRange1)},       {"VTotalRange2", Range(t.VTotalRange2)},
    };
    j["registers"] = {
        {"PLLDivRatio", g.PLLDivRatio},
        {"Interlace", g.Interlace},
        {"FR_LL", g.FR_LL},
        {"L_MAX", g.L_MAX},
        {"DE_H_START", g.DE_H_START},
        {"DE_H_END", g.DE_H_END},
        {"DE_V_START", g.DE_V_START},
        {"DE_V_END", g.DE_V_END},
        {"F1_VBI_START", g.F1_VBI_START},
        {"F1_VBI_END", g.F1_VBI_END},
        {"F2_VBI_START", g.F2_VBI_START},
        {"F2_VBI_END", g.F2_VBI_END},
    };
    // The bytes no one interprets, so that a script sees the whole record.
    j["other"] = {
        {"TimingByte9", t.Byte9},   {"TimingByte10", t.Byte10},
        {"TimingByte11", t.Byte11}, {"TimingBytes56", HexBytes(t.Bytes56.data(), t.Bytes56.size())},
        {"TimingWord64", t.Word64}, {"RegByte3", g.Byte3},
        {"RegWord6", g.Word6},      {"RegWord10", g.Word10},
        {"RegWord12", g.Word12},    {"RegWord30", g.Word30},
    };
    return j;
}

void ShowJson(const TableImage& image, std::ostream& out) {
    Json j;
    j["file"] = image.Name;
    j["size"] = image.Size;
    j["builtinCount"] = image.HasHeader ? Json(image.BuiltinCount) : Json(nullptr);
    j["recordCount"] = image.Records.size();
    j["builtinRecords"] = image.BuiltinRecords();
    j["userRecords"] = image.UserRecords();
    j["trailingBytes"] = image.TrailingBytes;
    Json records = Json::array();
    for (size_t i = 0; i < image.Records.size(); ++i)
        records.push_back(RecordJson(image, i));
    j["records"] = std::move(records);
    // A file name need not be UTF-8; it must not stop the output.
    out << j.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace

int ShowTable(const TableImage& image, bool json, std::ostream& out) {
    if (json) {
        ShowJson(image, out);
    } else {
        ShowText(image, out);
    }
    return 0;
}

}  // namespace tabletool
