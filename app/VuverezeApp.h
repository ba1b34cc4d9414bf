// The application object: prepares the process, runs the main window, ends the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "device/VideoDevice.h"

namespace app {

class CVuverezeApp {
  public:
    // What start-up needs of the machine: COM (CoInitialize's HRESULT) and the capture devices.
    CVuverezeApp(device::IDeviceBackend& devices, std::function<int32_t()> coInitialize);

    // The framework's start-up. False: no message loop follows, the program ends.
    bool InitInstance();
    // InitInstance and the exit code of the process.
    int Run();

    // What start-up set, kept for the framework's sake.
    uint32_t m_commonControlsSize = 0;
    uint32_t m_commonControlsClasses = 0;
    uint32_t m_restartManagerSupport = 1;
    std::string m_registryKey;
    int m_exitCode = 0;

  private:
    device::IDeviceBackend& m_devices;
    std::function<int32_t()> m_coInitialize;
};

}  // namespace app
