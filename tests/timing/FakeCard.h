// The card's driver as the editor's tests need it: chip registers on both buses, the FPGA's
// detected size, the two inputs' status and reload requests, with switchable failures and a
// log of every request in a form a test can read ("R 44/8B", "W 40/16 E8 98", "Reload 2").
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "device/Com.h"
#include "device/DeviceBackend.h"

namespace timingtest {

class CFakeCard final : public device::CComObject<device::IKsPropertySet> {
  public:
    CFakeCard();

    uint8_t& Reg(uint32_t bus, uint32_t reg) {
        return (bus == 0x40 ? m_bus40 : m_bus44)[reg & 0xFF];
    }
    // The input the FPGA and the chip measure.
    void SetMeasured(uint32_t width, uint32_t height, uint16_t lineCount);

    std::map<uint32_t, uint32_t> fpga;
    std::set<uint32_t> failingFpga;
    std::set<std::pair<uint32_t, uint32_t>> failingReads;  // bus, first register
    uint32_t vgaStatus = 0;
    uint32_t hdmiStatus = 0;
    bool reloadFails = false;
    std::function<void(uint8_t)> onReload;

    std::vector<std::string> log;
    // Only the writes of the log, in order.
    std::vector<std::string> Writes() const;
    // Only the chip requests (reads and writes) of the log, in order.
    std::vector<std::string> ChipRequests() const;

    device::HRESULT QuerySupported(const device::GUID& set, uint32_t id,
                                   uint32_t* support) override;
    device::HRESULT Get(const device::GUID& set, uint32_t id, void* instance, uint32_t instanceSize,
                        void* data, uint32_t dataSize, uint32_t* returned) override;
    device::HRESULT Set(const device::GUID& set, uint32_t id, void* instance, uint32_t instanceSize,
                        void* data, uint32_t dataSize) override;

  private:
    std::array<uint8_t, 256> m_bus40 = {};
    std::array<uint8_t, 256> m_bus44 = {};
};

// A machine without capture devices: the main window is given its handle by the test.
class CNoDevices final : public device::IDeviceBackend {
  public:
    device::HRESULT CreateSystemDeviceEnum(device::ICreateDevEnum** deviceEnum) override {
        *deviceEnum = nullptr;
        return device::E_FAIL;
    }
};

}  // namespace timingtest
