#include "tools/device/win32/SystemMachine.h"

#include <objbase.h>

namespace devicetool {

CSystemMachine::~CSystemMachine() {
    if (m_comReady)
        CoUninitialize();
}

device::IDeviceBackend* CSystemMachine::Open(const std::string& systemFolder, std::string& error) {
    if (!systemFolder.empty()) {
        error =
            "--system names a virtual system of Linux; on Windows the command works on the "
            "machine's own devices and system folder";
        return nullptr;
    }
    if (!m_comReady) {
        if (FAILED(CoInitialize(nullptr))) {
            error = "COM cannot be initialised";
            return nullptr;
        }
        m_comReady = true;
    }
    return &m_backend;
}

}  // namespace devicetool
