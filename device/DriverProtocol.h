// What travels between the tool and the capture card's driver: the three property sets, their
// property ids and the byte layout of every buffer. Little-endian throughout. The tool's side
// (DriverProperties) builds these buffers and a driver (the simulated one) takes them apart, so
// both read the layout from here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/Com.h"

namespace device {

inline constexpr GUID FpgaRegisterPropSet = {
    0xD6BB7718, 0x6886, 0x4141, {0xA2, 0x9F, 0x8A, 0x2D, 0x9F, 0xBC, 0xB8, 0x25}};
inline constexpr GUID ChipAccessPropSet = {
    0x9A8B368A, 0xF82C, 0x47E7, {0x83, 0xE1, 0x5E, 0x88, 0xFD, 0x2E, 0x1B, 0x2B}};
inline constexpr GUID DriverControlPropSet = {
    0x1BF3FF28, 0x38E7, 0x43A0, {0x84, 0x0F, 0xCE, 0x94, 0x49, 0x18, 0xE3, 0x18}};

inline constexpr uint32_t kFpgaRegisterProperty = 1000;  // FpgaRegisterPropSet, Get
inline constexpr uint32_t kChipAccessProperty = 0;       // ChipAccessPropSet, Get and Set
inline constexpr uint32_t kInputStatusProperty = 1022;   // DriverControlPropSet, Get
inline constexpr uint32_t kReloadTableProperty = 1034;   // DriverControlPropSet, Set

// Data buffers given as "header + instance" start with the size of a KSPROPERTY in zero bytes.
inline constexpr size_t kKsPropertySize = 24;

// FPGA register read: instance u32 0, u32 address; the value comes back at data offset 24.
inline constexpr size_t kFpgaInstanceSize = 8;
inline constexpr size_t kFpgaAddressOffset = 4;
inline constexpr size_t kFpgaDataSize = kKsPropertySize + kFpgaInstanceSize;
inline constexpr size_t kFpgaValueOffset = kKsPropertySize;

// Chip request: a 256-byte data area, then the words that say what to access.
inline constexpr size_t kChipDataAreaSize = 256;
inline constexpr size_t kChipBusOffset = 256;
inline constexpr size_t kChipRegisterOffset = 260;
inline constexpr size_t kChipOneOffset = 264;  // always 1
inline constexpr size_t kChipCountOffset = 268;
inline constexpr size_t kChipZeroOffset = 272;  // always 0
inline constexpr size_t kChipTagOffset = 276;
inline constexpr size_t kChipRequestSize = 288;
inline constexpr size_t kChipDataSize = kKsPropertySize + kChipRequestSize;
inline constexpr uint32_t kChipMaxCount = 256;

// Input status: instance u32 input, u32 7; data is the status word itself.
inline constexpr size_t kStatusInstanceSize = 8;
inline constexpr size_t kStatusInputOffset = 0;
inline constexpr size_t kStatusCommandOffset = 4;
inline constexpr uint32_t kStatusCommand = 7;
inline constexpr size_t kStatusDataSize = 4;
inline constexpr uint32_t kInputVga = 1;
inline constexpr uint32_t kInputHdmi = 2;

// Reload: instance of 25 bytes with the selector at 0; data is the selector byte.
inline constexpr size_t kReloadInstanceSize = 25;
inline constexpr size_t kReloadDataSize = 1;
inline constexpr uint8_t kReloadRestore = 0;     // put back the last "format.bin" table
inline constexpr uint8_t kReloadFormatFile = 1;  // "format.bin"
inline constexpr uint8_t kReloadTestFile = 2;    // "testformat.bin"

inline void PutU32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

inline uint32_t GetU32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

}  // namespace device
