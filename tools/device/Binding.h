// Reaching one capture device as the main window does: the device list as its device box shows
// it, and a binding made the way Lock makes it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/VideoDevice.h"

namespace devicetool {

struct ListedDevice {
    std::string Name;  // UTF-8, as the device box shows it (at most 127 bytes of ANSI text)
    size_t EnumerationIndex = 0;
};

// The device box's items: the friendly names in the ANSI code page, sorted as the box sorts
// (by the wide text, ignoring case; equal names in enumeration order).
std::vector<ListedDevice> DeviceBoxList(device::IDeviceBackend& backend);

// Lock waits 1000 ms before it binds.
constexpr uint32_t kLockWaitMs = 1000;

class CBoundDevice {
  public:
    CBoundDevice() = default;
    CBoundDevice(const CBoundDevice&) = delete;
    CBoundDevice& operator=(const CBoundDevice&) = delete;
    // The handle borrows the device's interface, so it goes first.
    ~CBoundDevice() {
        m_handle.reset();
        m_video.reset();
    }

    // As Lock: the devices are enumerated, the wait goes through the platform clock, the name
    // travels through the ANSI code page as the device box's text does (so a name the code page
    // cannot hold binds no better than there) and is cut to 127 code units, and the handle gets
    // the main window's tag. False when no handle could be made.
    bool Bind(device::IDeviceBackend& backend, const std::string& utf8Name);
    const device::DeviceHandle* Handle() const { return m_handle.get(); }

  private:
    std::unique_ptr<device::CVideoDevice> m_video;
    std::unique_ptr<device::DeviceHandle> m_handle;
};

}  // namespace devicetool
