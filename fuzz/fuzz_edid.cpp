// The EDID reader over arbitrary files, bytes or hex dumps: whatever the block count, offsets and
// lengths say, nothing is read outside the file (the sanitizers watch); a file it refuses lists
// nothing and says why, and every timing it lists fits a format.
#include <algorithm>
#include <cmath>

#include "fuzz/FuzzSupport.h"
#include "standards/Sources.h"

namespace {

void CheckReading(const standards::EdidReading& r) {
    if (!r.Ok) {
        FUZZ_CHECK(!r.Why.empty() && r.Rows.empty());
        return;
    }
    FUZZ_CHECK(r.Blocks >= 1 && r.Blocks <= 256);
    for (const standards::EdidRow& row : r.Rows) {
        const standards::Timing& t = row.Value;
        FUZZ_CHECK(!row.Label.empty());
        FUZZ_CHECK(t.HActive > 0 && t.HTotal > t.HActive && t.HTotal <= 65535);
        FUZZ_CHECK(t.VActive > 0 && t.VTotal > t.VActive && t.VTotal <= 65535);
        FUZZ_CHECK(t.HFrontPorch >= 0 && t.HSync > 0 && t.VFrontPorch >= 0 && t.VSync > 0);
        FUZZ_CHECK(t.PixelClockKHz > 0.0 && std::isfinite(t.PixelClockKHz));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file(data, data + size);
    CheckReading(standards::ReadEdidFile(file));
    // The same bytes as the blocks themselves, the header and checksums aside: a fuzzer seldom
    // finds a checksum, so each block is sealed to reach the layouts behind it.
    std::vector<uint8_t> edid = file;
    static const uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() >= 8)
        std::copy(kHeader, kHeader + 8, edid.begin());
    for (size_t b = 0; b + 128 <= edid.size(); b += 128) {
        unsigned sum = 0;
        for (size_t i = 0; i < 127; ++i)
            sum += edid[b + i];
        edid[b + 127] = static_cast<uint8_t>((256 - sum % 256) % 256);
    }
    CheckReading(standards::ReadEdid(edid));
    return 0;
}
