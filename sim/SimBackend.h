// The device backend of the simulated machine: its system device enumerator lists the simulated
// capture devices, in the order they were added, as video input devices, and binds their
// filters, whose property set is the card's driver.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/DeviceBackend.h"
#include "sim/SimCard.h"

namespace sim {

// One video input device: the friendly name its property bag holds and its card. Shared with
// the COM objects handed out for it, so a bound filter stays valid whatever the backend does.
struct SimDevice {
    std::u16string FriendlyName;
    CSimCard Card;
    bool Enumerated = false;  // listed by an enumeration already (the "removed" fault needs it)
};

class CSimBackend final : public device::IDeviceBackend {
  public:
    // Appends a device at the end of the enumeration order.
    SimDevice& AddDevice(std::u16string friendlyName);

    size_t DeviceCount() const { return m_devices.size(); }
    SimDevice& Device(size_t index) { return *m_devices.at(index); }
    CSimCard& Card(size_t index) { return m_devices.at(index)->Card; }

    device::HRESULT CreateSystemDeviceEnum(device::ICreateDevEnum** deviceEnum) override;

  private:
    std::vector<std::shared_ptr<SimDevice>> m_devices;
};

}  // namespace sim
