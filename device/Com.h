// The few COM notions the device link needs: results, interface ids and reference counting.
// They mirror the Windows definitions value for value, so a DirectShow backend can hand the
// system's own results and interfaces through without translation, while the portable core
// never sees a Windows header.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace device {

using HRESULT = int32_t;

// windows.h defines these as macros with the same values; where it has already been included
// (only ever inside a Windows backend), its macros stand in for ours.
#ifndef S_OK
inline constexpr HRESULT S_OK = 0;
#endif
#ifndef S_FALSE
inline constexpr HRESULT S_FALSE = 1;
#endif
#ifndef E_FAIL
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
#endif
#ifndef E_POINTER
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
#endif
#ifndef E_NOINTERFACE
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
#endif
#ifndef E_INVALIDARG
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
#endif
#ifndef E_OUTOFMEMORY
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
#endif
// HRESULT_FROM_WIN32 of ERROR_SET_NOT_FOUND and ERROR_NOT_FOUND: what kernel streaming answers
// for a property set, or a property id, that the driver does not serve.
inline constexpr HRESULT E_PROP_SET_UNSUPPORTED = static_cast<HRESULT>(0x80070492);
inline constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490);

inline constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

inline bool operator==(const GUID& a, const GUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

// "{62BE5D10-60EB-11D0-BD3B-00A0C911CE86}"
std::string GuidToString(const GUID& guid);

// Interface ids of the COM interfaces the device link uses.
inline constexpr GUID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID IID_ICreateDevEnum = {
    0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr GUID IID_IEnumMoniker = {
    0x00000102, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID IID_IMoniker = {
    0x0000000F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID IID_IPropertyBag = {
    0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr GUID IID_IBaseFilter = {
    0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr GUID IID_IKsPropertySet = {
    0x31EFAC30, 0x515C, 0x11D0, {0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93}};

// The system device enumerator and the category of video input devices.
inline constexpr GUID CLSID_SystemDeviceEnum = {
    0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr GUID CLSID_VideoInputDeviceCategory = {
    0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

// Reference counting as COM does it: an object starts with one reference, owned by whoever
// received it, and deletes itself when the last one is released.
class IUnknown {
  public:
    static constexpr const GUID& kIid = IID_IUnknown;
    virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

  protected:
    virtual ~IUnknown() = default;
};

// Owns one reference to a COM object and releases it when it goes.
template <class T>
class CComRef {
  public:
    CComRef() = default;
    explicit CComRef(T* adopted) : m_p(adopted) {}
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    CComRef(CComRef&& other) noexcept : m_p(other.Detach()) {}
    CComRef& operator=(CComRef&& other) noexcept {
        if (this != &other) {
            Reset(other.Detach());
        }
        return *this;
    }
    ~CComRef() { Reset(); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Releases what is held and hands out the slot for an out parameter.
    T** Receive() {
        Reset();
        return &m_p;
    }
    void Reset(T* adopted = nullptr) {
        T* old = m_p;
        m_p = adopted;
        if (old != nullptr) {
            old->Release();
        }
    }
    T* Detach() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

  private:
    T* m_p = nullptr;
};

// Base of every object a backend (or a test) implements: the reference count and a
// QueryInterface that answers for each of the listed interfaces and IUnknown.
template <class... Interfaces>
class CComObject : public Interfaces... {
  public:
    CComObject() = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    uint32_t AddRef() override { return ++m_refs; }
    uint32_t Release() override {
        const uint32_t left = --m_refs;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        bool found = false;
        if (iid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(static_cast<First*>(this));
            found = true;
        } else {
            found = (Offer<Interfaces>(iid, object) || ...);
        }
        if (!found) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    uint32_t RefCount() const { return m_refs; }

  protected:
    ~CComObject() override = default;

  private:
    template <class I>
    bool Offer(const GUID& iid, void** object) {
        if (!(iid == I::kIid)) {
            return false;
        }
        *object = static_cast<I*>(this);
        return true;
    }

    template <class F, class...>
    struct FirstOf {
        using Type = F;
    };
    using First = typename FirstOf<Interfaces...>::Type;

    uint32_t m_refs = 1;
};

}  // namespace device
