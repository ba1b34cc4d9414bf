#include "tools/scenarios/Readers.h"

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "tools/scenarios/Script.h"

namespace scenarios {
namespace {

std::string Triple(const fmt::RangeTriple& r) {
    return std::to_string(r.Lower) + "," + std::to_string(r.Nominal) + "," +
           std::to_string(r.Upper);
}

using FieldReader = std::function<std::string(const fmt::FormatRecord&)>;

const std::map<std::string, FieldReader>& RecordFields() {
    static const std::map<std::string, FieldReader> fields = [] {
        std::map<std::string, FieldReader> f;
        auto num = [](auto get) {
            return [get](const fmt::FormatRecord& r) { return std::to_string(get(r)); };
        };
        f["Tag"] = [](const fmt::FormatRecord& r) { return fmt::TagText(r.TagBytes); };
        f["Enabled"] = num([](auto& r) { return r.Enabled; });
        f["PixelClockMHz"] = num([](auto& r) { return r.Timing.PixelClockMHz; });
        f["LineFreq"] = num([](auto& r) { return r.Timing.LineFreq; });
        f["FrameRate"] = num([](auto& r) { return r.Timing.FrameRate; });
        f["HPolarity"] = num([](auto& r) { return int{r.Timing.HPolarity}; });
        f["VPolarity"] = num([](auto& r) { return int{r.Timing.VPolarity}; });
        f["Interlace"] = num([](auto& r) { return int{r.Timing.Interlace}; });
        f["HActive"] = num([](auto& r) { return r.Timing.HActive; });
        f["VActive"] = num([](auto& r) { return r.Timing.VActive; });
        f["HTotal"] = num([](auto& r) { return r.Timing.HTotal; });
        f["VTotal"] = num([](auto& r) { return r.Timing.VTotal; });
        f["LineLengthRange"] = [](auto& r) { return Triple(r.Timing.LineLengthRange); };
        f["VSyncRange1"] = [](auto& r) { return Triple(r.Timing.VSyncRange1); };
        f["VSyncRange2"] = [](auto& r) { return Triple(r.Timing.VSyncRange2); };
        f["VSyncRange3"] = [](auto& r) { return Triple(r.Timing.VSyncRange3); };
        f["VTotalRange1"] = [](auto& r) { return Triple(r.Timing.VTotalRange1); };
        f["VTotalRange2"] = [](auto& r) { return Triple(r.Timing.VTotalRange2); };
        f["PLLDivRatio"] = num([](auto& r) { return r.Registers.PLLDivRatio; });
        f["RegInterlace"] = num([](auto& r) { return int{r.Registers.Interlace}; });
        f["FR_LL"] = num([](auto& r) { return r.Registers.FR_LL; });
        f["L_MAX"] = num([](auto& r) { return r.Registers.L_MAX; });
        f["DE_H_START"] = num([](auto& r) { return r.Registers.DE_H_START; });
        f["DE_H_END"] = num([](auto& r) { return r.Registers.DE_H_END; });
        f["DE_V_START"] = num([](auto& r) { return int{r.Registers.DE_V_START}; });
        f["DE_V_END"] = num([](auto& r) { return int{r.Registers.DE_V_END}; });
        f["F1_VBI_START"] = num([](auto& r) { return r.Registers.F1_VBI_START; });
        f["F1_VBI_END"] = num([](auto& r) { return r.Registers.F1_VBI_END; });
        f["F2_VBI_START"] = num([](auto& r) { return r.Registers.F2_VBI_START; });
        f["F2_VBI_END"] = num([](auto& r) { return r.Registers.F2_VBI_END; });
        return f;
    }();
    return fields;
}

// A number or a range triple of the scenario, normalised the way the reader prints it.
std::string Normalise(const std::string& value) {
    std::string out;
    std::stringstream parts(value);
    std::string part;
    while (std::getline(parts, part, ',')) {
        int64_t n;
        if (!out.empty())
            out += ",";
        out += ParseNumber(part, n) ? std::to_string(n) : part;
    }
    return out;
}

}  // namespace

bool ReadRecordField(const fmt::FormatRecord& record, const std::string& name, std::string& value) {
    auto field = RecordFields().find(name);
    if (field == RecordFields().end())
        return false;
    value = field->second(record);
    return true;
}

std::string NormaliseFieldValue(const std::string& value) {
    return Normalise(value);
}

std::vector<DebugLine> SplitDebugOutput(const std::string& output,
                                        const std::vector<size_t>& writeEnds, size_t& plainLines) {
    std::vector<size_t> cuts;
    for (size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\n')
            cuts.push_back(i + 1);
    }
    std::vector<DebugLine> lines;
    auto add = [&](const std::vector<size_t>& ends) {
        size_t begin = 0;
        for (size_t end : ends) {
            if (end <= begin)
                continue;
            std::string text;
            for (size_t i = begin; i < end; ++i) {
                if (output[i] != '\r' && output[i] != '\n')
                    text += output[i];
            }
            lines.push_back({begin, end, text});
            begin = end;
        }
    };
    std::vector<size_t> lineEnds = cuts;
    lineEnds.push_back(output.size());
    add(lineEnds);
    plainLines = lines.size();
    std::vector<size_t> allEnds = cuts;
    allEnds.insert(allEnds.end(), writeEnds.begin(), writeEnds.end());
    std::sort(allEnds.begin(), allEnds.end());
    add(allEnds);
    return lines;
}

}  // namespace scenarios
