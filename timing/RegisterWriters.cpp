// The chip writers: each takes one register value from its hidden field and places its bits in
// the chip's registers, keeping the other bits of a shared register (read, modify, write).
// When a read fails, the writes built on its byte are skipped: a byte that was never read
// must not reach the chip.
#include "device/DriverProperties.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "timing/RegisterMap.h"
#include "timing/Trace.h"

namespace timing {
namespace {

using regmap::Place;
using regmap::RegisterField;

constexpr uint32_t kRedetectPauseMs = 500;

bool ReadByte(const device::DeviceHandle* handle, const RegisterField& field, uint8_t& byte) {
    uint8_t read = 0;
    if (!device::ReadChipRegisters(handle, field.bus, field.reg, 1, &read))
        return false;
    byte = read;
    return true;
}

void WriteByte(const device::DeviceHandle* handle, const RegisterField& field, uint8_t byte) {
    device::WriteChipRegisters(handle, field.bus, field.reg, 1, &byte);
}

// The high bits share a register with another value; the low byte is a register of its own.
void WriteSharedHighThenLow(const device::DeviceHandle* handle, uint32_t value,
                            const RegisterField& high, const RegisterField& low) {
    uint8_t read = 0;
    if (ReadByte(handle, high, read)) {
        const uint8_t byte = Place(read, high, value);
        DebugTrace("ValueHigh = 0x%02X\r\n", byte);
        WriteByte(handle, high, byte);
    }
    const uint8_t byte = Place(0, low, value);
    DebugTrace("ValueLow = 0x%02X\r\n", byte);
    WriteByte(handle, low, byte);
}

// The high bits fill a register of their own; the low bits share the next one.
void WriteHighThenSharedLow(const device::DeviceHandle* handle, uint32_t value,
                            const RegisterField& high, const RegisterField& low) {
    const uint8_t byte = Place(0, high, value);
    DebugTrace("ValueHigh = 0x%02X\r\n", byte);
    WriteByte(handle, high, byte);
    uint8_t read = 0;
    if (ReadByte(handle, low, read)) {
        const uint8_t lowByte = Place(read, low, value);
        DebugTrace("ValueLow = 0x%02X\r\n", lowByte);
        WriteByte(handle, low, lowByte);
    }
}

// A value in one half of a register shared with another value.
void WriteNibble(const device::DeviceHandle* handle, uint32_t value, const RegisterField& field) {
    uint8_t read = 0;
    if (!ReadByte(handle, field, read))
        return;
    const uint8_t byte = Place(read, field, value);
    DebugTrace("Value = 0x%02X\r\n", byte);
    WriteByte(handle, field, byte);
}

// A value over two neighbouring registers, written in one request. readCount bytes are read
// first so that the bits the value does not cover survive.
void WriteRegisterPair(const device::DeviceHandle* handle, uint32_t value,
                       const RegisterField& high, const RegisterField& low, uint32_t readCount) {
    uint8_t read[2] = {0, 0};
    if (!device::ReadChipRegisters(handle, high.bus, high.reg, readCount, read))
        return;
    const uint8_t bytes[2] = {Place(read[0], high, value), Place(read[1], low, value)};
    DebugTrace("Value[0] = 0x%02X, Value[1] = 0x%02X\r\n", bytes[0], bytes[1]);
    device::WriteChipRegisters(handle, high.bus, high.reg, 2, bytes);
}

// A flag or small setting inside a register of other bits.
void WriteSetting(const device::DeviceHandle* handle, const RegisterField& field, uint32_t value) {
    uint8_t read = 0;
    if (!ReadByte(handle, field, read))
        return;
    const uint8_t byte = Place(read, field, value);
    DebugTrace("Write Value = 0x%02X\r\n", byte);
    WriteByte(handle, field, byte);
}

}  // namespace

void CInputFormatDlg::RedetectPause() {
    // The card needs a moment to settle on the new timing before it is measured again; the
    // grey button shows the user that the editor is busy.
    ui::CWndItem detect = GetDlgItem(res::IDC_DETECT);
    detect.EnableWindow(false);
    platform::Sleep(kRedetectPauseMs);
    DetectInput();
    detect.EnableWindow(true);
}

void CInputFormatDlg::WriteDeHStart() {
    const uint16_t value = FieldHex16(res::IDC_DE_H_START);
    DebugTrace("New_DE_H_START = 0x%03X\r\n", value);
    WriteSharedHighThenLow(Handle(), value, regmap::kDeHStartHigh, regmap::kDeHStartLow);
    RedetectPause();
}

void CInputFormatDlg::WriteDeHEnd() {
    const uint16_t value = FieldHex16(res::IDC_DE_H_END);
    DebugTrace("New_DE_H_END = 0x%03X\r\n", value);
    WriteSharedHighThenLow(Handle(), value, regmap::kDeHEndHigh, regmap::kDeHEndLow);
    RedetectPause();
}

void CInputFormatDlg::WriteDeVStart() {
    const uint16_t value = FieldHex16(res::IDC_DE_V_START);
    DebugTrace("New_DE_V_START = 0x%03X\r\n", value);
    WriteNibble(Handle(), value, regmap::kDeVStart);
    RedetectPause();
}

void CInputFormatDlg::WriteDeVEnd() {
    const uint16_t value = FieldHex16(res::IDC_DE_V_END);
    DebugTrace("New_DE_V_END = 0x%03X\r\n", value);
    WriteNibble(Handle(), value, regmap::kDeVEnd);
    RedetectPause();
}

void CInputFormatDlg::WritePllDivRatio() {
    const uint16_t value = FieldHex16(res::IDC_PLL_DIV_RATIO);
    DebugTrace("NewPLLDivRatio = 0x%03X\r\n", value);
    WriteRegisterPair(Handle(), value, regmap::kPllDivRatioHigh, regmap::kPllDivRatioLow, 1);
}

void CInputFormatDlg::WriteFrLl() {
    uint16_t value = FieldHex16(res::IDC_FR_LL);
    // The chip counts the line length over both fields of an interlaced frame.
    if (InterlaceChosen())
        value = static_cast<uint16_t>(value * 2);
    DebugTrace("FR_LL = 0x%03X\r\n", value);
    WriteRegisterPair(Handle(), value, regmap::kFrLlHigh, regmap::kFrLlLow, 1);
}

void CInputFormatDlg::WriteLMax() {
    const uint16_t value = FieldHex16(res::IDC_L_MAX);
    DebugTrace("L_MAX = 0x%03X\r\n", value);
    WriteRegisterPair(Handle(), value, regmap::kLMaxHigh, regmap::kLMaxLow, 2);
}

void CInputFormatDlg::WriteInterlace() {
    DebugTrace("NeweInterlace = %d\r\n", m_interlaceList.GetCurSel());
    WriteSetting(Handle(), regmap::kInterlace, InterlaceChosen() ? 1 : 0);
}

void CInputFormatDlg::WriteF1VbiStart() {
    const uint16_t value = FieldHex16(res::IDC_F1_VBI_START);
    DebugTrace("New_F1_VBI_START = 0x%03X\r\n", value);
    WriteHighThenSharedLow(Handle(), value, regmap::kF1VbiStartHigh, regmap::kF1VbiStartLow);
    RedetectPause();
}

void CInputFormatDlg::WriteF1VbiEnd() {
    const uint16_t value = FieldHex16(res::IDC_F1_VBI_END);
    DebugTrace("New_F1_VBI_END = 0x%03X\r\n", value);
    WriteSharedHighThenLow(Handle(), value, regmap::kF1VbiEndHigh, regmap::kF1VbiEndLow);
    RedetectPause();
}

void CInputFormatDlg::WriteF2VbiStart() {
    const uint16_t value = FieldHex16(res::IDC_F2_VBI_START);
    DebugTrace("New_F2_VBI_START = 0x%03X\r\n", value);
    WriteHighThenSharedLow(Handle(), value, regmap::kF2VbiStartHigh, regmap::kF2VbiStartLow);
    RedetectPause();
}

void CInputFormatDlg::WriteF2VbiEnd() {
    const uint16_t value = FieldHex16(res::IDC_F2_VBI_END);
    DebugTrace("New_F2_VBI_END = 0x%03X\r\n", value);
    WriteSharedHighThenLow(Handle(), value, regmap::kF2VbiEndHigh, regmap::kF2VbiEndLow);
    RedetectPause();
}

void CInputFormatDlg::WriteVgaSetup() {
    DebugTrace("NewVidStd = %d\r\n", static_cast<int>(regmap::kVgaVidStd));
    WriteSetting(Handle(), regmap::kVidStd, regmap::kVgaVidStd);
    DebugTrace("NewePrimMode = %d\r\n", static_cast<int>(regmap::kVgaPrimMode));
    WriteSetting(Handle(), regmap::kPrimMode, regmap::kVgaPrimMode);
    DebugTrace("NeweInterlace = %d\r\n", 1);
    WriteSetting(Handle(), regmap::kVgaInterlace, 1);
}

}  // namespace timing
