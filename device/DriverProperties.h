// The five driver operations through which everything reaches the card. Each checks that the
// driver supports the request, sends the exact buffers of DriverProtocol.h and, on failure,
// leaves the caller's out values as they were.
#pragma once

#include <cstdint>

#include "device/Com.h"
#include "device/VideoDevice.h"

namespace device {

// FPGA register (0x4110 detected width, 0x4114 detected height). 1, or 0.
int ReadFpgaRegister(const DeviceHandle* handle, uint32_t address, uint32_t* value);

// count consecutive chip registers from reg on bus 0x40 or 0x44. count must be 1 to 256 (the
// request's data area); anything else fails without a request. 1, or 0.
int ReadChipRegisters(const DeviceHandle* handle, uint32_t bus, uint32_t reg, uint32_t count,
                      uint8_t* bytes);
int WriteChipRegisters(const DeviceHandle* handle, uint32_t bus, uint32_t reg, uint32_t count,
                       const uint8_t* bytes);

// Input 1 (VGA) or 2 (HDMI); a status of 0 means no signal. S_OK, or E_FAIL.
HRESULT QueryInputStatus(const DeviceHandle* handle, uint32_t input, uint32_t* status);

// Selector 1 reloads "format.bin", 2 loads "testformat.bin", 0 puts the last "format.bin" back.
bool ReloadFormatTable(const DeviceHandle* handle, uint8_t selector);
// What every program of the product says when the driver could not reload a table.
extern const char* const kMsgReloadFail;

}  // namespace device
