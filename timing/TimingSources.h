// Timings from a user's own material, read the same way by the "Standard..." dialog and by the
// device command: an EDID file chosen by its path. (A modeline is text: standards/Sources.h.)
#pragma once

#include <string>

#include "standards/Sources.h"

namespace timing {

// The largest file taken for an EDID: its 256 blocks as a hex dump with room for titles and
// blanks. A larger file cannot be one and is not read.
constexpr size_t kLargestEdidFile = 256 * 1024;

// The EDID file at path (a file of the machine, or a drive path of the system), read and
// taken apart; one that cannot be read is said in Why, as a broken one is.
standards::EdidReading ReadEdidAt(const std::string& path);

// "2 blocks, 11 timings." and, when some are left out, "Left out: DTD 2: its sync runs past
// its blanking; VIC 250: not in the CTA-861 list." What the dialog and the command say of an
// EDID beside its rows.
std::string EdidSummary(const standards::EdidReading& edid);

}  // namespace timing
