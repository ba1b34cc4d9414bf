#include "tools/device/posix/VirtualMachine.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace devicetool {

std::string DefaultSystemFolder() {
    namespace fs = std::filesystem;
    const char* data = std::getenv("XDG_DATA_HOME");
    // The XDG rule: a relative path in the variable is to be ignored.
    if (data != nullptr && data[0] == '/')
        return (fs::path(data) / "vuvereze" / "system").string();
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return "";
    return (fs::path(home) / ".local" / "share" / "vuvereze" / "system").string();
}

device::IDeviceBackend* CVirtualMachine::Open(const std::string& systemFolder, std::string& error) {
    const std::string folder = systemFolder.empty() ? DefaultSystemFolder() : systemFolder;
    if (folder.empty()) {
        error = "no system folder: neither XDG_DATA_HOME nor HOME is set; give --system FOLDER";
        return nullptr;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(folder) / sim::kDescriptionFileName,
                                          ec)) {
        error = "no virtual system in " + folder + " (it has no " + sim::kDescriptionFileName +
                "; the desktop program makes the default one on its first start)";
        return nullptr;
    }
    std::unique_ptr<sim::CVirtualSystem> system = sim::CVirtualSystem::Open(folder, error);
    if (system == nullptr || !system->Activate(error))
        return nullptr;
    m_system = std::move(system);
    return &m_system->Backend();
}

}  // namespace devicetool
