#include "sim/VirtualSystem.h"

#include <filesystem>
#include <system_error>

#include "device/DriverProtocol.h"
#include "platform/Platform.h"
#include "sim/DescriptionWatch.h"

namespace sim {

namespace {

namespace fs = std::filesystem;

std::string Join(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

std::string System32Folder(const std::string& root) {
    return (fs::path(root) / "Windows" / "System32").string();
}

bool EnsureFolder(const std::string& folder, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder + ": " + ec.message();
        return false;
    }
    return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    if (!platform::ReplaceFileAtomically(path, bytes.data(), bytes.size())) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace

CVirtualSystem::CVirtualSystem(std::string rootFolder, SystemDescription description)
    : m_root(std::move(rootFolder)), m_description(std::move(description)) {}

std::unique_ptr<CVirtualSystem> CVirtualSystem::Open(const std::string& rootFolder,
                                                     std::string& error) {
    const std::string file = Join(rootFolder, kDescriptionFileName);
    std::error_code ec;
    if (!fs::exists(file, ec) && !CreateDefaultSystem(rootFolder, error)) {
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(file, bytes)) {
        error = "cannot read " + file;
        return nullptr;
    }
    SystemDescription description;
    const std::string_view json(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ParseSystemDescription(json, description, error)) {
        error = file + ": " + error;
        return nullptr;
    }
    auto system = std::make_unique<CVirtualSystem>(rootFolder, std::move(description));
    system->m_descriptionFile = std::move(bytes);
    return system;
}

bool CVirtualSystem::Save(std::string& error) const {
    if (!ValidateSystemDescription(m_description, error) || !EnsureFolder(m_root, error)) {
        return false;
    }
    const std::string json = FormatSystemDescription(m_description);
    return WriteFile(Join(m_root, kDescriptionFileName),
                     std::vector<uint8_t>(json.begin(), json.end()), error);
}

std::string CVirtualSystem::System32File(const std::string& name) const {
    return Join(System32Folder(m_root), name);
}

bool CVirtualSystem::Activate(std::string& error) {
    uint16_t architecture = 0;
    platform::CodePage codePage;
    if (!ValidateSystemDescription(m_description, error) ||
        !EnsureFolder(System32Folder(m_root), error)) {
        return false;
    }
    ParseArchitecture(m_description.Architecture, architecture);
    platform::ParseCodePage(m_description.CodePage, codePage);
    platform::SetSystemRoot(m_root);
    platform::SetNativeArchitecture(architecture);
    platform::SetAnsiCodePage(codePage);

    m_backend = std::make_unique<CSimBackend>();
    const std::vector<DeviceDescription>& devices = m_description.Devices;
    for (size_t i = 0; i < devices.size(); ++i) {
        const DeviceDescription& device = devices[i];
        SimDevice& added = m_backend->AddDevice(platform::Utf8ToWide(device.FriendlyName));
        CSimCard& card = added.Card;
        if (!m_descriptionFile.empty()) {
            card.SetWatch(CDescriptionWatch(Join(m_root, kDescriptionFileName), device.FriendlyName,
                                            Occurrence(devices, i), m_descriptionFile));
        }
        card.SetInput(device::kInputVga, device.Vga.Signal);
        card.SetInput(device::kInputHdmi, device.Hdmi.Signal);
        for (const std::string& fault : device.Faults) {
            card.Faults().Set(fault, true);
        }
        card.PowerOn();
        // A driver reads its table when it starts; without a valid one it starts empty.
        card.LoadTable(device::kReloadFormatFile);
    }
    return true;
}

bool CreateDefaultSystem(const std::string& rootFolder, std::string& error) {
    const std::string descriptionFile = Join(rootFolder, kDescriptionFileName);
    std::error_code ec;
    if (fs::exists(descriptionFile, ec)) {
        return true;
    }
    const std::string system32 = System32Folder(rootFolder);
    if (!EnsureFolder(system32, error)) {
        return false;
    }
    const std::string table = Join(system32, "format.bin");
    if (!fs::exists(table, ec) && !WriteFile(table, DefaultFormatTableFile(), error)) {
        return false;
    }
    const std::string json = FormatSystemDescription(DefaultSystemDescription());
    return WriteFile(descriptionFile, std::vector<uint8_t>(json.begin(), json.end()), error);
}

}  // namespace sim
