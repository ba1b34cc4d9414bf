// "Test": trying the entered timing on the live card. The registers are derived and written,
// the picture is aligned to the measured input, and the driver loads a test table that holds
// this format.
#include <cctype>

#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/TextNumber.h"
#include "timing/Trace.h"

namespace timing {
namespace {

constexpr uint32_t kSettleMs = 500;
constexpr const char* kTestTableName = "testformat.bin";

// The text begins with a number (after blanks and a sign), so its value means something; an
// empty detected field, or an emptied size field, does not.
bool HoldsNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

}  // namespace

void CInputFormatDlg::RunTimingTest() {
    const device::DeviceHandle* handle = Handle();
    if (!device::ReloadFormatTable(handle, device::kReloadRestore))
        ui::MessageBox(device::kMsgReloadFail);
    platform::Sleep(kSettleMs);

    // The alignment below starts from a centred picture: earlier shifts are dropped.
    for (int id :
         {res::IDC_DE_H_START, res::IDC_DE_H_END, res::IDC_DE_V_START, res::IDC_DE_V_END}) {
        SetField(id, "0");
    }
    UpdateData(true);

    bool vgaLocked = false;
    uint32_t status = 0;
    if (device::QueryInputStatus(handle, device::kInputVga, &status) == device::S_OK &&
        status != 0) {
        vgaLocked = true;
        // Through TraceOut, so each lock report stands on a line of its own.
        platform::TraceOut("VGA Lock (%d)", static_cast<int>(status));
    }
    status = 0;
    if (device::QueryInputStatus(handle, device::kInputHdmi, &status) == device::S_OK &&
        status != 0) {
        vgaLocked = false;
        platform::TraceOut("HDMI Lock (%d)", static_cast<int>(status));
    }
    UpdateData(true);

    CalcFrameRegisters();
    CalcField1Blanking();
    WriteF1VbiStart();
    WriteF1VbiEnd();
    CalcField2Blanking();
    WriteF2VbiStart();
    WriteF2VbiEnd();

    if (vgaLocked)
        WriteVgaSetup();

    WritePllDivRatio();
    WriteFrLl();
    WriteLMax();
    WriteInterlace();
    WriteDeHStart();
    WriteDeHEnd();
    WriteDeVStart();
    WriteDeVEnd();

    AlignToDetectedInput();

    // The test table is the whole table with this format in it. A new format is added for the
    // write only; the entry it borrows gets its former contents back afterwards.
    fmt::FormatTable& table = Table();
    bool appended = false;
    const int slot = table.BuiltinCount + table.UserCount;
    fmt::FormatRecord former;
    if (IsAddMode()) {
        if (slot < static_cast<int>(fmt::kMaxRecords)) {
            former = table.Record(slot);
            appended = AppendRecordFromFields();
        } else {
            ui::MessageBox(kMsgTestTableFull);
        }
    } else {
        DebugTrace("Edit number is %d", m_editIndex);
        ReplaceRecordFromFields();
    }

    // The driver is not asked to load a test file that was not written: it would try the
    // timing of an earlier test and the user would take that for this one.
    if (table.WriteFormatFile(table.TableDirectory, kTestTableName, true) != fmt::kOk) {
        ui::MessageBox(kMsgTestWriteFailed);
    } else if (!device::ReloadFormatTable(handle, device::kReloadTestFile)) {
        ui::MessageBox(device::kMsgReloadFail);
    }

    if (appended)
        table.RemoveLastUserRecord(former);
}

void CInputFormatDlg::AlignToDetectedInput() {
    const std::string activeWidth = FieldText(res::IDC_H_ACTIVE);
    const std::string activeHeight = FieldText(res::IDC_V_ACTIVE);
    const std::string detectedWidth = FieldText(res::IDC_DETECTED_WIDTH);
    const std::string detectedHeight = FieldText(res::IDC_DETECTED_HEIGHT);
    const int64_t ha = timing::ParseDecimalInt(activeWidth);
    const int64_t va = timing::ParseDecimalInt(activeHeight);
    const int64_t dw = timing::ParseDecimalInt(detectedWidth);
    const int64_t dh = timing::ParseDecimalInt(detectedHeight);

    // Without a measurement (or without an entered size) there is nothing to align to.
    if (!HoldsNumber(activeWidth) || !HoldsNumber(detectedWidth))
        return;
    if (dw == ha)
        return;
    const int64_t hs = dw - ha;
    DebugTrace("HStart = %d\r\n", static_cast<int>(static_cast<int32_t>(hs)));
    SetField(res::IDC_DE_H_START, FormatText("%X", static_cast<unsigned>(hs & 0x3FF)));
    WriteDeHStart();

    if (!HoldsNumber(activeHeight) || !HoldsNumber(detectedHeight))
        return;
    if (va == dh)
        return;
    // An interlaced input is measured one field, half the entered lines, at a time.
    const int64_t vs = InterlaceChosen() ? dh - va / 2 : dh - va;
    DebugTrace("VStart = %d\r\n", static_cast<int>(static_cast<int32_t>(vs)));
    SetField(res::IDC_DE_V_START, FormatText("%x", static_cast<unsigned>(vs & 0xF)));
    WriteDeVStart();
}

}  // namespace timing
