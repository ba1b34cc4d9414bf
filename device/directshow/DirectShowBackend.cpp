// Each wrapper owns one reference on the system's object and gives it back in its destructor;
// a wrapper is made only once the system's call has succeeded, so a failure leaves nothing held.
// The device link's headers come first: the Windows headers then define S_OK, E_FAIL and
// KSPROPERTY_SUPPORT_GET as macros of the same values, which leaves the link's own constants
// unused here rather than rewritten by the preprocessor.
#include "device/directshow/DirectShowBackend.h"

#include <cstring>
#include <new>
#include <string>

#define STRSAFE_NO_DEPRECATE
#include <windows.h>

#include <dshow.h>

namespace device {
namespace {

::GUID ToWindows(const GUID& guid) {
    static_assert(sizeof(::GUID) == sizeof(GUID));
    ::GUID out;
    std::memcpy(&out, &guid, sizeof out);
    return out;
}

// Holds a reference on a system object until it goes.
template <class T>
class CHeld {
  public:
    explicit CHeld(T* adopted) : m_p(adopted) {}
    CHeld(const CHeld&) = delete;
    CHeld& operator=(const CHeld&) = delete;
    ~CHeld() {
        if (m_p != nullptr) {
            m_p->Release();
        }
    }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    // The reference goes to whoever took it over.
    void Forget() { m_p = nullptr; }

  private:
    T* m_p;
};

// Hands the system's object that a call answered with `hr` to a new wrapper in *out. When the
// call gave no object (`found` false, or none) the caller's result is `missing` unless the call
// failed; whatever the system handed out is given back on every path but success.
template <class Wrapper, class Real, class Ours>
HRESULT Adopt(bool found, HRESULT hr, Real* real, Ours** out, HRESULT missing) {
    CHeld<Real> held(real);
    if (!found || real == nullptr) {
        return FAILED(hr) ? hr : missing;
    }
    auto* wrapped = new (std::nothrow) Wrapper(real);
    if (wrapped == nullptr) {
        return E_OUTOFMEMORY;
    }
    held.Forget();  // the wrapper holds it now
    *out = wrapped;
    return S_OK;
}

class CKsPropertySet final : public CComObject<IKsPropertySet> {
  public:
    explicit CKsPropertySet(::IKsPropertySet* set) : m_set(set) {}

    HRESULT Set(const GUID& propertySet, uint32_t id, void* instance, uint32_t instanceSize,
                void* data, uint32_t dataSize) override {
        return m_set->Set(ToWindows(propertySet), id, instance, instanceSize, data, dataSize);
    }
    HRESULT Get(const GUID& propertySet, uint32_t id, void* instance, uint32_t instanceSize,
                void* data, uint32_t dataSize, uint32_t* returned) override {
        DWORD got = 0;
        const HRESULT hr = m_set->Get(ToWindows(propertySet), id, instance, instanceSize, data,
                                      dataSize, returned != nullptr ? &got : nullptr);
        if (returned != nullptr) {
            *returned = got;
        }
        return hr;
    }
    HRESULT QuerySupported(const GUID& propertySet, uint32_t id, uint32_t* support) override {
        DWORD got = 0;
        const HRESULT hr =
            m_set->QuerySupported(ToWindows(propertySet), id, support != nullptr ? &got : nullptr);
        if (support != nullptr) {
            *support = got;
        }
        return hr;
    }

  private:
    CHeld<::IKsPropertySet> m_set;
};

// The device link asks the filter for its property set and nothing else; any other interface
// is refused, since a wrapper for it does not exist. The property set's wrapper is made once
// and kept with the filter: as on the system's own object, every QueryInterface hands out the
// same interface, which lives as long as the filter does (the device handle relies on that).
class CBaseFilter final : public CComObject<IBaseFilter> {
  public:
    explicit CBaseFilter(::IBaseFilter* filter) : m_filter(filter) {}

    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (!(iid == IID_IKsPropertySet)) {
            return CComObject<IBaseFilter>::QueryInterface(iid, object);
        }
        if (!m_propertySet) {
            ::IKsPropertySet* set = nullptr;
            const HRESULT hr =
                m_filter->QueryInterface(::IID_IKsPropertySet, reinterpret_cast<void**>(&set));
            IKsPropertySet* wrapped = nullptr;
            const HRESULT made =
                Adopt<CKsPropertySet>(SUCCEEDED(hr), hr, set, &wrapped, E_NOINTERFACE);
            if (FAILED(made)) {
                return made;
            }
            m_propertySet.Reset(wrapped);
        }
        m_propertySet->AddRef();
        *object = static_cast<IKsPropertySet*>(m_propertySet.Get());
        return S_OK;
    }

