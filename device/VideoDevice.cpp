#include "device/VideoDevice.h"

#include <new>

#include "platform/Platform.h"

namespace device {

namespace {

constexpr char16_t kFriendlyName[] = u"FriendlyName";

// A BSTR may carry a NUL of its own; the name ends there, as it does for the text conversion
// and for the comparison at binding.
std::u16string_view UpToNul(std::u16string_view text) {
    return text.substr(0, text.find(u'\0'));
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string ToDeviceListName(std::u16string_view friendlyName, size_t maxBytes) {
    friendlyName = UpToNul(friendlyName);
    std::string whole = platform::WideToAnsi(friendlyName);
    if (whole.size() <= maxBytes) {
        return whole;
    }
    // Cutting the converted bytes could split a multi-byte character of the code page (a UTF-8
    // sequence or a Big5 pair) and leave a broken name in the device box; converting character
    // by character keeps only whole ones.
    std::string cut;
    size_t i = 0;
    while (i < friendlyName.size()) {
        size_t units = 1;
        if (IsHighSurrogate(friendlyName[i]) && i + 1 < friendlyName.size() &&
            IsLowSurrogate(friendlyName[i + 1])) {
            units = 2;
        }
        const std::string piece = platform::WideToAnsi(friendlyName.substr(i, units));
        if (cut.size() + piece.size() > maxBytes) {
            break;
        }
        cut += piece;
        i += units;
    }
    return cut;
}

CVideoDevice::CVideoDevice(IDeviceBackend& backend) : m_backend(backend) {
    Enumerate();
}

CVideoDevice::~CVideoDevice() = default;

void CVideoDevice::Enumerate() {
    CComRef<ICreateDevEnum> deviceEnum;
    if (m_backend.CreateSystemDeviceEnum(deviceEnum.Receive()) != S_OK || !deviceEnum) {
        return;
    }
    CComRef<IEnumMoniker> monikers;
    if (deviceEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.Receive(), 0) !=
            S_OK ||
        !monikers) {
        return;  // S_FALSE: the category is empty
    }
    monikers->Reset();
    CComRef<IMoniker> moniker;
    while (monikers->Next(moniker.Receive()) == S_OK && moniker) {
        CComRef<IPropertyBag> bag;
        if (Failed(moniker->BindToStorage(bag.Receive())) || !bag) {
            continue;  // a device without a property bag is not listed
        }
        std::u16string friendlyName;
        if (Succeeded(bag->Read(kFriendlyName, friendlyName))) {
            m_deviceList.push_back(ToDeviceListName(friendlyName));
        } else {
            m_deviceList.emplace_back();
        }
    }
}

HRESULT CVideoDevice::BindByFriendlyName(const char16_t* name) {
    if (name == nullptr) {
        return E_POINTER;
    }
    // Whatever happens below, a new request drops the old binding: a handle made earlier must
    // not outlive the choice that made it.
    m_boundFilter.Reset();

    CComRef<ICreateDevEnum> deviceEnum;
    HRESULT hr = m_backend.CreateSystemDeviceEnum(deviceEnum.Receive());
    if (Failed(hr)) {
        return hr;
    }
    if (!deviceEnum) {
        return E_FAIL;
    }
    CComRef<IEnumMoniker> monikers;
    hr = deviceEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.Receive(), 0);
    if (Failed(hr)) {
        return hr;
    }
    if (!monikers) {
        return E_FAIL;
    }

    const std::u16string_view wanted(name);
    monikers->Reset();
    CComRef<IMoniker> moniker;
    while (monikers->Next(moniker.Receive()) == S_OK && moniker) {
        CComRef<IPropertyBag> bag;
        if (Failed(moniker->BindToStorage(bag.Receive())) || !bag) {
            continue;
        }
        std::u16string friendlyName;
        if (Failed(bag->Read(kFriendlyName, friendlyName))) {
            continue;
        }
        if (UpToNul(friendlyName) != wanted) {
            continue;
        }
        // A filter that cannot be bound leaves the object unbound; CreateDeviceHandle reports it.
        IBaseFilter* filter = nullptr;
        if (Succeeded(moniker->BindToObject(&filter))) {
            m_boundFilter.Reset(filter);
        } else if (filter != nullptr) {
            filter->Release();
        }
        return S_OK;
    }
    return E_FAIL;
}

std::unique_ptr<DeviceHandle> CVideoDevice::CreateDeviceHandle(uint32_t tag) {
    if (!m_boundFilter) {
        return nullptr;
    }
    void* object = nullptr;
    if (m_boundFilter->QueryInterface(IID_IKsPropertySet, &object) != S_OK || object == nullptr) {
        return nullptr;
    }
    auto* propertySet = static_cast<IKsPropertySet*>(object);
    // The handle borrows the interface: our reference on the filter keeps it alive.
    propertySet->Release();
    auto* handle = new (std::nothrow) DeviceHandle{propertySet, tag};
    return std::unique_ptr<DeviceHandle>(handle);
}

}  // namespace device
