#include "sim/SimBackend.h"

namespace sim {

using namespace device;

namespace {

using DeviceList = std::vector<std::shared_ptr<SimDevice>>;

class CSimFilter final : public CComObject<IBaseFilter, IKsPropertySet> {
  public:
    explicit CSimFilter(std::shared_ptr<SimDevice> device) : m_device(std::move(device)) {}

    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (iid == IID_IKsPropertySet && m_device->Card.Faults().Has(Fault::NoPropertySet)) {
            if (object != nullptr) {
                *object = nullptr;
            }
            return E_NOINTERFACE;
        }
        return CComObject::QueryInterface(iid, object);
    }

    HRESULT Set(const GUID& set, uint32_t id, void* instance, uint32_t instanceSize, void* data,
                uint32_t dataSize) override {
        return m_device->Card.Set(set, id, instance, instanceSize, data, dataSize);
    }
    HRESULT Get(const GUID& set, uint32_t id, void* instance, uint32_t instanceSize, void* data,
                uint32_t dataSize, uint32_t* returned) override {
        return m_device->Card.Get(set, id, instance, instanceSize, data, dataSize, returned);
    }
    HRESULT QuerySupported(const GUID& set, uint32_t id, uint32_t* support) override {
        return m_device->Card.QuerySupported(set, id, support);
    }

  private:
    std::shared_ptr<SimDevice> m_device;
};

class CSimPropertyBag final : public CComObject<IPropertyBag> {
  public:
    explicit CSimPropertyBag(std::shared_ptr<SimDevice> device) : m_device(std::move(device)) {}

    HRESULT Read(const char16_t* propertyName, std::u16string& value) override {
        if (propertyName == nullptr) {
            return E_POINTER;
        }
        if (std::u16string_view(propertyName) != u"FriendlyName" ||
            m_device->Card.Faults().Has(Fault::FriendlyName)) {
            return E_FAIL;
        }
        value = m_device->FriendlyName;
        return S_OK;
    }

  private:
    std::shared_ptr<SimDevice> m_device;
};

class CSimMoniker final : public CComObject<IMoniker> {
  public:
    explicit CSimMoniker(std::shared_ptr<SimDevice> device) : m_device(std::move(device)) {}

    HRESULT BindToStorage(IPropertyBag** bag) override {
        if (bag == nullptr) {
            return E_POINTER;
        }
        *bag = nullptr;
        if (m_device->Card.Faults().Has(Fault::PropertyBag)) {
            return E_FAIL;
        }
        *bag = new CSimPropertyBag(m_device);
        return S_OK;
    }

    HRESULT BindToObject(IBaseFilter** filter) override {
        if (filter == nullptr) {
            return E_POINTER;
        }
        *filter = nullptr;
        if (m_device->Card.Faults().Has(Fault::Bind)) {
            return E_FAIL;
        }
        *filter = new CSimFilter(m_device);
        return S_OK;
    }

  private:
    std::shared_ptr<SimDevice> m_device;
};

class CSimEnumMoniker final : public CComObject<IEnumMoniker> {
  public:
    explicit CSimEnumMoniker(DeviceList devices) : m_devices(std::move(devices)) {}

    HRESULT Next(IMoniker** moniker) override {
        if (moniker == nullptr) {
            return E_POINTER;
        }
        *moniker = nullptr;
        if (m_next >= m_devices.size()) {
            return S_FALSE;
        }
        *moniker = new CSimMoniker(m_devices[m_next++]);
        return S_OK;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

  private:
    DeviceList m_devices;
    size_t m_next = 0;
};

class CSimDevEnum final : public CComObject<ICreateDevEnum> {
  public:
    explicit CSimDevEnum(DeviceList devices) : m_devices(std::move(devices)) {}

    HRESULT CreateClassEnumerator(const GUID& category, IEnumMoniker** enumerator,
                                  uint32_t /*flags*/) override {
        if (enumerator == nullptr) {
            return E_POINTER;
        }
        *enumerator = nullptr;
        if (!(category == CLSID_VideoInputDeviceCategory)) {
            return S_FALSE;  // the machine has no devices of other categories
        }
        // The snapshot is taken now, as the system takes it when the enumerator is made.
        DeviceList present;
        for (const auto& device : m_devices) {
            device->Card.Notice();
            if (device->Card.Unplugged() ||
                (device->Enumerated && device->Card.Faults().Has(Fault::Removed))) {
                continue;
            }
            device->Enumerated = true;
            present.push_back(device);
        }
        if (present.empty()) {
            return S_FALSE;
        }
        *enumerator = new CSimEnumMoniker(std::move(present));
        return S_OK;
    }

  private:
    DeviceList m_devices;
};

}  // namespace

SimDevice& CSimBackend::AddDevice(std::u16string friendlyName) {
    auto device = std::make_shared<SimDevice>();
    device->FriendlyName = std::move(friendlyName);
    m_devices.push_back(device);
    return *device;
}

HRESULT CSimBackend::CreateSystemDeviceEnum(ICreateDevEnum** deviceEnum) {
    if (deviceEnum == nullptr) {
        return E_POINTER;
    }
    *deviceEnum = new CSimDevEnum(m_devices);
    return S_OK;
}

}  // namespace sim
