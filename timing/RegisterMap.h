// The receiver chip's registers as the editor programs them: for each field, the bus, the
// register, the bits it occupies and which bits of the value it holds. A write replaces those
// bits and keeps every other bit of the register.
#pragma once

#include <cstdint>

namespace timing::regmap {

constexpr uint32_t kBus40 = 0x40;
constexpr uint32_t kBus44 = 0x44;

struct RegisterField {
    uint32_t bus;
    uint32_t reg;
    uint8_t mask;        // the field's bits in the register
    uint8_t shift;       // the register bit that holds the field's lowest value bit
    uint8_t valueShift;  // the lowest value bit the field holds
};

// The register byte with the field's bits taken from value and all other bits from byte.
constexpr uint8_t Place(uint8_t byte, const RegisterField& field, uint32_t value) {
    const uint32_t bits = ((value >> field.valueShift) << field.shift) & field.mask;
    return static_cast<uint8_t>((byte & ~field.mask) | bits);
}

// The value bits a register byte holds for the field, in their place in the value.
constexpr uint32_t Take(uint8_t byte, const RegisterField& field) {
    return ((static_cast<uint32_t>(byte) & field.mask) >> field.shift) << field.valueShift;
}

// Bus 0x40: video standard, primary mode and the PLL divider.
constexpr RegisterField kVidStd{kBus40, 0x00, 0x3F, 0, 0};
constexpr RegisterField kPrimMode{kBus40, 0x01, 0x0F, 0, 0};
constexpr RegisterField kVgaInterlace{kBus40, 0x16, 0x80, 7, 0};
constexpr RegisterField kPllDivRatioHigh{kBus40, 0x16, 0x1F, 0, 8};
constexpr RegisterField kPllDivRatioLow{kBus40, 0x17, 0xFF, 0, 0};

// Bus 0x44: output position (DE offsets), line length, interlace, blanking and line count.
constexpr RegisterField kDeHStartHigh{kBus44, 0x8B, 0x0C, 2, 8};
constexpr RegisterField kDeHEndHigh{kBus44, 0x8B, 0x03, 0, 8};
constexpr RegisterField kDeHEndLow{kBus44, 0x8C, 0xFF, 0, 0};
constexpr RegisterField kDeHStartLow{kBus44, 0x8D, 0xFF, 0, 0};
constexpr RegisterField kDeVStart{kBus44, 0x8E, 0xF0, 4, 0};
constexpr RegisterField kDeVEnd{kBus44, 0x8E, 0x0F, 0, 0};
constexpr RegisterField kFrLlHigh{kBus44, 0x8F, 0x07, 0, 8};
constexpr RegisterField kFrLlLow{kBus44, 0x90, 0xFF, 0, 0};
constexpr RegisterField kInterlace{kBus44, 0x91, 0x40, 6, 0};
constexpr RegisterField kF1VbiStartHigh{kBus44, 0xA5, 0xFF, 0, 4};
constexpr RegisterField kF1VbiStartLow{kBus44, 0xA6, 0xF0, 4, 0};
constexpr RegisterField kF1VbiEndHigh{kBus44, 0xA6, 0x0F, 0, 8};
constexpr RegisterField kF1VbiEndLow{kBus44, 0xA7, 0xFF, 0, 0};
constexpr RegisterField kF2VbiStartHigh{kBus44, 0xA8, 0xFF, 0, 4};
constexpr RegisterField kF2VbiStartLow{kBus44, 0xA9, 0xF0, 4, 0};
constexpr RegisterField kF2VbiEndHigh{kBus44, 0xA9, 0x0F, 0, 8};
constexpr RegisterField kF2VbiEndLow{kBus44, 0xAA, 0xFF, 0, 0};
constexpr RegisterField kLMaxHigh{kBus44, 0xAB, 0xFF, 0, 4};
constexpr RegisterField kLMaxLow{kBus44, 0xAC, 0xF0, 4, 0};
constexpr RegisterField kLineLengthHigh{kBus44, 0xB1, 0x3F, 0, 8};
constexpr RegisterField kLineLengthLow{kBus44, 0xB2, 0xFF, 0, 0};

// FPGA registers of the detected active size.
constexpr uint32_t kFpgaDetectedWidth = 0x4110;
constexpr uint32_t kFpgaDetectedHeight = 0x4114;

// What a locked VGA input needs on bus 0x40.
constexpr uint32_t kVgaVidStd = 7;
constexpr uint32_t kVgaPrimMode = 2;

}  // namespace timing::regmap
