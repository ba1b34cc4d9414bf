// A simulated Windows machine kept in a folder: the folder is its system drive C: (so its
// "format.bin" is Windows/System32/format.bin there) and holds the machine's description,
// "machine.json". Activating it makes the platform layer and the device link see that machine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/DeviceBackend.h"
#include "format/FormatRecord.h"
#include "sim/SimBackend.h"
#include "sim/SystemDescription.h"

namespace sim {

inline constexpr const char* kDescriptionFileName = "machine.json";

class CVirtualSystem {
  public:
    CVirtualSystem(std::string rootFolder, SystemDescription description);
    CVirtualSystem(const CVirtualSystem&) = delete;
    CVirtualSystem& operator=(const CVirtualSystem&) = delete;

    // Reads rootFolder/machine.json. A folder without one gets the default machine first (the
    // description and, when missing, its "format.bin").
    static std::unique_ptr<CVirtualSystem> Open(const std::string& rootFolder, std::string& error);

    // Writes the description to rootFolder/machine.json.
    bool Save(std::string& error) const;

    // Makes this machine the one the program runs on: the system drive, the native
    // architecture and the ANSI code page of the platform layer, and a fresh backend whose
    // devices are those of the description, powered on, their drivers having loaded
    // "format.bin" (when there is a valid one). Creates Windows/System32 when missing. Cards of
    // an earlier activation are left to whoever still holds their objects. A machine opened
    // from its folder keeps watching its description: an edit of machine.json reaches the
    // cards while the machine runs (sim/DescriptionWatch.h).
    bool Activate(std::string& error);
    bool IsActive() const { return m_backend != nullptr; }

    const std::string& Root() const { return m_root; }
    // Host path of a file in the System32 folder of this machine.
    std::string System32File(const std::string& name) const;
    const SystemDescription& Description() const { return m_description; }
    // Changes take effect at the next Activate.
    SystemDescription& Description() { return m_description; }

    // Valid after Activate.
    device::IDeviceBackend& Backend() { return *m_backend; }
    CSimBackend& SimBackend() { return *m_backend; }
    size_t DeviceCount() const { return m_backend ? m_backend->DeviceCount() : 0; }
    CSimCard& Card(size_t index) { return m_backend->Card(index); }

  private:
    std::string m_root;
    SystemDescription m_description;
    std::vector<uint8_t> m_descriptionFile;  // as read by Open; empty: nothing to watch
    std::unique_ptr<CSimBackend> m_backend;
};

// --- The default machine.

// Two capture cards, enumerated as "Zeriveve HD Capture" (HDMI 1920x1080p60, VGA none) and then
// "Zeriveve Analog Capture" (VGA 1280x1024p60, HDMI none): the device box sorts them the other
// way round. 64-bit (amd64), code page UTF-8.
SystemDescription DefaultSystemDescription();

// The "format.bin" shipped with the driver: standard VESA and CEA-861 formats as built-ins
// (tags "_vesa_support" and "_cea_support") and a few user formats ("_autogr_support").
std::vector<uint8_t> DefaultFormatTableFile();

// A record for a timing, its register values derived the way the timing editor derives them
// and its measurement fields those the card measures for that timing.
fmt::FormatRecord RecordFromTiming(const VideoTiming& timing, const char* tag, uint32_t enabled);

// Writes the default machine into rootFolder: the description when missing, and the default
// "format.bin" when the description was missing and there is no such file.
bool CreateDefaultSystem(const std::string& rootFolder, std::string& error);

}  // namespace sim
