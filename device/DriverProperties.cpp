#include "device/DriverProperties.h"

#include <array>
#include <cstring>

#include "device/DriverProtocol.h"

namespace device {

namespace {

// The driver is asked first whether it serves the request at all; its answer's HRESULT does not
// matter, only the support word, which starts at 0 so a driver that ignores the call says no.
bool Supports(IKsPropertySet* propertySet, const GUID& set, uint32_t id, uint32_t need) {
    uint32_t support = 0;
    propertySet->QuerySupported(set, id, &support);
    return (support & need) != 0;
}

IKsPropertySet* PropertySetOf(const DeviceHandle* handle) {
    return handle == nullptr ? nullptr : handle->PropertySet;
}

template <size_t InstanceSize>
std::array<uint8_t, kKsPropertySize + InstanceSize> HeaderPlus(
    const std::array<uint8_t, InstanceSize>& instance) {
    std::array<uint8_t, kKsPropertySize + InstanceSize> data = {};
    std::memcpy(data.data() + kKsPropertySize, instance.data(), InstanceSize);
    return data;
}

std::array<uint8_t, kChipRequestSize> ChipRequest(uint32_t bus, uint32_t reg, uint32_t count,
                                                  uint32_t tag) {
    std::array<uint8_t, kChipRequestSize> request = {};
    PutU32(&request[kChipBusOffset], bus);
    PutU32(&request[kChipRegisterOffset], reg);
    PutU32(&request[kChipOneOffset], 1);
    PutU32(&request[kChipCountOffset], count);
    PutU32(&request[kChipZeroOffset], 0);
    PutU32(&request[kChipTagOffset], tag);
    return request;
}

}  // namespace

int ReadFpgaRegister(const DeviceHandle* handle, uint32_t address, uint32_t* value) {
    IKsPropertySet* propertySet = PropertySetOf(handle);
    if (propertySet == nullptr || value == nullptr) {
        return 0;
    }
    if (!Supports(propertySet, FpgaRegisterPropSet, kFpgaRegisterProperty,
                  KSPROPERTY_SUPPORT_GET)) {
        return 0;
    }
    std::array<uint8_t, kFpgaInstanceSize> instance = {};
    PutU32(&instance[kFpgaAddressOffset], address);
    auto data = HeaderPlus(instance);
    uint32_t returned = 0;
    const HRESULT hr = propertySet->Get(FpgaRegisterPropSet, kFpgaRegisterProperty, instance.data(),
                                        instance.size(), data.data(), data.size(), &returned);
    if (Failed(hr)) {
        return 0;
    }
    *value = GetU32(&data[kFpgaValueOffset]);
    return 1;
}

int ReadChipRegisters(const DeviceHandle* handle, uint32_t bus, uint32_t reg, uint32_t count,
                      uint8_t* bytes) {
    IKsPropertySet* propertySet = PropertySetOf(handle);
    // The answer is copied out of the request's 256-byte data area; a larger count would read
    // past it, and 0 asks for nothing.
    if (propertySet == nullptr || bytes == nullptr || count == 0 || count > kChipMaxCount) {
        return 0;
    }
    if (!Supports(propertySet, ChipAccessPropSet, kChipAccessProperty, KSPROPERTY_SUPPORT_GET)) {
        return 0;
    }
    auto instance = ChipRequest(bus, reg, count, handle->Tag);
    auto data = HeaderPlus(instance);
    uint32_t returned = 0;
    const HRESULT hr = propertySet->Get(ChipAccessPropSet, kChipAccessProperty, instance.data(),
                                        instance.size(), data.data(), data.size(), &returned);
    if (Failed(hr)) {
        return 0;
    }
    std::memcpy(bytes, data.data() + kKsPropertySize, count);
    return 1;
}

int WriteChipRegisters(const DeviceHandle* handle, uint32_t bus, uint32_t reg, uint32_t count,
                       const uint8_t* bytes) {
    IKsPropertySet* propertySet = PropertySetOf(handle);
    if (propertySet == nullptr || bytes == nullptr || count == 0 || count > kChipMaxCount) {
        return 0;
    }
    if (!Supports(propertySet, ChipAccessPropSet, kChipAccessProperty, KSPROPERTY_SUPPORT_SET)) {
        return 0;
    }
    auto instance = ChipRequest(bus, reg, count, handle->Tag);
    std::memcpy(instance.data(), bytes, count);
    auto data = HeaderPlus(instance);
    const HRESULT hr = propertySet->Set(ChipAccessPropSet, kChipAccessProperty, instance.data(),
                                        instance.size(), data.data(), data.size());
    return Failed(hr) ? 0 : 1;
}

HRESULT QueryInputStatus(const DeviceHandle* handle, uint32_t input, uint32_t* status) {
    IKsPropertySet* propertySet = PropertySetOf(handle);
    if (propertySet == nullptr || status == nullptr) {
        return E_FAIL;
    }
    if (!Supports(propertySet, DriverControlPropSet, kInputStatusProperty,
                  KSPROPERTY_SUPPORT_GET)) {
        return E_FAIL;
    }
    std::array<uint8_t, kStatusInstanceSize> instance = {};
    PutU32(&instance[kStatusInputOffset], input);
    PutU32(&instance[kStatusCommandOffset], kStatusCommand);
    std::array<uint8_t, kStatusDataSize> data = {};
    PutU32(data.data(), *status);
    uint32_t returned = 0;
    const HRESULT hr = propertySet->Get(DriverControlPropSet, kInputStatusProperty, instance.data(),
                                        instance.size(), data.data(), data.size(), &returned);
    if (Failed(hr)) {
        return E_FAIL;
    }
    *status = GetU32(data.data());
    return S_OK;
}

const char* const kMsgReloadFail = "ReLoad file is fail!";

bool ReloadFormatTable(const DeviceHandle* handle, uint8_t selector) {
    IKsPropertySet* propertySet = PropertySetOf(handle);
    if (propertySet == nullptr) {
        return false;
    }
    if (!Supports(propertySet, DriverControlPropSet, kReloadTableProperty,
                  KSPROPERTY_SUPPORT_SET)) {
        return false;
    }
    std::array<uint8_t, kReloadInstanceSize> instance = {};
    instance[0] = selector;
    std::array<uint8_t, kReloadDataSize> data = {selector};
    const HRESULT hr = propertySet->Set(DriverControlPropSet, kReloadTableProperty, instance.data(),
                                        instance.size(), data.data(), data.size());
    return Succeeded(hr);
}

}  // namespace device
