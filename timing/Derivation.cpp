// The register values that follow from the entered timing, written as text into the hidden
// fields from which the chip writers and the record builders take them.
#include <cstdint>

#include "format/TimingMath.h"
#include "resources/Resource.h"
#include "timing/EditorRecord.h"
#include "timing/InputFormatDlg.h"
#include "timing/Trace.h"

namespace timing {
namespace {

std::string Hex16(uint16_t value) {
    return RegisterText(value);
}

std::string Hex32(int32_t value) {
    return RegisterText(static_cast<uint32_t>(value));
}

}  // namespace

void CInputFormatDlg::CalcFrameRegisters() {
    const int32_t hTotal = FieldInt(res::IDC_H_TOTAL);
    const int32_t vTotal = FieldInt(res::IDC_V_TOTAL);
    const int32_t frameRate = FieldInt(res::IDC_FRAME_RATE);
    fmt::FrameRegisters frame;
    const fmt::FrameDerivation result = fmt::DeriveFrameRegisters(hTotal, vTotal, frameRate, frame);
    SetField(res::IDC_PLL_DIV_RATIO, Hex32(frame.PLLDivRatio));
    if (result == fmt::FrameDerivation::FrameRateNotPositive) {
        ui::MessageBox(kMsgFrameRateZero);
        return;
    }
    // A frame without lines has no line length; it is refused like a frame rate of zero.
    if (result == fmt::FrameDerivation::VerticalTotalZero) {
        ui::MessageBox(kMsgVerticalTotalZero);
        return;
    }
    SetField(res::IDC_FR_LL, Hex32(frame.FR_LL));
    SetField(res::IDC_L_MAX, Hex32(frame.L_MAX));
    SetField(res::IDC_PIXEL_CLOCK, PixelClockText(frame.PixelClockMHz));
}

void CInputFormatDlg::CalcField1Blanking() {
    CalcFieldBlanking(false);
}

void CInputFormatDlg::CalcField2Blanking() {
    CalcFieldBlanking(true);
}

void CInputFormatDlg::CalcFieldBlanking(bool field2) {
    // Each value is traced as soon as it is read, so the trace shows what the formulas used.
    const int32_t vt = FieldInt(res::IDC_V_TOTAL);
    if (field2) {
        DebugTrace("VTotal = %d\r\n", static_cast<int>(vt));
    } else {
        DebugTrace("VTotal_F1 = %d\r\n", static_cast<int>(vt));
    }
    const int32_t va = FieldInt(res::IDC_V_ACTIVE);
    DebugTrace("VActive_F1 = %d\r\n", static_cast<int>(va));
    const int32_t vs = FieldInt(res::IDC_V_SYNC);
    DebugTrace("VS_Width = %d\r\n", static_cast<int>(vs));
    const int32_t vfp = FieldInt(res::IDC_V_FRONT_PORCH);
    DebugTrace("VFrontPorch = %d\r\n", static_cast<int>(vfp));

    const fmt::VbiLines lines = fmt::DeriveVbiLines(vt, va, vfp, vs, InterlaceChosen());
    DebugTrace("VBackPorch = %d\r\n", static_cast<int>(lines.VBackPorch));
    if (!field2) {
        SetField(res::IDC_F1_VBI_START, Hex16(lines.F1Start));
        SetField(res::IDC_F1_VBI_END, Hex16(lines.F1End));
    } else {
        SetField(res::IDC_F2_VBI_START, Hex16(lines.F2Start));
        SetField(res::IDC_F2_VBI_END, Hex16(lines.F2End));
    }
}

}  // namespace timing
