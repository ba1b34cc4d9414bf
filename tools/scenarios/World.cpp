#include "tools/scenarios/World.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "device/DriverProtocol.h"
#include "platform/Platform.h"
#include "sim/Faults.h"
#include "sim/SimChip.h"
#include "sim/VideoTiming.h"
#include "sim/VirtualSystem.h"

namespace scenarios {
namespace {

// "720x480p60" finds the catalogue's "720x480p59.94": a rate within 0.1 Hz of a standard one is
// taken as that one, as people name NTSC-family rates by their round figure.
const sim::StandardTiming* NearestStandard(const std::string& name) {
    size_t scan = name.find_first_of("pPiI");
    if (scan == std::string::npos)
        return nullptr;
    char* end = nullptr;
    double rate = std::strtod(name.c_str() + scan + 1, &end);
    if (end == name.c_str() + scan + 1 || *end != '\0')
        return nullptr;
    const sim::StandardTiming* best = nullptr;
    double bestGap = 0.1;
    for (const sim::StandardTiming& t : sim::StandardTimings()) {
        size_t tScan = t.Name.find_first_of("pi");
        if (tScan != scan || t.Name.compare(0, scan, name, 0, scan) != 0)
            continue;
        if (std::tolower(static_cast<unsigned char>(name[scan])) != t.Name[tScan])
            continue;
        double standard = std::strtod(t.Name.c_str() + tScan + 1, nullptr);
        double gap = std::fabs(standard - rate);
        // Interlaced timings are also named by their frame rate (1080i30 is 1080i60).
        if (t.Name[tScan] == 'i')
            gap = std::min(gap, std::fabs(standard - 2 * rate));
        if (gap < bestGap) {
            bestGap = gap;
            best = &t;
        }
    }
    return best;
}

// A signal line's SIGNAL: "none", a catalogue name, or the catalogue timing nearest to it.
bool ParseSignal(const std::string& text, sim::InputDescription& input, std::string& error) {
    if (text == "none") {
        input = sim::NoSignal();
        return true;
    }
    if (sim::StandardSignal(text, input))
        return true;
    if (const sim::StandardTiming* near = NearestStandard(text))
        return sim::StandardSignal(near->Name, input);
    error = "unknown signal '" + text + "'";
    return false;
}

}  // namespace

struct ChipPreset {
    uint32_t bus;
    uint8_t reg;
    uint8_t value;
};

struct CWorld::Impl {
    sim::SystemDescription description;
    std::unique_ptr<sim::CVirtualSystem> system;
    std::string error;
    std::vector<std::pair<std::string, std::filesystem::perms>> readOnly;
    std::vector<ChipPreset> chipPresets;
    IDeviceServer* server = nullptr;
    std::string scratch;
    device::IDeviceBackend* served = nullptr;
    std::string serveError;
    std::vector<bool> unplugged;  // by the index of the device's line

