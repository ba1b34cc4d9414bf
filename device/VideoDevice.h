// The video input devices of the machine: their friendly names for the device box, binding one
// by name, and the handle through which every driver request is made.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceBackend.h"

namespace device {

// The tag the main window gives every handle; the driver expects it in each chip request.
inline constexpr uint32_t kDeviceHandleTag = 0x4B4F4C54;

// The bound filter's property-set interface and the tag of the chip requests. The interface is
// borrowed from the CVideoDevice's reference on the bound filter: the handle must go before that
// CVideoDevice is destroyed or binds again.
struct DeviceHandle {
    IKsPropertySet* PropertySet = nullptr;
    uint32_t Tag = 0;
};

class CVideoDevice {
  public:
    // A device list entry holds at most this many bytes of ANSI text.
    static constexpr size_t kMaxNameBytes = 127;

    // Enumerates the video input devices; never fails (the list may be empty).
    explicit CVideoDevice(IDeviceBackend& backend);
    virtual ~CVideoDevice();
    CVideoDevice(const CVideoDevice&) = delete;
    CVideoDevice& operator=(const CVideoDevice&) = delete;

    // The friendly names in the ANSI code page, in the order the enumerator returned them.
    const std::vector<std::string>& DeviceList() const { return m_deviceList; }

    // Unbinds, then binds the first device (in enumeration order) whose friendly name equals
    // name code unit for code unit. E_POINTER for a null name, E_FAIL when nothing matches.
    HRESULT BindByFriendlyName(const char16_t* name);

    // A handle on the bound filter's property set; none when nothing is bound or the filter
    // has no property set.
    std::unique_ptr<DeviceHandle> CreateDeviceHandle(uint32_t tag);

    bool IsBound() const { return static_cast<bool>(m_boundFilter); }

  private:
    void Enumerate();

    IDeviceBackend& m_backend;
    CComRef<IBaseFilter> m_boundFilter;
    std::vector<std::string> m_deviceList;
};

// A friendly name as the device list holds it: converted to the ANSI code page and, when longer
// than maxBytes, cut after the last whole character that fits.
std::string ToDeviceListName(std::u16string_view friendlyName,
                             size_t maxBytes = CVideoDevice::kMaxNameBytes);

}  // namespace device
