#include "sim/Faults.h"

#include <iterator>

namespace sim {

namespace {

constexpr const char* kNames[] = {
    "get-only",        "no-reload", "fpga-width",   "fpga-height",   "chip-read", "status",
    "no-property-set", "bind",      "property-bag", "friendly-name", "removed",
};
static_assert(std::size(kNames) == static_cast<size_t>(Fault::Count));

}  // namespace

const char* FaultName(Fault fault) {
    return kNames[static_cast<size_t>(fault)];
}

bool ParseFault(std::string_view name, Fault& fault) {
    for (size_t i = 0; i < std::size(kNames); ++i) {
        if (name == kNames[i]) {
            fault = static_cast<Fault>(i);
            return true;
        }
    }
    return false;
}

bool CFaultSet::Set(std::string_view name, bool on) {
    Fault fault;
    if (!ParseFault(name, fault)) {
        return false;
    }
    Set(fault, on);
    return true;
}

std::vector<std::string> CFaultSet::Names() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < std::size(kNames); ++i) {
        if (m_on.test(i)) {
            names.emplace_back(kNames[i]);
        }
    }
    return names;
}

}  // namespace sim
