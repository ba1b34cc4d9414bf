// The platform operations that reach the capture devices: the system device enumerator, its
// monikers and property bags, the capture filter and the filter's property-set interface. Each
// interface is the same-named COM interface cut down to the calls the device link makes, with
// the same arguments and results, so that on Windows a backend only forwards to the real object
// and elsewhere (the simulated card) implements them itself. See device/README.md.
#pragma once

#include <cstdint>
#include <string>

#include "device/Com.h"

namespace device {

// KSPROPERTY_SUPPORT_GET and KSPROPERTY_SUPPORT_SET: the bits of QuerySupported's support word.
inline constexpr uint32_t KSPROPERTY_SUPPORT_GET = 1;
inline constexpr uint32_t KSPROPERTY_SUPPORT_SET = 2;

// Kernel-streaming property requests on raw byte buffers, passed to the driver as they are.
class IKsPropertySet : public IUnknown {
  public:
    static constexpr const GUID& kIid = IID_IKsPropertySet;
    virtual HRESULT Set(const GUID& propertySet, uint32_t id, void* instance, uint32_t instanceSize,
                        void* data, uint32_t dataSize) = 0;
    virtual HRESULT Get(const GUID& propertySet, uint32_t id, void* instance, uint32_t instanceSize,
                        void* data, uint32_t dataSize, uint32_t* returned) = 0;
    virtual HRESULT QuerySupported(const GUID& propertySet, uint32_t id, uint32_t* support) = 0;
};

// The capture filter. The device link asks it only for its other interfaces.
class IBaseFilter : public IUnknown {
  public:
    static constexpr const GUID& kIid = IID_IBaseFilter;
};

// A device's property bag; the device link reads "FriendlyName" (VT_BSTR on Windows).
class IPropertyBag : public IUnknown {
  public:
    static constexpr const GUID& kIid = IID_IPropertyBag;
    virtual HRESULT Read(const char16_t* propertyName, std::u16string& value) = 0;
};

// One device of a category. Both binds are made without a bind context or a left moniker.
class IMoniker : public IUnknown {
  public:
    static constexpr const GUID& kIid = IID_IMoniker;
    virtual HRESULT BindToStorage(IPropertyBag** bag) = 0;
    virtual HRESULT BindToObject(IBaseFilter** filter) = 0;
};

// Next hands out one moniker at a time: S_OK with a moniker, S_FALSE when exhausted.
class IEnumMoniker : public IUnknown {
  public:
    static constexpr const GUID& kIid = IID_IEnumMoniker;
    virtual HRESULT Next(IMoniker** moniker) = 0;
    virtual HRESULT Reset() = 0;
};

// S_FALSE with no enumerator means the category holds no device.
class ICreateDevEnum : public IUnknown {
  public:
    static constexpr const GUID& kIid = IID_ICreateDevEnum;
    virtual HRESULT CreateClassEnumerator(const GUID& category, IEnumMoniker** enumerator,
                                          uint32_t flags) = 0;
};

// What a backend provides: the system device enumerator (CoCreateInstance of
// CLSID_SystemDeviceEnum for ICreateDevEnum on Windows). Everything else is reached from there.
class IDeviceBackend {
  public:
    virtual ~IDeviceBackend() = default;
    virtual HRESULT CreateSystemDeviceEnum(ICreateDevEnum** deviceEnum) = 0;
};

}  // namespace device
