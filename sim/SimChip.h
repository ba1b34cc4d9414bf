// The card's video receiver chip as the driver reaches it: two register files of 256 bytes, one
// per bus address (0x40 the analog front end with the sampling PLL, 0x44 the timing and
// data-enable generator), with the power-on values a real part comes up with.
#pragma once

#include <array>
#include <cstdint>

namespace sim {

inline constexpr uint32_t kBusFrontEnd = 0x40;
inline constexpr uint32_t kBusTiming = 0x44;

// The timing the chip has been programmed with, read out of its register fields. The DE
// offsets are signed (10 bits horizontal, 4 bits vertical).
struct ChipProgram {
    uint16_t PllDivRatio = 0;  // 0x40/0x16 bits 4:0 and 0x17
    uint16_t FrLl = 0;         // 0x44/0x8F bits 2:0 and 0x90, reference clocks per line
    uint16_t LMax = 0;         // 0x44/0xAB and 0xAC bits 7:4
    int32_t DeHStart = 0;      // 0x44/0x8B bits 3:2 and 0x8D
    int32_t DeHEnd = 0;        // 0x44/0x8B bits 1:0 and 0x8C
    int32_t DeVStart = 0;      // 0x44/0x8E bits 7:4
    int32_t DeVEnd = 0;        // 0x44/0x8E bits 3:0
    bool Interlaced = false;   // 0x44/0x91 bit 6
    uint16_t F1VbiStart = 0;   // 0x44/0xA5, 0xA6 bits 7:4
    uint16_t F1VbiEnd = 0;     // 0x44/0xA6 bits 3:0, 0xA7
    uint16_t F2VbiStart = 0;   // 0x44/0xA8, 0xA9 bits 7:4
    uint16_t F2VbiEnd = 0;     // 0x44/0xA9 bits 3:0, 0xAA
};

class CSimChip {
  public:
    // The measured line length, 14 bits over 0x44/0xB1 (bits 5:0) and 0xB2; read only.
    static constexpr uint8_t kLineCountHigh = 0xB1;
    static constexpr uint8_t kLineCountLow = 0xB2;

    CSimChip() { PowerOn(); }

    static bool IsBus(uint32_t bus) { return bus == kBusFrontEnd || bus == kBusTiming; }

    // Every register to its power-on value; the chip measures in automatic mode again.
    void PowerOn();

    uint8_t Read(uint32_t bus, uint8_t reg) const;
    // Read-only registers keep their value. Writing any timing register (PLL, FR_LL, interlace,
    // blanking, L_MAX) ends the automatic mode of power-on.
    void Write(uint32_t bus, uint8_t reg, uint8_t value);

    // The measurement block the chip updates as it counts the input's lines.
    void SetLineLengthCount(int32_t count);

    // True until the first write to a timing register: the chip still follows the input.
    bool Automatic() const { return m_automatic; }
    ChipProgram Program() const;

  private:
    std::array<uint8_t, 256>& File(uint32_t bus) {
        return bus == kBusFrontEnd ? m_frontEnd : m_timing;
    }
    const std::array<uint8_t, 256>& File(uint32_t bus) const {
        return bus == kBusFrontEnd ? m_frontEnd : m_timing;
    }

    std::array<uint8_t, 256> m_frontEnd = {};
    std::array<uint8_t, 256> m_timing = {};
    bool m_automatic = true;
};

}  // namespace sim
