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

// The system folder is the administrators' to write. The command asks for no elevation of its
// own (a script must never stop at a prompt), so the person running it is told how to get it.
std::string CSystemMachine::DeniedWriteHint() const {
    return "Writing there may need an administrator's rights: run the command from an elevated "
           "prompt (Run as administrator)";
}

}  // namespace devicetool
