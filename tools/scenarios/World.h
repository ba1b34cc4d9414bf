// The simulated machine of one scenario: its capture devices over the simulated card, as the
// scenario's set-up lines describe them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceBackend.h"

namespace sim {
struct SystemDescription;
}

namespace scenarios {

// Serves a scenario's devices some other way than the simulated backend in this process: the
// simulated card registered with the system as DirectShow devices, for one.
class IDeviceServer {
  public:
    virtual ~IDeviceServer() = default;
    // The backend over the devices of `machine`, whose drivers read their tables from
    // `systemFolder` (a host path); `scratch` is the scenario's own folder. nullptr, with
    // `error` set, when they cannot be served.
    virtual device::IDeviceBackend* Serve(const sim::SystemDescription& machine,
                                          const std::string& systemFolder,
                                          const std::string& scratch, std::string& error) = 0;
    // Every driver request of every device, one line each, device by device.
    virtual std::vector<std::string> LogLines() const = 0;
    // A register byte of the first device's chip as it is when the program first binds it,
    // and as it is now; false when there is no such card (yet).
    virtual bool PresetChipRegister(uint32_t bus, uint32_t reg, uint8_t value) = 0;
    virtual bool ChipRegister(uint32_t bus, uint32_t reg, uint8_t& value) const = 0;
    // While the program runs: the devices still plugged in, as `present` describes them (a
    // device's signals may have changed), and those of the first description that were pulled
    // out since, by their index there. The cards notice at their next request.
    virtual bool Redescribe(const sim::SystemDescription& present,
                            const std::vector<size_t>& unplugged, std::string& error) = 0;
};

class CWorld {
  public:
    CWorld();
    ~CWorld();

    // A device line: name (UTF-8), signals by catalogue name or "none", fault names.
    bool AddDevice(const std::string& name, const std::string& hdmi, const std::string& vga,
                   const std::vector<std::string>& faults, std::string& error);
    // The devices are served by `server` instead (nullptr: the simulated backend); before
    // Backend.
    void ServeDevicesBy(IDeviceServer* server, const std::string& scratch);
    // Makes the devices real on the backend; call once, after the set-up.
    device::IDeviceBackend& Backend();
    // Why the devices could not be served; empty when they are.
    const std::string& ServeError() const;
    // Every driver request of every device, one line each, in order.
    std::vector<std::string> LogLines() const;
    // A chip register of the first device; false without a device.
    bool ChipRegister(uint32_t bus, uint32_t reg, uint8_t& value) const;

    // --- While the program runs. What the first plugged-in device of that name receives from
    // now on at its HDMI or VGA input (a signal name or "none"; null: unchanged), and the
    // device pulled out of the machine. Its card notices at its next request.
    bool ChangeSignals(const std::string& name, const std::string* hdmi, const std::string* vga,
                       std::string& error);
    bool Unplug(const std::string& name, std::string& error);

    // --- Faults the set-up lines arrange. Each is undone when the world ends, so the scratch
    // folder can be removed and the next scenario starts clean.
    // Takes every write bit from a file or folder, as Windows's read-only attribute.
    bool MakeReadOnly(const std::string& hostPath, std::string& error);
    // Every write of hostPath (of every file when empty) fails after this many bytes.
    void FailWritesAfter(const std::string& hostPath, size_t bytes);
    // A register byte of the first device's chip as the card holds it when the program starts
    // (after power-on), for the writers' read-modify-write to meet.
    bool PresetChipRegister(uint32_t bus, uint32_t reg, uint8_t value, std::string& error);

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace scenarios
