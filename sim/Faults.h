// Faults a simulated device can be given, by the names the system description and the scenario
// files use.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Fault {
    GetOnly,        // "get-only": QuerySupported reports get only; Sets fail
    NoReload,       // "no-reload": the reload property is not supported
    FpgaWidth,      // "fpga-width": reading FPGA 0x4110 fails
    FpgaHeight,     // "fpga-height": reading FPGA 0x4114 fails
    ChipRead,       // "chip-read": chip Gets fail
    Status,         // "status": the input status request fails
    NoPropertySet,  // "no-property-set": the filter has no IKsPropertySet
    Bind,           // "bind": BindToObject fails
    PropertyBag,    // "property-bag": BindToStorage fails, so the device is not listed
    FriendlyName,   // "friendly-name": reading the name fails, so it is listed with an empty name
    Removed,        // "removed": enumerates once, then is gone
    Count
};

const char* FaultName(Fault fault);
bool ParseFault(std::string_view name, Fault& fault);

class CFaultSet {
  public:
    bool Has(Fault fault) const { return m_on.test(Index(fault)); }
    void Set(Fault fault, bool on) { m_on.set(Index(fault), on); }
    // false, with nothing changed, for a name that is no fault.
    bool Set(std::string_view name, bool on);
    void Clear() { m_on.reset(); }
    // The names of the faults that are on, in the order of the enumeration.
    std::vector<std::string> Names() const;

  private:
    static size_t Index(Fault fault) { return static_cast<size_t>(fault); }
    std::bitset<static_cast<size_t>(Fault::Count)> m_on;
};

}  // namespace sim
