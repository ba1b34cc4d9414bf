#include "tools/device/Binding.h"

#include <algorithm>

#include "platform/Platform.h"

namespace devicetool {
namespace {

// The sort key of a sorted combo box: the wide text with ASCII and Latin-1 capitals lowered.
std::u16string SortKey(const std::string& ansiText) {
    std::u16string key = platform::AnsiToWide(ansiText);
    for (char16_t& c : key) {
        const bool asciiUpper = c >= u'A' && c <= u'Z';
        const bool latin1Upper = c >= 0xC0 && c <= 0xDE && c != 0xD7;
        if (asciiUpper || latin1Upper)
            c = static_cast<char16_t>(c + 0x20);
    }
    return key;
}

}  // namespace

std::vector<ListedDevice> DeviceBoxList(device::IDeviceBackend& backend) {
    const device::CVideoDevice video(backend);
    const std::vector<std::string>& names = video.DeviceList();
    std::vector<size_t> order(names.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return SortKey(names[a]) < SortKey(names[b]); });
    std::vector<ListedDevice> listed;
    for (size_t i : order)
        listed.push_back({platform::AnsiToUtf8(names[i]), i});
    return listed;
}

bool CBoundDevice::Bind(device::IDeviceBackend& backend, const std::string& utf8Name) {
    m_handle.reset();
    m_video = std::make_unique<device::CVideoDevice>(backend);
    platform::Sleep(kLockWaitMs);
    std::u16string name = platform::AnsiToWide(platform::Utf8ToAnsi(utf8Name));
    if (name.size() > device::CVideoDevice::kMaxNameBytes)
        name.resize(device::CVideoDevice::kMaxNameBytes);
    m_video->BindByFriendlyName(name.c_str());
    m_handle = m_video->CreateDeviceHandle(device::kDeviceHandleTag);
    return m_handle != nullptr;
}

}  // namespace devicetool
