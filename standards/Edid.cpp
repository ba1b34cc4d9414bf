// The timings an EDID describes, from the EDID 1.4 base block and its CTA-861 extension blocks.
// Every offset is checked against the block before it is read: a block is 128 bytes, and a
// layout that points past them is a broken block, never a read beyond it.
#include <cstdio>

#include "standards/Sources.h"

namespace standards {

namespace {

constexpr size_t kBlock = 128;
constexpr uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr size_t kDescriptor = 18;
constexpr uint8_t kCtaTag = 0x02;
constexpr uint8_t kStandardTimingsTag = 0xFA;
constexpr uint8_t kRangeLimitsTag = 0xFD;
constexpr uint8_t kCvtSupported = 0x04;

// The standard timing codes of the DMT list, as VESA gives them to its entries.
struct StandardCode {
    uint8_t First, Second;
    int Dmt;
};
constexpr StandardCode kStandardCodes[] = {
    {0x31, 0x19, 0x02}, {0x31, 0x40, 0x04}, {0x31, 0x4C, 0x05}, {0x31, 0x4F, 0x06},
    {0x31, 0x59, 0x07}, {0x45, 0x40, 0x09}, {0x45, 0x4C, 0x0A}, {0x45, 0x4F, 0x0B},
    {0x45, 0x59, 0x0C}, {0x61, 0x40, 0x10}, {0x61, 0x4C, 0x11}, {0x61, 0x4F, 0x12},
    {0x61, 0x59, 0x13}, {0x71, 0x4F, 0x15}, {0x81, 0x00, 0x1C}, {0x81, 0x0F, 0x1D},
    {0x81, 0x19, 0x1E}, {0x81, 0x40, 0x20}, {0x81, 0x59, 0x21}, {0x81, 0x80, 0x23},
    {0x81, 0x8F, 0x24}, {0x81, 0x99, 0x25}, {0x81, 0xC0, 0x55}, {0x90, 0x40, 0x2A},
    {0x90, 0x4F, 0x2B}, {0x90, 0x59, 0x2C}, {0x95, 0x00, 0x2F}, {0x95, 0x0F, 0x30},
    {0x95, 0x19, 0x31}, {0xA9, 0x40, 0x33}, {0xA9, 0x45, 0x34}, {0xA9, 0x4A, 0x35},
    {0xA9, 0x4F, 0x36}, {0xA9, 0x59, 0x37}, {0xA9, 0xC0, 0x53}, {0xB3, 0x00, 0x3A},
    {0xB3, 0x0F, 0x3B}, {0xB3, 0x19, 0x3C}, {0xC1, 0x40, 0x3E}, {0xC1, 0x4F, 0x3F},
    {0xC9, 0x40, 0x41}, {0xC9, 0x4F, 0x42}, {0xD1, 0x00, 0x45}, {0xD1, 0x0F, 0x46},
    {0xD1, 0x19, 0x47}, {0xD1, 0x40, 0x49}, {0xD1, 0x4F, 0x4A}, {0xD1, 0xC0, 0x52},
    {0xE1, 0xC0, 0x54},
};

std::string Text(const char* format, int a, int b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// A detailed timing descriptor; false with the reason when it describes no timing the editor
// can take.
bool Detailed(const uint8_t* d, Timing& t, std::string& note, std::string& why) {
    const int clock10kHz = d[0] | d[1] << 8;
    const int hActive = d[2] | (d[4] & 0xF0) << 4;
    const int hBlank = d[3] | (d[4] & 0x0F) << 8;
    const int vActive = d[5] | (d[7] & 0xF0) << 4;
    const int vBlank = d[6] | (d[7] & 0x0F) << 8;
    const int hFront = d[8] | (d[11] & 0xC0) << 2;
    const int hSync = d[9] | (d[11] & 0x30) << 4;
    const int vFront = d[10] >> 4 | (d[11] & 0x0C) << 2;
    const int vSync = (d[10] & 0x0F) | (d[11] & 0x03) << 4;
    const int hBorder = d[15];
    const int vBorder = d[16];
    const uint8_t flags = d[17];
    if (hActive == 0 || vActive == 0) {
        why = "its active size is 0";
        return false;
    }
    if (hSync == 0 || vSync == 0) {
        why = "it has no sync";
        return false;
    }
    if (hFront + hSync > hBlank || vFront + vSync > vBlank) {
        why = "its sync runs past its blanking";
        return false;
    }
    t = Timing{};
    // Borders lie between the active part and the blanking, so each porch holds one.
    t.HActive = hActive;
    t.HFrontPorch = hFront + hBorder;
    t.HSync = hSync;
    t.HTotal = hActive + hBlank + 2 * hBorder;
    t.Interlaced = (flags & 0x80) != 0;
    if (t.Interlaced) {
        // The descriptor gives one field; both together, with the two half lines as one more
        // line of front porch.
        t.VActive = 2 * vActive;
        t.VFrontPorch = 2 * (vFront + vBorder) + 1;
        t.VSync = 2 * vSync;
        t.VTotal = 2 * (vActive + vBlank + 2 * vBorder) + 1;
    } else {
        t.VActive = vActive;
        t.VFrontPorch = vFront + vBorder;
        t.VSync = vSync;
        t.VTotal = vActive + vBlank + 2 * vBorder;
    }
    t.PixelClockKHz = clock10kHz * 10.0;
    const int sync = flags >> 3 & 0x03;
    if (sync == 3) {
        t.HSyncPositive = (flags & 0x02) != 0;
        t.VSyncPositive = (flags & 0x04) != 0;
    } else {
        // Composite sync has no vertical polarity of its own; the digital kind gives the
        // horizontal one.
        t.HSyncPositive = sync == 2 && (flags & 0x02) != 0;
        t.VSyncPositive = false;
        note = sync == 2 ? "Composite sync: the vertical polarity is taken as negative."
                         : "Analog composite sync: both polarities are taken as negative.";
    }
    return true;
}

bool Checksum(const uint8_t* block) {
    unsigned sum = 0;
    for (size_t i = 0; i < kBlock; ++i)
        sum += block[i];
    return sum % 256 == 0;
}

struct Reader {
    const uint8_t* Base;
    EdidReading& Out;
    bool TakesCvt = false;
    int DetailedCount = 0;
    int CtaDetailedCount = 0;

    void Add(const std::string& label, const Timing& t, const std::string& note = "",
             const std::string& aspect = "") {
        Out.Rows.push_back({label, t, aspect, note});
    }

    void Descriptor(const uint8_t* d, bool inCta);
    void StandardTiming(int number, uint8_t first, uint8_t second);
    void Established();
    bool Cta(const uint8_t* block, int index);
};

void Reader::Descriptor(const uint8_t* d, bool inCta) {
    if ((d[0] | d[1]) == 0)
        return;  // a display descriptor: a name, the range limits
    const std::string label =
        inCta ? Text("CTA DTD %d", ++CtaDetailedCount) : Text("DTD %d", ++DetailedCount);
    Timing t;
    std::string note;
    std::string why;
    if (Detailed(d, t, note, why))
        Add(label, t, note);
    else
        Out.LeftOut.push_back(label + ": " + why);
}

void Reader::StandardTiming(int number, uint8_t first, uint8_t second) {
    if ((first == 0x01 && second == 0x01) || first == 0x00)
        return;  // an unused slot
    const int width = (first + 31) * 8;
    const int rate = (second & 0x3F) + 60;
    const int edidMinor = Base[0x13];
    int height = 0;
    switch (second >> 6) {
        case 0:
            // 16:10 since EDID 1.3; 1:1 before.
            height = Base[0x12] == 1 && edidMinor < 3 ? width : width * 10 / 16;
            break;
        case 1:
            height = width * 3 / 4;
            break;
        case 2:
            height = width * 4 / 5;
            break;
        default:
            height = width * 9 / 16;
            break;
    }
    const std::string label = Text("STD %d", number);
    // The DMT entries that carry a standard timing code, by that code (an aspect of 0 is
    // 16:10 only from EDID 1.3 on).
    const bool square = Base[0x12] == 1 && edidMinor < 3 && second >> 6 == 0;
    for (const StandardCode& code : kStandardCodes) {
        if (square || code.First != first || code.Second != second)
            continue;
        for (const TableEntry& e : DmtTable()) {
            if (e.Code == code.Dmt)
                Add(label + ": " + EntryLabel(e), e.Value);
        }
        return;
    }
    // Not in the list: through CVT where an EDID 1.4 display says it takes CVT timings, else
    // through GTF.
    Request request;
    request.Width = width;
    request.Height = height;
    request.Rate = rate;
    const Outcome outcome = TakesCvt ? ComputeCvt(Formula::Cvt, request) : ComputeGtf(request);
    if (outcome.Ok)
        Add(label + (TakesCvt ? ": CVT" : ": GTF"), outcome.Result);
    else
        Out.LeftOut.push_back(label + ": " + outcome.Why);
}

void Reader::Established() {
    // Bit by bit from the top bit of byte 0x23: the DMT id, 0 for the timings the list lacks.
    static const int kIds[17] = {0,    0, 0x04, 0,    0x05, 0x06, 0x08, 0x09, 0x0A,
                                 0x0B, 0, 0x0F, 0x10, 0x11, 0x12, 0x24, 0};
    static const char* const kNotListed[17] = {
        "720x400p70", "720x400p88", "", "640x480p67", "", "", "", "", "", "", "832x624p75"};
    for (int bit = 0; bit < 17; ++bit) {
        const uint8_t byte = Base[0x23 + bit / 8];
        if ((byte & (0x80 >> (bit % 8))) == 0)
            continue;
        if (kIds[bit] == 0) {
            const char* name = bit == 16 ? "1152x870p75" : kNotListed[bit];
            Out.LeftOut.push_back(std::string("EST ") + name + ": not in the DMT list");
            continue;
        }
        for (const TableEntry& e : DmtTable()) {
            if (e.Code == kIds[bit])
                Add("EST: " + EntryLabel(e), e.Value);
        }
    }
}

// A CTA-861 extension block: its data blocks (the video formats among them) and its detailed
// timing descriptors. False when its layout points outside the block.
bool Reader::Cta(const uint8_t* block, int index) {
    const size_t dtdStart = block[2];
    if (dtdStart == 0)
        return true;  // neither data blocks nor descriptors
    if (dtdStart < 4 || dtdStart > kBlock - 1) {
        Out.Why = Text("Block %d (CTA-861) points its descriptors outside the block (byte %d).",
                       index, static_cast<int>(dtdStart));
        return false;
    }
    size_t at = 4;
    while (at < dtdStart) {
        const int tag = block[at] >> 5;
        const size_t length = block[at] & 0x1F;
        if (at + 1 + length > dtdStart) {
            Out.Why = Text("Block %d (CTA-861) has a data block that runs past its end (byte %d).",
                           index, static_cast<int>(at));
            return false;
        }
        if (tag == 2) {
            for (size_t k = 0; k < length; ++k) {
                int vic = block[at + 1 + k];
                // VICs 1-64 may carry the native bit; 65-127 and 193-255 are plain.
                if (vic >= 129 && vic <= 192)
                    vic &= 0x7F;
                bool listed = false;
                for (const TableEntry& e : CtaTable()) {
                    if (e.Code == vic) {
                        Add(EntryLabel(e), e.Value, "", e.Aspect);
                        listed = true;
                    }
                }
                if (!listed && vic != 0)
                    Out.LeftOut.push_back(Text("VIC %d: not in the CTA-861 list", vic));
            }
        }
        at += 1 + length;
    }
    for (size_t d = dtdStart; d + kDescriptor <= kBlock - 1; d += kDescriptor) {
        if ((block[d] | block[d + 1]) == 0)
            break;  // padding after the last descriptor
        Descriptor(block + d, true);
    }
    return true;
}

}  // namespace

EdidReading ReadEdid(const std::vector<uint8_t>& edid) {
    EdidReading out;
    if (edid.size() < kBlock) {
        out.Why = Text("The file is too short: %d bytes, where an EDID block has 128.",
                       static_cast<int>(edid.size()));
        return out;
    }
    const uint8_t* base = edid.data();
    for (size_t i = 0; i < sizeof kHeader; ++i) {
        if (base[i] != kHeader[i]) {
            out.Why =
                "The file is no EDID: it does not begin with the EDID header "
                "00 FF FF FF FF FF FF 00.";
            return out;
        }
    }
    const int extensions = base[0x7E];
    const size_t blocks = 1 + static_cast<size_t>(extensions);
    if (edid.size() < blocks * kBlock) {
        out.Why = Text(
            "The file is too short: the EDID has %d extension blocks, the file "
            "holds %d.",
            extensions, static_cast<int>(edid.size() / kBlock) - 1);
        return out;
    }
    for (size_t b = 0; b < blocks; ++b) {
        if (!Checksum(base + b * kBlock)) {
            out.Why = b == 0 ? "The base block has a bad checksum."
                             : Text("Block %d has a bad checksum.", static_cast<int>(b));
            return out;
        }
    }
    out.Blocks = static_cast<int>(blocks);

    Reader reader{base, out};
    for (size_t d = 0x36; d < 0x7E; d += kDescriptor) {
        const uint8_t* descriptor = base + d;
        if ((descriptor[0] | descriptor[1]) == 0 && descriptor[3] == kRangeLimitsTag &&
            descriptor[10] == kCvtSupported && base[0x13] >= 4) {
            reader.TakesCvt = true;
        }
    }
    for (size_t d = 0x36; d < 0x7E; d += kDescriptor)
        reader.Descriptor(base + d, false);
    for (size_t b = 1; b < blocks; ++b) {
        const uint8_t* block = base + b * kBlock;
        if (block[0] == kCtaTag && !reader.Cta(block, static_cast<int>(b))) {
            out.Rows.clear();
            out.LeftOut.clear();
            return out;
        }
    }
    for (int k = 0; k < 8; ++k)
        reader.StandardTiming(k + 1, base[0x26 + 2 * k], base[0x27 + 2 * k]);
    // Of the display descriptors, one kind lists timings: six more standard ones.
    int more = 9;
    for (size_t d = 0x36; d < 0x7E; d += kDescriptor) {
        const uint8_t* descriptor = base + d;
        if ((descriptor[0] | descriptor[1]) == 0 && descriptor[3] == kStandardTimingsTag) {
            for (int k = 0; k < 6; ++k, ++more)
                reader.StandardTiming(more, descriptor[5 + 2 * k], descriptor[6 + 2 * k]);
        }
    }
    reader.Established();
    out.Ok = true;
    return out;
}

}  // namespace standards