    // The index of the first device of that name still plugged in; false with the reason.
    bool Find(const std::string& name, size_t& index, std::string& problem) const {
        for (size_t i = 0; i < description.Devices.size(); ++i) {
            if (description.Devices[i].FriendlyName == name && !unplugged[i]) {
                index = i;
                return true;
            }
        }
        problem = "no device \"" + name + "\" plugged in";
        return false;
    }
    // The devices a served machine still has, after a change.
    bool Redescribe(std::string& problem) {
        if (served == nullptr)
            return true;
        sim::SystemDescription present = description;
        present.Devices.clear();
        std::vector<size_t> gone;
        for (size_t i = 0; i < description.Devices.size(); ++i) {
            if (unplugged[i])
                gone.push_back(i);
            else
                present.Devices.push_back(description.Devices[i]);
        }
        return server->Redescribe(present, gone, problem);
    }
};

CWorld::CWorld() : m_impl(std::make_unique<Impl>()) {}

CWorld::~CWorld() {
    platform::ClearWriteFault();
    // Latest first: a file made read-only inside a folder made read-only is reached again.
    for (auto it = m_impl->readOnly.rbegin(); it != m_impl->readOnly.rend(); ++it) {
        std::error_code ignored;
        std::filesystem::permissions(it->first, it->second, ignored);
    }
}

bool CWorld::MakeReadOnly(const std::string& hostPath, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::perms before = fs::status(hostPath, failed).permissions();
    if (failed || !fs::exists(hostPath)) {
        error = "read-only: no file or folder " + hostPath;
        return false;
    }
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(hostPath, write, fs::perm_options::remove, failed);
    if (failed) {
        error = "read-only: " + failed.message();
        return false;
    }
    m_impl->readOnly.emplace_back(hostPath, before);
    return true;
}

void CWorld::FailWritesAfter(const std::string& hostPath, size_t bytes) {
    platform::SetWriteFault(hostPath, bytes);
}

bool CWorld::PresetChipRegister(uint32_t bus, uint32_t reg, uint8_t value, std::string& error) {
    if (!sim::CSimChip::IsBus(bus) || reg > 0xFF) {
        error = "chip takes bus 0x40 or 0x44 and a register 0 to 0xFF";
        return false;
    }
    m_impl->chipPresets.push_back({bus, static_cast<uint8_t>(reg), value});
    return true;
}

bool CWorld::AddDevice(const std::string& name, const std::string& hdmi, const std::string& vga,
                       const std::vector<std::string>& faults, std::string& error) {
    sim::DeviceDescription device;
    device.FriendlyName = name;
    if (!ParseSignal(hdmi, device.Hdmi, error) || !ParseSignal(vga, device.Vga, error))
        return false;
    for (const std::string& name : faults) {
        if (name == "none")
            continue;  // "fault=none" says in words that the device has no fault
        sim::Fault fault;
        if (!sim::ParseFault(name, fault)) {
            error = "unknown fault '" + name + "'";
            return false;
        }
        device.Faults.push_back(name);
    }
    m_impl->description.Devices.push_back(device);
    m_impl->unplugged.push_back(false);
    return true;
}

bool CWorld::ChangeSignals(const std::string& name, const std::string* hdmi, const std::string* vga,
                           std::string& error) {
    size_t index = 0;
    if (!m_impl->Find(name, index, error))
        return false;
    sim::DeviceDescription& device = m_impl->description.Devices[index];
    if ((hdmi != nullptr && !ParseSignal(*hdmi, device.Hdmi, error)) ||
        (vga != nullptr && !ParseSignal(*vga, device.Vga, error)))
        return false;
    if (m_impl->system && m_impl->system->IsActive() && m_impl->served == nullptr) {
        sim::CSimCard& card = m_impl->system->Card(index);
        card.SetInput(device::kInputHdmi, device.Hdmi.Signal);
        card.SetInput(device::kInputVga, device.Vga.Signal);
    }
    return m_impl->Redescribe(error);
}

bool CWorld::Unplug(const std::string& name, std::string& error) {
    size_t index = 0;
    if (!m_impl->Find(name, index, error))
        return false;
    m_impl->unplugged[index] = true;
    if (m_impl->system && m_impl->system->IsActive() && m_impl->served == nullptr)
        m_impl->system->Card(index).SetUnplugged(true);
    return m_impl->Redescribe(error);
}

void CWorld::ServeDevicesBy(IDeviceServer* server, const std::string& scratch) {
    m_impl->server = server;
    m_impl->scratch = scratch;
}

const std::string& CWorld::ServeError() const {
    return m_impl->serveError;
}

device::IDeviceBackend& CWorld::Backend() {
    if (!m_impl->system) {
        // The machine and code page lines went straight to the platform; the description
        // takes them from there so activating it keeps them.
        sim::SystemDescription& d = m_impl->description;
        d.Architecture =
            platform::NativeProcessorArchitecture() == platform::PROCESSOR_ARCHITECTURE_INTEL
                ? "x86"
                : "amd64";
        switch (platform::AnsiCodePage()) {
            case platform::CodePage::Utf8:
                d.CodePage = "utf-8";
                break;
            case platform::CodePage::Windows1252:
                d.CodePage = "windows-1252";
                break;
            case platform::CodePage::Big5:
                d.CodePage = "big5";
                break;
        }
        m_impl->system = std::make_unique<sim::CVirtualSystem>(platform::SystemRoot(), d);
        m_impl->system->Activate(m_impl->error);
        // Power-on has set every register; the presets are what happened to the card since.
        if (m_impl->system->IsActive() && m_impl->system->DeviceCount() > 0) {
            for (const ChipPreset& preset : m_impl->chipPresets)
                m_impl->system->Card(0).Chip().Write(preset.bus, preset.reg, preset.value);
        }
        if (m_impl->server) {
            m_impl->served = m_impl->server->Serve(d, m_impl->system->System32File(""),
                                                   m_impl->scratch, m_impl->serveError);
            for (const ChipPreset& preset : m_impl->chipPresets) {
                if (m_impl->served &&
                    !m_impl->server->PresetChipRegister(preset.bus, preset.reg, preset.value)) {
                    m_impl->serveError = "the card takes no chip preset";
                }
            }
        }
    }
    // A server that failed leaves the simulated devices, for the failure to be reported.
    return m_impl->served ? *m_impl->served : m_impl->system->Backend();
}

std::vector<std::string> CWorld::LogLines() const {
    if (m_impl->served)
        return m_impl->server->LogLines();
    std::vector<std::string> lines;
    if (!m_impl->system || !m_impl->system->IsActive())
        return lines;
    for (size_t i = 0; i < m_impl->system->DeviceCount(); ++i) {
        const auto& log = m_impl->system->Card(i).Log();
        lines.insert(lines.end(), log.begin(), log.end());
    }
    return lines;
}

bool CWorld::ChipRegister(uint32_t bus, uint32_t reg, uint8_t& value) const {
    if (m_impl->served)
        return m_impl->server->ChipRegister(bus, reg, value);
    if (!m_impl->system || m_impl->system->DeviceCount() == 0 || reg > 0xFF)
        return false;
    if (bus != 0x40 && bus != 0x44)
        return false;
    value = m_impl->system->Card(0).Chip().Read(bus, static_cast<uint8_t>(reg));
    return true;
}

}  // namespace scenarios
