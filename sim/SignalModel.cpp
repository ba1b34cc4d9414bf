#include "sim/SignalModel.h"

#include <algorithm>
#include <cmath>

#include "format/TimingMath.h"

namespace sim {

namespace {

// The chip's line counter is 13 bits; it never counts more lines than that in one vsync period.
constexpr int64_t kMaxChipLines = 8191;

// A blanking interval runs from its start line up to, not including, its end line, wrapping
// past the end of the count when the start lies after the end (as field 1's interval does).
bool InBlanking(int64_t line, uint16_t start, uint16_t end) {
    if (start > end) {
        return line >= start || line < end;
    }
    return line >= start && line < end;
}

int32_t CountDataEnableLines(const VideoTiming& input, const ChipProgram& program,
                             double inputLineClocks, bool locked) {
    // The FPGA counts between two vsyncs of the input: the frame, or field 1 of an interlaced
    // input (whose frame the timing gives as two fields).
    const int64_t inputLines = input.Interlaced ? (input.VTotal + 1) / 2 : input.VTotal;
    // A locked chip counts the input's lines; an unlocked one free-runs on its own line length
    // and counts more or fewer lines in the same time.
    int64_t chipLines = inputLines;
    if (!locked) {
        chipLines = std::llround(inputLines * inputLineClocks / program.FrLl);
    }
    chipLines = std::clamp<int64_t>(chipLines, 0, kMaxChipLines);

    int32_t count = 0;
    for (int64_t i = 0; i < chipLines; ++i) {
        // The line counter starts at 1 with the vsync and wraps after L_MAX lines.
        const int64_t line = program.LMax != 0 ? i % program.LMax + 1 : i + 1;
        bool active = !InBlanking(line, program.F1VbiStart, program.F1VbiEnd);
        if (program.Interlaced) {
            active = active && !InBlanking(line, program.F2VbiStart, program.F2VbiEnd);
        }
        if (active) {
            ++count;
        }
    }
    return count;
}

}  // namespace

Measurement MeasureInput(const VideoTiming* input, const CSimChip& chip) {
    Measurement m;
    if (input == nullptr) {
        return m;
    }
    m.Signal = true;
    const double lineHz = LineFrequencyHz(*input);
    m.LineLengthCount = fmt::LineLengthCount(lineHz);
    const double inputLineClocks = lineHz > 0.0 ? fmt::kReferenceClockHz / lineHz : 0.0;

    const ChipProgram program = chip.Program();
    int32_t width = 0;
    int32_t height = 0;
    if (chip.Automatic()) {
        // Fresh from power-on the chip follows the input and shows it as it is.
        m.LineLocked = true;
        width = input->HActive;
        height = input->VActive;
    } else {
        m.LineLocked = program.FrLl == 0 || std::fabs(program.FrLl - inputLineClocks) <=
                                                kLineLockTolerance * inputLineClocks;
        // The PLL makes PllDivRatio sampling clocks per line, of which the input's active share
        // carries picture: a divider other than the input's total stretches or squeezes it.
        if (input->HTotal != 0) {
            width = static_cast<int32_t>(
                std::lround(double(input->HActive) * program.PllDivRatio / input->HTotal));
        }
        height = CountDataEnableLines(*input, program, inputLineClocks, m.LineLocked);
    }
    // Moving the start of data enable later shortens the window by as much; moving its end
    // later lengthens it. Shifting both by the same amount moves the picture without resizing.
    m.Width = std::max(0, width - program.DeHStart + program.DeHEnd);
    m.Height = std::max(0, height - program.DeVStart + program.DeVEnd);
    return m;
}

}  // namespace sim
