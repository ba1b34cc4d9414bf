#include "sim/SimChip.h"

namespace sim {

namespace {

struct RegisterValue {
    uint32_t Bus;
    uint8_t Reg;
    uint8_t Value;
};

// Power-on values: the chip wakes up set for 525-line NTSC video (PLL 858, FR_LL 1820 reference
// clocks per line, 525 lines, interlaced, blanking 523-20 and 260-283), DE offsets 0. Every
// other register is 0.
constexpr RegisterValue kPowerOn[] = {
    {kBusFrontEnd, 0x00, 0x02},  // video standard
    {kBusFrontEnd, 0x01, 0x05},  // primary mode
    {kBusFrontEnd, 0x16, 0x03},  // PLL div ratio 12:8
    {kBusFrontEnd, 0x17, 0x5A},  // PLL div ratio 7:0
    {kBusTiming, 0x8F, 0x07},    // FR_LL 10:8
    {kBusTiming, 0x90, 0x1C},    // FR_LL 7:0
    {kBusTiming, 0x91, 0x40},    // interlace
    {kBusTiming, 0xA5, 0x20},    // F1_VBI_START 11:4
    {kBusTiming, 0xA6, 0xB0},    // F1_VBI_START 3:0, F1_VBI_END 11:8
    {kBusTiming, 0xA7, 0x14},    // F1_VBI_END 7:0
    {kBusTiming, 0xA8, 0x10},    // F2_VBI_START 11:4
    {kBusTiming, 0xA9, 0x41},    // F2_VBI_START 3:0, F2_VBI_END 11:8
    {kBusTiming, 0xAA, 0x1B},    // F2_VBI_END 7:0
    {kBusTiming, 0xAB, 0x20},    // L_MAX 11:4
    {kBusTiming, 0xAC, 0xD0},    // L_MAX 3:0
};

bool IsTimingRegister(uint32_t bus, uint8_t reg) {
    if (bus == kBusFrontEnd) {
        return reg == 0x16 || reg == 0x17;
    }
    return (reg >= 0x8F && reg <= 0x91) || (reg >= 0xA5 && reg <= 0xAC);
}

bool IsReadOnly(uint32_t bus, uint8_t reg) {
    return bus == kBusTiming && (reg == CSimChip::kLineCountHigh || reg == CSimChip::kLineCountLow);
}

int32_t SignExtend(uint32_t value, int bits) {
    const uint32_t sign = 1u << (bits - 1);
    const uint32_t mask = (1u << bits) - 1;
    value &= mask;
    return (value & sign) != 0 ? static_cast<int32_t>(value) - static_cast<int32_t>(1u << bits)
                               : static_cast<int32_t>(value);
}

}  // namespace

void CSimChip::PowerOn() {
    m_frontEnd.fill(0);
    m_timing.fill(0);
    for (const RegisterValue& r : kPowerOn) {
        File(r.Bus)[r.Reg] = r.Value;
    }
    m_automatic = true;
}

uint8_t CSimChip::Read(uint32_t bus, uint8_t reg) const {
    return File(bus)[reg];
}

void CSimChip::Write(uint32_t bus, uint8_t reg, uint8_t value) {
    if (IsReadOnly(bus, reg)) {
        return;
    }
    File(bus)[reg] = value;
    if (IsTimingRegister(bus, reg)) {
        m_automatic = false;
    }
}

void CSimChip::SetLineLengthCount(int32_t count) {
    m_timing[kLineCountHigh] = static_cast<uint8_t>((count >> 8) & 0x3F);
    m_timing[kLineCountLow] = static_cast<uint8_t>(count & 0xFF);
}

ChipProgram CSimChip::Program() const {
    const auto& fe = m_frontEnd;
    const auto& t = m_timing;
    ChipProgram p;
    p.PllDivRatio = static_cast<uint16_t>(((fe[0x16] & 0x1F) << 8) | fe[0x17]);
    p.FrLl = static_cast<uint16_t>(((t[0x8F] & 0x07) << 8) | t[0x90]);
    p.LMax = static_cast<uint16_t>((t[0xAB] << 4) | (t[0xAC] >> 4));
    p.DeHStart = SignExtend(((t[0x8B] >> 2) & 0x3u) << 8 | t[0x8D], 10);
    p.DeHEnd = SignExtend((t[0x8B] & 0x3u) << 8 | t[0x8C], 10);
    p.DeVStart = SignExtend(t[0x8E] >> 4, 4);
    p.DeVEnd = SignExtend(t[0x8E] & 0x0Fu, 4);
    p.Interlaced = (t[0x91] & 0x40) != 0;
    p.F1VbiStart = static_cast<uint16_t>((t[0xA5] << 4) | (t[0xA6] >> 4));
    p.F1VbiEnd = static_cast<uint16_t>(((t[0xA6] & 0x0F) << 8) | t[0xA7]);
    p.F2VbiStart = static_cast<uint16_t>((t[0xA8] << 4) | (t[0xA9] >> 4));
    p.F2VbiEnd = static_cast<uint16_t>(((t[0xA9] & 0x0F) << 8) | t[0xAA]);
    return p;
}

}  // namespace sim