  private:
    CHeld<::IBaseFilter> m_filter;
    CComRef<IKsPropertySet> m_propertySet;
};

class CPropertyBag final : public CComObject<IPropertyBag> {
  public:
    explicit CPropertyBag(::IPropertyBag* bag) : m_bag(bag) {}

    HRESULT Read(const char16_t* propertyName, std::u16string& value) override {
        if (propertyName == nullptr) {
            return E_POINTER;
        }
        VARIANT var;
        VariantInit(&var);
        var.vt = VT_BSTR;
        const HRESULT hr =
            m_bag->Read(reinterpret_cast<const wchar_t*>(propertyName), &var, nullptr);
        if (FAILED(hr)) {
            VariantClear(&var);
            return hr;
        }
        // A bag may answer with another type than asked for; only text is a name.
        if (var.vt != VT_BSTR) {
            VariantClear(&var);
            return E_FAIL;
        }
        const wchar_t* text = var.bstrVal;
        value.assign(reinterpret_cast<const char16_t*>(text != nullptr ? text : L""),
                     text != nullptr ? SysStringLen(var.bstrVal) : 0);
        VariantClear(&var);
        return S_OK;
    }

  private:
    CHeld<::IPropertyBag> m_bag;
};

class CMoniker final : public CComObject<IMoniker> {
  public:
    explicit CMoniker(::IMoniker* moniker) : m_moniker(moniker) {}

    HRESULT BindToStorage(IPropertyBag** bag) override {
        return Bind<::IPropertyBag, CPropertyBag>(bag, [this](void** out) {
            return m_moniker->BindToStorage(nullptr, nullptr, ::IID_IPropertyBag, out);
        });
    }
    HRESULT BindToObject(IBaseFilter** filter) override {
        return Bind<::IBaseFilter, CBaseFilter>(filter, [this](void** out) {
            return m_moniker->BindToObject(nullptr, nullptr, ::IID_IBaseFilter, out);
        });
    }

  private:
    template <class Real, class Wrapper, class Ours, class Call>
    static HRESULT Bind(Ours** out, Call call) {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        Real* real = nullptr;
        const HRESULT hr = call(reinterpret_cast<void**>(&real));
        return Adopt<Wrapper>(SUCCEEDED(hr), hr, real, out, E_FAIL);
    }

    CHeld<::IMoniker> m_moniker;
};

class CEnumMoniker final : public CComObject<IEnumMoniker> {
  public:
    explicit CEnumMoniker(::IEnumMoniker* enumerator) : m_enum(enumerator) {}

    HRESULT Next(IMoniker** moniker) override {
        if (moniker == nullptr) {
            return E_POINTER;
        }
        *moniker = nullptr;
        ::IMoniker* real = nullptr;
        const HRESULT hr = m_enum->Next(1, &real, nullptr);
        return Adopt<CMoniker>(hr == S_OK, hr, real, moniker, S_FALSE);
    }
    HRESULT Reset() override { return m_enum->Reset(); }

  private:
    CHeld<::IEnumMoniker> m_enum;
};

class CCreateDevEnum final : public CComObject<ICreateDevEnum> {
  public:
    explicit CCreateDevEnum(::ICreateDevEnum* deviceEnum) : m_devEnum(deviceEnum) {}

    HRESULT CreateClassEnumerator(const GUID& category, IEnumMoniker** enumerator,
                                  uint32_t flags) override {
        if (enumerator == nullptr) {
            return E_POINTER;
        }
        *enumerator = nullptr;
        ::IEnumMoniker* real = nullptr;
        const HRESULT hr = m_devEnum->CreateClassEnumerator(ToWindows(category), &real, flags);
        // S_FALSE is the empty category, answered with no enumerator (or, by some systems,
        // with one that lists nothing); either way the caller sees S_FALSE and none.
        return Adopt<CEnumMoniker>(hr == S_OK, hr, real, enumerator, S_FALSE);
    }

  private:
    CHeld<::ICreateDevEnum> m_devEnum;
};

}  // namespace

HRESULT CDirectShowBackend::CreateSystemDeviceEnum(ICreateDevEnum** deviceEnum) {
    if (deviceEnum == nullptr) {
        return E_POINTER;
    }
    *deviceEnum = nullptr;
    ::ICreateDevEnum* real = nullptr;
    const HRESULT hr = CoCreateInstance(::CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                        ::IID_ICreateDevEnum, reinterpret_cast<void**>(&real));
    return Adopt<CCreateDevEnum>(SUCCEEDED(hr), hr, real, deviceEnum, E_FAIL);
}

}  // namespace device
