// A running machine's description, watched for one card: an edit of the description file
// reaches the card at its next request, as a cable plugged in or pulled out at its inputs, or
// the card itself unplugged (the edited description no longer lists it) and plugged back in.
// A file that cannot be read or is no valid description changes nothing: an edit half saved
// pulls no cable. The card's faults stay as it started.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/SimCard.h"
#include "sim/SystemDescription.h"

namespace sim {

class CDescriptionWatch {
  public:
    // The card of the `occurrence`-th device (from 0) named `friendlyName` in `file`, whose
    // bytes were `seen` when the card started.
    CDescriptionWatch(std::string file, std::string friendlyName, size_t occurrence,
                      std::vector<uint8_t> seen);
    void operator()(CSimCard& card);

  private:
    std::string m_file;
    std::string m_name;
    size_t m_occurrence;
    std::vector<uint8_t> m_seen;
};

// How many devices before `index` of the description have the same name: which of the
// same-named devices a card is.
size_t Occurrence(const std::vector<DeviceDescription>& devices, size_t index);

}  // namespace sim
