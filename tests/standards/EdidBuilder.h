// EDIDs made by the tests from the EDID 1.4 and CTA-861 layouts, byte by byte: a base block with
// detailed, standard and established timings, a range limits descriptor and a name, and CTA-861
// extension blocks with video formats and detailed timings. Each block's checksum is made, so
// edid-decode can judge the whole; a test breaks one afterwards to see it refused.
#pragma once

#include <cstdint>
#include <vector>

#include "standards/Timing.h"

namespace standards {

// The 18 bytes of a detailed timing descriptor for t (an interlaced one by its field).
std::vector<uint8_t> DtdBytes(const Timing& t);

struct EdidBuilder {
    std::vector<Timing> Detailed;   // the base block's descriptors, two at most
    std::vector<uint8_t> Standard;  // pairs of bytes, eight pairs at most
    uint32_t Established = 0;       // bits of bytes 0x23, 0x24, 0x25, the first one highest
    struct Cta {
        std::vector<int> Vics;
        std::vector<Timing> Detailed;
    };
    std::vector<Cta> Extensions;
    int Minor = 4;                // EDID 1.4
    bool CvtRangeLimits = false;  // the range limits say CVT timings are taken

    std::vector<uint8_t> Build() const;
};

// Sets the last byte of each 128-byte block so that the block sums to 0.
void SealBlocks(std::vector<uint8_t>& edid);

}  // namespace standards
