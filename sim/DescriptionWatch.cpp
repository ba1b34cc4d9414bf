#include "sim/DescriptionWatch.h"

#include <string_view>

#include "device/DriverProtocol.h"
#include "platform/Platform.h"
#include "sim/SystemDescription.h"

namespace sim {

CDescriptionWatch::CDescriptionWatch(std::string file, std::string friendlyName, size_t occurrence,
                                     std::vector<uint8_t> seen)
    : m_file(std::move(file)),
      m_name(std::move(friendlyName)),
      m_occurrence(occurrence),
      m_seen(std::move(seen)) {}

void CDescriptionWatch::operator()(CSimCard& card) {
    // The whole file each time: a description is small, and two edits within the file
    // system's time stamp resolution must not look like one.
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(m_file, bytes) || bytes == m_seen)
        return;
    SystemDescription description;
    std::string error;
    const std::string_view json(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ParseSystemDescription(json, description, error) ||
        !ValidateSystemDescription(description, error))
        return;
    m_seen = std::move(bytes);
    size_t occurrence = 0;
    for (const DeviceDescription& device : description.Devices) {
        if (device.FriendlyName != m_name || occurrence++ != m_occurrence)
            continue;
        card.SetUnplugged(false);
        card.SetInput(device::kInputVga, device.Vga.Signal);
        card.SetInput(device::kInputHdmi, device.Hdmi.Signal);
        return;
    }
    card.SetUnplugged(true);
}

size_t Occurrence(const std::vector<DeviceDescription>& devices, size_t index) {
    size_t same = 0;
    for (size_t i = 0; i < index && i < devices.size(); ++i) {
        if (devices[i].FriendlyName == devices[index].FriendlyName)
            ++same;
    }
    return same;
}

}  // namespace sim
