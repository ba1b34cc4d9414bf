#include "FakeCard.h"

#include <cstdio>
#include <cstring>

#include "device/DriverProtocol.h"

namespace timingtest {
namespace {

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

CFakeCard::CFakeCard() {
    SetMeasured(1920, 1080, 3394);
}

void CFakeCard::SetMeasured(uint32_t width, uint32_t height, uint16_t lineCount) {
    fpga[0x4110] = width;
    fpga[0x4114] = height;
    Reg(0x44, 0xB1) = static_cast<uint8_t>(lineCount >> 8);
    Reg(0x44, 0xB2) = static_cast<uint8_t>(lineCount);
}

std::vector<std::string> CFakeCard::Writes() const {
    std::vector<std::string> writes;
    for (const std::string& line : log) {
        if (line.rfind("W ", 0) == 0)
            writes.push_back(line);
    }
    return writes;
}

std::vector<std::string> CFakeCard::ChipRequests() const {
    std::vector<std::string> requests;
    for (const std::string& line : log) {
        if (line.rfind("W ", 0) == 0 || line.rfind("R ", 0) == 0)
            requests.push_back(line);
    }
    return requests;
}

device::HRESULT CFakeCard::QuerySupported(const device::GUID&, uint32_t, uint32_t* support) {
    *support = device::KSPROPERTY_SUPPORT_GET | device::KSPROPERTY_SUPPORT_SET;
    return device::S_OK;
}

device::HRESULT CFakeCard::Get(const device::GUID& set, uint32_t, void* instance, uint32_t,
                               void* data, uint32_t, uint32_t* returned) {
    const auto* in = static_cast<const uint8_t*>(instance);
    auto* out = static_cast<uint8_t*>(data);
    *returned = 0;
    if (set == device::FpgaRegisterPropSet) {
        const uint32_t address = device::GetU32(in + device::kFpgaAddressOffset);
        log.push_back("FPGA " + Hex(address, 4));
        if (failingFpga.count(address) != 0 || fpga.count(address) == 0)
            return device::E_FAIL;
        device::PutU32(out + device::kFpgaValueOffset, fpga[address]);
        return device::S_OK;
    }
    if (set == device::ChipAccessPropSet) {
        const uint32_t bus = device::GetU32(in + device::kChipBusOffset);
        const uint32_t reg = device::GetU32(in + device::kChipRegisterOffset);
        const uint32_t count = device::GetU32(in + device::kChipCountOffset);
        log.push_back("R " + Hex(bus, 2) + "/" + Hex(reg, 2) + (count == 1 ? "" : " x2"));
        if (failingReads.count({bus, reg}) != 0)
            return device::E_FAIL;
        for (uint32_t i = 0; i < count; ++i)
            out[device::kKsPropertySize + i] = Reg(bus, reg + i);
        return device::S_OK;
    }
    if (set == device::DriverControlPropSet) {
        const uint32_t input = device::GetU32(in + device::kStatusInputOffset);
        device::PutU32(out, input == device::kInputVga ? vgaStatus : hdmiStatus);
        return device::S_OK;
    }
    return device::E_FAIL;
}

device::HRESULT CFakeCard::Set(const device::GUID& set, uint32_t, void* instance, uint32_t, void*,
                               uint32_t) {
    const auto* in = static_cast<const uint8_t*>(instance);
    if (set == device::ChipAccessPropSet) {
        const uint32_t bus = device::GetU32(in + device::kChipBusOffset);
        const uint32_t reg = device::GetU32(in + device::kChipRegisterOffset);
        const uint32_t count = device::GetU32(in + device::kChipCountOffset);
        std::string line = "W " + Hex(bus, 2) + "/" + Hex(reg, 2);
        for (uint32_t i = 0; i < count; ++i) {
            Reg(bus, reg + i) = in[i];
            line += " " + Hex(in[i], 2);
        }
        log.push_back(line);
        return device::S_OK;
    }
    if (set == device::DriverControlPropSet) {
        log.push_back("Reload " + std::to_string(in[0]));
        if (onReload)
            onReload(in[0]);
        return reloadFails ? device::E_FAIL : device::S_OK;
    }
    return device::E_FAIL;
}

}  // namespace timingtest
