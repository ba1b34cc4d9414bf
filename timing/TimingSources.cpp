#include "timing/TimingSources.h"

#include "platform/Platform.h"

namespace timing {

standards::EdidReading ReadEdidAt(const std::string& path) {
    std::vector<uint8_t> bytes(kLargestEdidFile);
    size_t size = 0;
    if (!platform::ReadFileInto(platform::HostPath(path), bytes.data(), bytes.size(), size)) {
        standards::EdidReading unread;
        unread.Why =
            "The file cannot be read: it is missing, no regular file, or larger than "
            "an EDID can be.";
        return unread;
    }
    bytes.resize(size);
    return standards::ReadEdidFile(bytes);
}

std::string EdidSummary(const standards::EdidReading& edid) {
    if (!edid.Ok)
        return "";
    std::string text =
        platform::FormatText("%d block%s, %d timing%s.", edid.Blocks, edid.Blocks == 1 ? "" : "s",
                             static_cast<int>(edid.Rows.size()), edid.Rows.size() == 1 ? "" : "s");
    for (size_t i = 0; i < edid.LeftOut.size(); ++i)
        text += (i == 0 ? " Left out: " : "; ") + edid.LeftOut[i] +
                (i + 1 == edid.LeftOut.size() ? "." : "");
    return text;
}

}  // namespace timing
