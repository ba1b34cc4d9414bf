// The machine of the device commands on Linux: a virtual system kept in a folder (sim/README.md)
// with its simulated cards, the one the desktop program runs on unless --system names another.
#pragma once

#include <memory>
#include <string>

#include "sim/VirtualSystem.h"
#include "tools/device/DeviceTool.h"

namespace devicetool {

// $XDG_DATA_HOME/vuvereze/system, else ~/.local/share/vuvereze/system, as the desktop program
// takes it; empty when neither can be had.
std::string DefaultSystemFolder();

class CVirtualMachine final : public IMachine {
  public:
    // A folder without a description is refused rather than made into the default machine: a
    // mistyped folder must not become a machine that a rollout then reports as changed.
    device::IDeviceBackend* Open(const std::string& systemFolder, std::string& error) override;
    // The activated machine, null before Open succeeded.
    sim::CVirtualSystem* System() { return m_system.get(); }

  private:
    std::unique_ptr<sim::CVirtualSystem> m_system;
};

}  // namespace devicetool
