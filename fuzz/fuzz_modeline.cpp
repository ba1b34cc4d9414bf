// The modeline reader over arbitrary text: a text it takes gives a timing whose parts fit inside
// its totals, which a format's 16-bit fields hold, and whose modeline written back reads as the
// same timing at the same rate; a text it refuses says why.
#include <cmath>
#include <cstdio>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "standards/Sources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const standards::ModelineReading r = standards::ReadModeline(text);
    if (!r.Ok) {
        FUZZ_CHECK(!r.Why.empty());
        return 0;
    }
    const standards::Timing& t = r.Value;
    FUZZ_CHECK(t.HActive > 0 && t.HFrontPorch >= 0 && t.HSync > 0 &&
               t.HActive + t.HFrontPorch + t.HSync <= t.HTotal && t.HTotal <= 65535);
    FUZZ_CHECK(t.VActive > 0 && t.VFrontPorch >= 0 && t.VSync > 0 &&
               t.VActive + t.VFrontPorch + t.VSync <= t.VTotal + (t.Interlaced ? 1 : 0) &&
               t.VTotal <= 65535);
    FUZZ_CHECK(t.PixelClockKHz > 0.0 && std::isfinite(t.PixelClockKHz));
    const std::string line = standards::WriteModeline(t, "fuzz");
    FUZZ_CHECK(!line.empty());
    const standards::ModelineReading back = standards::ReadModeline(line);
    FUZZ_CHECK(back.Ok);
    standards::Timing same = back.Value;
    FUZZ_CHECK(standards::TimingName(same) == standards::TimingName(t));
    same.PixelClockKHz = t.PixelClockKHz;
    FUZZ_CHECK(same == t);
    return 0;
}
