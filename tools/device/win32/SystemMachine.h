// The machine of the device commands on Windows: the system itself, its capture devices found
// through DirectShow and its table in the system folder.
#pragma once

#include "device/directshow/DirectShowBackend.h"
#include "tools/device/DeviceTool.h"

namespace devicetool {

class CSystemMachine final : public IMachine {
  public:
    ~CSystemMachine() override;
    // Initialises COM on this thread the first time, as the program does at its start.
    device::IDeviceBackend* Open(const std::string& systemFolder, std::string& error) override;
    std::string DeniedWriteHint() const override;

  private:
    bool m_comReady = false;
    device::CDirectShowBackend m_backend;
};

}  // namespace devicetool
