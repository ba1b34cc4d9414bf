#include "tools/table/EditorTiming.h"

#include <cstdint>

namespace tabletool {
namespace {

std::vector<RegisterMismatch> Compare(const fmt::RegisterBlock& g, const EditorDerivation& d) {
    std::vector<RegisterMismatch> out;
    auto compare = [&out](const char* name, uint16_t stored, int64_t derived) {
        const auto value = static_cast<uint16_t>(derived & 0xFFFF);
        if (stored != value)
            out.push_back({name, stored, value});
    };
    compare("PLLDivRatio", g.PLLDivRatio, d.FrameValues.PLLDivRatio);
    if (d.Frame == fmt::FrameDerivation::Ok) {
        compare("FR_LL", g.FR_LL, d.FrameValues.FR_LL);
        compare("L_MAX", g.L_MAX, d.FrameValues.L_MAX);
    }
    compare("F1_VBI_START", g.F1_VBI_START, d.Vbi.F1Start);
    compare("F1_VBI_END", g.F1_VBI_END, d.Vbi.F1End);
    compare("F2_VBI_START", g.F2_VBI_START, d.Vbi.F2Start);
    compare("F2_VBI_END", g.F2_VBI_END, d.Vbi.F2End);
    return out;
}

EditorTiming WithFrontPorch(EditorTiming timing, int32_t vFrontPorch) {
    timing.VFrontPorch = vFrontPorch;
    timing.VFrontPorchMax = vFrontPorch;
    timing.VBackPorch = timing.VTotal - vFrontPorch - timing.VSync - timing.VActive;
    return timing;
}

}  // namespace

EditorDerivation Derive(const EditorTiming& timing) {
    EditorDerivation d;
    d.Frame = fmt::DeriveFrameRegisters(timing.HTotal, timing.VTotal, timing.WholeFrameRate,
                                        d.FrameValues);
    d.Vbi = fmt::DeriveVbiLines(timing.VTotal, timing.VActive, timing.VFrontPorch, timing.VSync,
                                timing.Interlaced);
    return d;
}

EditorTiming RecoverTiming(const fmt::FormatRecord& record) {
    const fmt::TimingBlock& t = record.Timing;
    EditorTiming timing;
    timing.HActive = t.HActive;
    timing.VActive = t.VActive;
    timing.HTotal = t.HTotal;
    timing.VTotal = t.VTotal;
    timing.VSync = t.VSyncRange1.Nominal;
    // The editor shows the rate with two decimals and derives from its whole part.
    timing.WholeFrameRate = t.FrameRate / 100;
    timing.Interlaced = t.Interlace == 1;

    // F1_VBI_START is VT - VFP + 1, or VT - VFP/2 + 1 for an interlaced format.
    const int32_t porch = int32_t{t.VTotal} + 1 - record.Registers.F1_VBI_START;
    if (!timing.Interlaced)
        return WithFrontPorch(timing, porch);

    // Fewest mismatches first, the shorter porch among equals.
    EditorTiming best;
    size_t bestMismatches = SIZE_MAX;
    for (const int32_t candidate : {porch * 2 - 1, porch * 2, porch * 2 + 1}) {
        if (candidate / 2 != porch)
            continue;
        const EditorTiming other = WithFrontPorch(timing, candidate);
        const size_t mismatches = Compare(record.Registers, Derive(other)).size();
        if (mismatches < bestMismatches) {
            best = other;
            bestMismatches = mismatches;
        } else if (mismatches == bestMismatches) {
            best.VFrontPorchMax = candidate;
        }
    }
    return best;
}

std::vector<RegisterMismatch> CompareWithDerivation(const fmt::FormatRecord& record) {
    return Compare(record.Registers, Derive(RecoverTiming(record)));
}

}  // namespace tabletool
