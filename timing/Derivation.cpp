// The register values that follow from the entered timing, written as text into the hidden
// fields from which the chip writers and the record builders take them.
#include <cstdint>
#include <limits>

#include "format/TimingMath.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/Trace.h"

namespace timing {
namespace {

constexpr double kHzPerMHz = 1000000.0;

// Lines per second times pixels per line. Widened so that no typed timing overflows; a product
// beyond even 64 bits is taken in floating point rather than wrapped.
double PixelsPerSecond(int64_t linesPerSecond, int32_t hTotal) {
    const int64_t lines = linesPerSecond < 0 ? -linesPerSecond : linesPerSecond;
    const int64_t pixels = hTotal < 0 ? -int64_t{hTotal} : int64_t{hTotal};
    if (pixels != 0 && lines > std::numeric_limits<int64_t>::max() / pixels) {
        return static_cast<double>(linesPerSecond) * hTotal;
    }
    return static_cast<double>(linesPerSecond * hTotal);
}

// "%03X" of a result as the register field gets it: the low 16 bits.
std::string Hex16(int64_t value) {
    return FormatText("%03X", static_cast<unsigned>(value & 0xFFFF));
}

std::string Hex32(int32_t value) {
    return FormatText("%03X", static_cast<unsigned>(value));
}

}  // namespace

void CInputFormatDlg::CalcFrameRegisters() {
    const int32_t hTotal = FieldInt(res::IDC_H_TOTAL);
    SetField(res::IDC_PLL_DIV_RATIO, Hex32(hTotal));

    const int32_t vTotal = FieldInt(res::IDC_V_TOTAL);
    const int32_t frameRate = FieldInt(res::IDC_FRAME_RATE);
    if (frameRate <= 0) {
        ui::MessageBox(kMsgFrameRateZero);
        return;
    }
    // A frame without lines has no line length; it is refused like a frame rate of zero.
    if (vTotal == 0) {
        ui::MessageBox(kMsgVerticalTotalZero);
        return;
    }
    const int64_t linesPerSecond = int64_t{frameRate} * vTotal;
    SetField(res::IDC_FR_LL, Hex32(static_cast<int32_t>(fmt::kReferenceClockHz / linesPerSecond)));
    SetField(res::IDC_L_MAX, Hex32(FieldInt(res::IDC_V_TOTAL)));
    SetField(res::IDC_PIXEL_CLOCK,
             FormatText("%3.4f", PixelsPerSecond(linesPerSecond, hTotal) / kHzPerMHz));
}

void CInputFormatDlg::CalcField1Blanking() {
    CalcFieldBlanking(false);
}

void CInputFormatDlg::CalcField2Blanking() {
    CalcFieldBlanking(true);
}

void CInputFormatDlg::CalcFieldBlanking(bool field2) {
    // Each value is traced as soon as it is read, so the trace shows what the formulas used.
    const int64_t vt = FieldInt(res::IDC_V_TOTAL);
    if (field2) {
        DebugTrace("VTotal = %d\r\n", static_cast<int>(vt));
    } else {
        DebugTrace("VTotal_F1 = %d\r\n", static_cast<int>(vt));
    }
    const int64_t va = FieldInt(res::IDC_V_ACTIVE);
    DebugTrace("VActive_F1 = %d\r\n", static_cast<int>(va));
    const int64_t vs = FieldInt(res::IDC_V_SYNC);
    DebugTrace("VS_Width = %d\r\n", static_cast<int>(vs));
    const int64_t vfp = FieldInt(res::IDC_V_FRONT_PORCH);
    DebugTrace("VFrontPorch = %d\r\n", static_cast<int>(vfp));

    const bool interlaced = InterlaceChosen();
    const int64_t vbp = vt - vfp - vs - va;
    DebugTrace("VBackPorch = %d\r\n", static_cast<int>(static_cast<int32_t>(vbp)));

    // Interlaced: each field has half the lines; every term is halved on its own.
    int64_t start = 0;
    int64_t end = 0;
    if (!field2) {
        start = interlaced ? vt - vfp / 2 + 1 : vt - vfp + 1;
        end = interlaced ? vbp / 2 + vs / 2 + 1 : vs + vbp + 1;
        SetField(res::IDC_F1_VBI_START, Hex16(start));
        SetField(res::IDC_F1_VBI_END, Hex16(end));
    } else {
        start = interlaced ? vt / 2 - vfp / 2 + 1 : vt - vfp + 1;
        end = interlaced ? vbp / 2 + vt / 2 + vs / 2 + 2 : vs + vbp + vt + 1;
        SetField(res::IDC_F2_VBI_START, Hex16(start));
        SetField(res::IDC_F2_VBI_END, Hex16(end));
    }
}

}  // namespace timing
