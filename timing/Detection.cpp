// Measuring the input: the active size the FPGA detects and the line period the receiver chip
// counts, shown in the editor and kept for the record's line length and line frequency.
#include "device/DriverProperties.h"
#include "resources/Resource.h"
#include "timing/EditorRecord.h"
#include "timing/InputFormatDlg.h"
#include "timing/RegisterMap.h"
#include "timing/Trace.h"

namespace timing {
void CInputFormatDlg::DetectInput() {
    const device::DeviceHandle* handle = Handle();

    uint32_t width = 0;
    if (device::ReadFpgaRegister(handle, regmap::kFpgaDetectedWidth, &width)) {
        DebugTrace("FPGA Detect H = %d\r\n", static_cast<int32_t>(width));
        SetField(res::IDC_DETECTED_WIDTH, FormatText("%d", static_cast<int32_t>(width)));
    } else {
        ui::MessageBox(kMsgRegReadFailed);
    }

    uint32_t height = 0;
    if (device::ReadFpgaRegister(handle, regmap::kFpgaDetectedHeight, &height)) {
        DebugTrace("FPGA Detect V = %d\r\n", static_cast<int32_t>(height));
        SetField(res::IDC_DETECTED_HEIGHT, FormatText("%d", static_cast<int32_t>(height)));
    } else {
        ui::MessageBox(kMsgRegReadFailed);
    }

    // A failed read leaves the last measurement in place rather than showing bytes that were
    // never read.
    uint8_t bytes[2] = {0, 0};
    const regmap::RegisterField& high = regmap::kLineLengthHigh;
    if (device::ReadChipRegisters(handle, high.bus, high.reg, 2, bytes)) {
        DebugTrace("value 0 = 0x%02X, value1 = 0x%02X\r\n", bytes[0], bytes[1]);
        const uint32_t count =
            regmap::Take(bytes[0], high) | regmap::Take(bytes[1], regmap::kLineLengthLow);
        SetField(res::IDC_LINE_LENGTH, FormatText("%d", static_cast<int>(count)));
        SetField(res::IDC_LINE_FREQ, LineFreqText(static_cast<int32_t>(count)));
    }

    UpdateData(false);
}

}  // namespace timing
