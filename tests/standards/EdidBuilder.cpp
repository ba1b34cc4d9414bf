#include "EdidBuilder.h"

#include <algorithm>
#include <cstring>

namespace standards {

namespace {

constexpr int kWidthMm = 520;  // the image size every descriptor gives, the display's own
constexpr int kHeightMm = 320;

void Put(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

std::vector<uint8_t> Text(uint8_t tag, const char* text) {
    std::vector<uint8_t> d = {0, 0, 0, tag, 0};
    const size_t n = std::strlen(text);
    for (size_t i = 0; i < 13; ++i)
        d.push_back(i < n ? static_cast<uint8_t>(text[i]) : i == n ? 0x0A : 0x20);
    return d;
}

// 24-120 Hz, 15-135 kHz, up to 600 MHz, range limits only: no formula for other timings.
std::vector<uint8_t> RangeLimits() {
    return {0, 0, 0, 0xFD, 0, 24, 120, 15, 135, 60, 0x01, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
}

std::vector<uint8_t> Dummy() {
    return {0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

}  // namespace

std::vector<uint8_t> DtdBytes(const Timing& t) {
    int va = t.VActive, vfp = t.VFrontPorch, vs = t.VSync, vb = t.VTotal - t.VActive;
    if (t.Interlaced) {
        va = t.VActive / 2;
        vfp = (t.VFrontPorch - 1) / 2;
        vs = t.VSync / 2;
        vb = (t.VTotal - 1) / 2 - va;
    }
    const int ha = t.HActive, hb = t.HTotal - t.HActive, hfp = t.HFrontPorch, hs = t.HSync;
    const int clock = static_cast<int>(t.PixelClockKHz / 10.0 + 0.5);
    return {static_cast<uint8_t>(clock & 0xFF),
            static_cast<uint8_t>(clock >> 8),
            static_cast<uint8_t>(ha & 0xFF),
            static_cast<uint8_t>(hb & 0xFF),
            static_cast<uint8_t>((ha >> 8) << 4 | hb >> 8),
            static_cast<uint8_t>(va & 0xFF),
            static_cast<uint8_t>(vb & 0xFF),
            static_cast<uint8_t>((va >> 8) << 4 | vb >> 8),
            static_cast<uint8_t>(hfp & 0xFF),
            static_cast<uint8_t>(hs & 0xFF),
            static_cast<uint8_t>((vfp & 0x0F) << 4 | (vs & 0x0F)),
            static_cast<uint8_t>((hfp >> 8) << 6 | (hs >> 8) << 4 | (vfp >> 4) << 2 | vs >> 4),
            static_cast<uint8_t>(kWidthMm & 0xFF),
            static_cast<uint8_t>(kHeightMm & 0xFF),
            static_cast<uint8_t>((kWidthMm >> 8) << 4 | kHeightMm >> 8),
            0,
            0,
            static_cast<uint8_t>((t.Interlaced ? 0x80 : 0) | 0x18 | (t.VSyncPositive ? 0x04 : 0) |
                                 (t.HSyncPositive ? 0x02 : 0))};
}

void SealBlocks(std::vector<uint8_t>& edid) {
    for (size_t b = 0; b + 128 <= edid.size(); b += 128) {
        unsigned sum = 0;
        for (size_t i = 0; i < 127; ++i)
            sum += edid[b + i];
        edid[b + 127] = static_cast<uint8_t>((256 - sum % 256) % 256);
    }
}

std::vector<uint8_t> EdidBuilder::Build() const {
    std::vector<uint8_t> e = {0x00, 0xFF, 0xFF, 0xFF,
                              0xFF, 0xFF, 0xFF, 0x00,
                              0x5A, 0x5A, 0x01, 0x00,
                              0x00, 0x00, 0x00, 0x00,                          // vendor, product
                              0x01, 0x1E, 0x01, static_cast<uint8_t>(Minor)};  // 2020, version
    // Digital, 8 bits, DisplayPort; 52 x 32 cm; gamma 2.2; RGB, preferred timing native.
    Put(e, {0xA5, kWidthMm / 10, kHeightMm / 10, 0x78, 0x02});
    Put(e, {0x0D, 0xC9, 0xA0, 0x57, 0x47, 0x98, 0x27, 0x12, 0x48, 0x4C});  // chromaticity
    Put(e, {static_cast<uint8_t>(Established >> 16), static_cast<uint8_t>(Established >> 8),
            static_cast<uint8_t>(Established)});
    for (size_t i = 0; i < 16; ++i)
        e.push_back(i < Standard.size() ? Standard[i] : 0x01);
    std::vector<std::vector<uint8_t>> descriptors;
    for (const Timing& t : Detailed)
        descriptors.push_back(DtdBytes(t));
    descriptors.push_back(RangeLimits());
    if (CvtRangeLimits) {
        // CVT 1.1, no pixel clock adjustment, 4:3 16:9 16:10, both blankings, no scaling.
        std::vector<uint8_t>& limits = descriptors.back();
        limits[10] = 0x04;
        const uint8_t cvt[7] = {0x11, 0x00, 0x00, 0xB0, 0x18, 0x00, 0x3C};
        std::copy(cvt, cvt + 7, limits.begin() + 11);
    }
    descriptors.push_back(Text(0xFC, "Vuvereze Test"));
    while (descriptors.size() < 4)
        descriptors.push_back(Dummy());
    for (size_t i = 0; i < 4; ++i)
        Put(e, descriptors[i]);
    e.push_back(static_cast<uint8_t>(Extensions.size()));
    e.push_back(0);

    for (const Cta& cta : Extensions) {
        std::vector<uint8_t> b = {0x02, 0x03, 0, 0x80};  // underscanned
        // A video capability block: RGB quantization selectable, IT formats underscanned, CE
        // ones either way.
        Put(b, {0xE2, 0x00, 0x4B});
        if (!cta.Vics.empty()) {
            b.push_back(static_cast<uint8_t>(0x40 | cta.Vics.size()));
            for (int vic : cta.Vics)
                b.push_back(static_cast<uint8_t>(vic));
        }
        b[2] = static_cast<uint8_t>(b.size());
        for (const Timing& t : cta.Detailed)
            Put(b, DtdBytes(t));
        b.resize(128, 0);
        Put(e, b);
    }
    SealBlocks(e);
    return e;
}

}  // namespace standards
