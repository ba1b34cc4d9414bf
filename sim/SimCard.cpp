#include "sim/SimCard.h"

#include <cstdio>
#include <cstring>

#include "device/DeviceBackend.h"
#include "device/DriverProtocol.h"
#include "device/VideoDevice.h"
#include "platform/Platform.h"

namespace sim {

using device::GetU32;
using device::HRESULT;
using device::PutU32;

namespace {

const char* const kFormatFile = "format.bin";
const char* const kTestFile = "testformat.bin";

std::string Hex(const char* format, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool IsTableLayout(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 2 || (bytes.size() - 2) % fmt::kRecordSize != 0) {
        return false;
    }
    const size_t records = (bytes.size() - 2) / fmt::kRecordSize;
    const size_t builtins = bytes[0] | (bytes[1] << 8);
    return records <= fmt::kMaxRecords && builtins <= records;
}

}  // namespace

HRESULT CSimCard::QuerySupported(const device::GUID& set, uint32_t id, uint32_t* support) const {
    using namespace device;
    if (support == nullptr) {
        return E_POINTER;
    }
    *support = 0;
    if (m_unplugged) {
        return kDeviceNotConnected;
    }
    const uint32_t setIfServed = RefusesSet() ? 0 : KSPROPERTY_SUPPORT_SET;
    if (set == FpgaRegisterPropSet) {
        if (id != kFpgaRegisterProperty) {
            return E_PROP_ID_UNSUPPORTED;
        }
        *support = KSPROPERTY_SUPPORT_GET;
    } else if (set == ChipAccessPropSet) {
        if (id != kChipAccessProperty) {
            return E_PROP_ID_UNSUPPORTED;
        }
        *support = KSPROPERTY_SUPPORT_GET | setIfServed;
    } else if (set == DriverControlPropSet) {
        if (id == kInputStatusProperty) {
            *support = KSPROPERTY_SUPPORT_GET;
        } else if (id == kReloadTableProperty && !m_faults.Has(Fault::NoReload)) {
            // A get-only driver claims get for everything it knows and set for nothing.
            *support = RefusesSet() ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET;
        } else {
            return E_PROP_ID_UNSUPPORTED;
        }
    } else {
        return E_PROP_SET_UNSUPPORTED;
    }
    return S_OK;
}

HRESULT CSimCard::Get(const device::GUID& set, uint32_t id, const void* instance,
                      uint32_t instanceSize, void* data, uint32_t dataSize, uint32_t* returned) {
    using namespace device;
    Notice();
    if (m_unplugged) {
        return kDeviceNotConnected;
    }
    const auto* in = static_cast<const uint8_t*>(instance);
    auto* out = static_cast<uint8_t*>(data);
    if (set == FpgaRegisterPropSet && id == kFpgaRegisterProperty) {
        return GetFpga(in, instanceSize, out, dataSize, returned);
    }
    if (set == ChipAccessPropSet && id == kChipAccessProperty) {
        const bool dataOk = out != nullptr && dataSize >= kChipDataSize;
        return AccessChip(false, in, instanceSize, dataOk, out, returned);
    }
    if (set == DriverControlPropSet && id == kInputStatusProperty) {
        return GetStatus(in, instanceSize, out, dataSize, returned);
    }
    m_log.push_back("GET " + GuidToString(set) + " " + std::to_string(id) + " FAILED");
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT CSimCard::Set(const device::GUID& set, uint32_t id, const void* instance,
                      uint32_t instanceSize, const void* data, uint32_t dataSize) {
    using namespace device;
    Notice();
    if (m_unplugged) {
        return kDeviceNotConnected;
    }
    const auto* in = static_cast<const uint8_t*>(instance);
    if (set == ChipAccessPropSet && id == kChipAccessProperty) {
        // The request's own data area carries the bytes; the data buffer is only its copy.
        const bool dataOk = data != nullptr && dataSize >= kChipDataSize;
        return AccessChip(true, in, instanceSize, dataOk, nullptr, nullptr);
    }
    if (set == DriverControlPropSet && id == kReloadTableProperty) {
        return SetReload(in, instanceSize, static_cast<const uint8_t*>(data), dataSize);
    }
    m_log.push_back("SET " + GuidToString(set) + " " + std::to_string(id) + " FAILED");
    return E_PROP_ID_UNSUPPORTED;
}

HRESULT CSimCard::GetFpga(const uint8_t* instance, uint32_t instanceSize, uint8_t* data,
                          uint32_t dataSize, uint32_t* returned) {
    using namespace device;
    if (instance == nullptr || instanceSize < kFpgaInstanceSize) {
        m_log.push_back("GET FPGA FAILED");
        return E_INVALIDARG;
    }
    const uint32_t address = GetU32(instance + kFpgaAddressOffset);
    const std::string line = "GET FPGA " + Hex("0x%04X", address);
    const Measurement m = Measure();
    uint32_t value = 0;
    bool ok = data != nullptr && dataSize >= kFpgaDataSize && GetU32(instance) == 0;
    if (ok) {
        switch (address) {
            case kFpgaRevision:
                value = kFpgaRevisionValue;
                break;
            case kFpgaDetectedWidth:
                ok = !m_faults.Has(Fault::FpgaWidth);
                value = static_cast<uint32_t>(m.Width);
                break;
            case kFpgaDetectedHeight:
                ok = !m_faults.Has(Fault::FpgaHeight);
                value = static_cast<uint32_t>(m.Height);
                break;
            default:
                ok = false;
                break;
        }
    }
    if (!ok) {
        m_log.push_back(line + " FAILED");
        return E_FAIL;
    }
    PutU32(data + kFpgaValueOffset, value);
    if (returned != nullptr) {
        *returned = kFpgaDataSize;
    }
    m_log.push_back(line + " -> " + Hex("0x%08X", value));
    return S_OK;
}

HRESULT CSimCard::AccessChip(bool write, const uint8_t* instance, uint32_t instanceSize,
                             bool dataOk, uint8_t* answer, uint32_t* returned) {
    using namespace device;
    std::string line = write ? "SET CHIP" : "GET CHIP";
    if (instance == nullptr || instanceSize < kChipRequestSize) {
        m_log.push_back(line + " FAILED");
        return E_INVALIDARG;
    }
    const uint32_t bus = GetU32(instance + kChipBusOffset);
    const uint32_t reg = GetU32(instance + kChipRegisterOffset);
    const uint32_t count = GetU32(instance + kChipCountOffset);
    line += " " + Hex("0x%02X", bus) + " " + Hex("0x%02X", reg) + " " + std::to_string(count);
    const bool countOk = count >= 1 && count <= kChipMaxCount;
    if (write && countOk) {
        for (uint32_t i = 0; i < count; ++i) {
            line += " " + Hex("0x%02X", instance[i]);
        }
    }
    const bool wellFormed = countOk && CSimChip::IsBus(bus) && reg < 256 && reg + count <= 256 &&
                            GetU32(instance + kChipOneOffset) == 1 &&
                            GetU32(instance + kChipZeroOffset) == 0 &&
                            GetU32(instance + kChipTagOffset) == kDeviceHandleTag;
    const bool refused = write ? RefusesSet() : m_faults.Has(Fault::ChipRead);
    if (!wellFormed || !dataOk || refused) {
        m_log.push_back(line + " FAILED");
        return wellFormed && dataOk ? E_FAIL : E_INVALIDARG;
    }
    if (write) {
        for (uint32_t i = 0; i < count; ++i) {
            m_chip.Write(bus, static_cast<uint8_t>(reg + i), instance[i]);
        }
        m_log.push_back(line);
        return S_OK;
    }
    m_chip.SetLineLengthCount(Measure().LineLengthCount);
    line += " ->";
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t value = m_chip.Read(bus, static_cast<uint8_t>(reg + i));
        answer[kKsPropertySize + i] = value;
        line += " " + Hex("0x%02X", value);
    }
    if (returned != nullptr) {
        *returned = kChipDataSize;
    }
    m_log.push_back(line);
    return S_OK;
}

HRESULT CSimCard::GetStatus(const uint8_t* instance, uint32_t instanceSize, uint8_t* data,
                            uint32_t dataSize, uint32_t* returned) {
    using namespace device;
    if (instance == nullptr || instanceSize < kStatusInstanceSize) {
        m_log.push_back("GET STATUS FAILED");
        return E_INVALIDARG;
    }
    const uint32_t input = GetU32(instance + kStatusInputOffset);
    const std::string line = "GET STATUS " + std::to_string(input);
    const bool ok = (input == kInputVga || input == kInputHdmi) &&
                    GetU32(instance + kStatusCommandOffset) == kStatusCommand && data != nullptr &&
                    dataSize >= kStatusDataSize && !m_faults.Has(Fault::Status);
    if (!ok) {
        m_log.push_back(line + " FAILED");
        return E_FAIL;
    }
    const uint32_t status = Input(input).has_value() ? 1 : 0;
    PutU32(data, status);
    if (returned != nullptr) {
        *returned = kStatusDataSize;
    }
    m_log.push_back(line + " -> " + std::to_string(status));
    return S_OK;
}

HRESULT CSimCard::SetReload(const uint8_t* instance, uint32_t instanceSize, const uint8_t* data,
                            uint32_t dataSize) {
    using namespace device;
    if (instance == nullptr || instanceSize < kReloadInstanceSize) {
        m_log.push_back("SET RELOAD FAILED");
        return E_INVALIDARG;
    }
    const uint8_t selector = instance[0];
    const std::string line = "SET RELOAD " + std::to_string(selector);
    if (m_faults.Has(Fault::NoReload)) {
        m_log.push_back(line + " FAILED");
        return E_PROP_ID_UNSUPPORTED;
    }
    // The selector comes twice; a request whose two copies disagree is not trusted.
    const bool ok = data != nullptr && dataSize >= kReloadDataSize && data[0] == selector &&
                    !RefusesSet() && LoadTable(selector);
    m_log.push_back(ok ? line : line + " FAILED");
    return ok ? S_OK : E_FAIL;
}

void CSimCard::SetInput(uint32_t input, std::optional<VideoTiming> signal) {
    if (input == device::kInputVga) {
        m_vga = std::move(signal);
    } else if (input == device::kInputHdmi) {
        m_hdmi = std::move(signal);
    }
}

const std::optional<VideoTiming>& CSimCard::Input(uint32_t input) const {
    static const std::optional<VideoTiming> kNone;
    if (input == device::kInputVga) {
        return m_vga;
    }
    if (input == device::kInputHdmi) {
        return m_hdmi;
    }
    return kNone;
}

const VideoTiming* CSimCard::MeasuredInput() const {
    if (m_hdmi) {
        return &*m_hdmi;
    }
    return m_vga ? &*m_vga : nullptr;
}

bool CSimCard::LoadTable(uint8_t selector) {
    if (selector == device::kReloadRestore && !m_lastFormatTable.empty()) {
        m_loadedTable = m_lastFormatTable;
        m_loadedFile = kFormatFile;
        return true;
    }
    const char* name = nullptr;
    if (selector == device::kReloadRestore || selector == device::kReloadFormatFile) {
        name = kFormatFile;
    } else if (selector == device::kReloadTestFile) {
        name = kTestFile;
    } else {
        return false;
    }
    std::vector<uint8_t> bytes;
    const std::string path = platform::HostPath(m_systemFolder + "\\" + name);
    if (!platform::ReadWholeFile(path, bytes) || !IsTableLayout(bytes)) {
        return false;
    }
    if (name == kFormatFile) {
        m_lastFormatTable = bytes;
    }
    m_loadedTable = std::move(bytes);
    m_loadedFile = name;
    return true;
}

uint16_t CSimCard::LoadedBuiltinCount() const {
    if (m_loadedTable.size() < 2) {
        return 0;
    }
    return static_cast<uint16_t>(m_loadedTable[0] | (m_loadedTable[1] << 8));
}

std::vector<fmt::FormatRecord> CSimCard::LoadedRecords() const {
    std::vector<fmt::FormatRecord> records;
    for (size_t at = 2; at + fmt::kRecordSize <= m_loadedTable.size(); at += fmt::kRecordSize) {
        records.push_back(fmt::DecodeRecord(m_loadedTable.data() + at));
    }
    return records;
}

}  // namespace sim
