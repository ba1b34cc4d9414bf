// The simulated machine of one scenario: its capture devices over the simulated card, as the
// scenario's set-up lines describe them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceBackend.h"

namespace scenarios {

class CWorld {
  public:
    CWorld();
    ~CWorld();

    // A device line: name (UTF-8), signals by catalogue name or "none", fault names.
    bool AddDevice(const std::string& name, const std::string& hdmi, const std::string& vga,
                   const std::vector<std::string>& faults, std::string& error);
    // Makes the devices real on the backend; call once, after the set-up.
    device::IDeviceBackend& Backend();
    // Every driver request of every device, one line each, in order.
    std::vector<std::string> LogLines() const;
    // A chip register of the first device; false without a device.
    bool ChipRegister(uint32_t bus, uint32_t reg, uint8_t& value) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace scenarios
