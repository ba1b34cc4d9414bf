// One simulated capture card with its driver: the three property sets with their exact buffers,
// the chip, the FPGA's measurement registers, the two inputs, the format table the driver works
// from, switchable faults and a log of every request that reaches the driver.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/Com.h"
#include "format/FormatRecord.h"
#include "sim/Faults.h"
#include "sim/SignalModel.h"
#include "sim/SimChip.h"
#include "sim/VideoTiming.h"

namespace sim {

inline constexpr uint32_t kFpgaRevision = 0x4100;
inline constexpr uint32_t kFpgaDetectedWidth = 0x4110;
inline constexpr uint32_t kFpgaDetectedHeight = 0x4114;
inline constexpr uint32_t kFpgaRevisionValue = 0x00010005;
// HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED): what a request to a card that is gone gets.
inline constexpr device::HRESULT kDeviceNotConnected = static_cast<device::HRESULT>(0x8007048F);

class CSimCard {
  public:
    CSimCard() = default;

    // --- The driver's side of IKsPropertySet.
    device::HRESULT QuerySupported(const device::GUID& set, uint32_t id, uint32_t* support) const;
    device::HRESULT Get(const device::GUID& set, uint32_t id, const void* instance,
                        uint32_t instanceSize, void* data, uint32_t dataSize, uint32_t* returned);
    device::HRESULT Set(const device::GUID& set, uint32_t id, const void* instance,
                        uint32_t instanceSize, const void* data, uint32_t dataSize);

    // --- Inputs: 1 VGA, 2 HDMI; nullopt is no signal. The card measures the HDMI input when it
    // carries a signal and the VGA input otherwise.
    void SetInput(uint32_t input, std::optional<VideoTiming> signal);
    const std::optional<VideoTiming>& Input(uint32_t input) const;
    const VideoTiming* MeasuredInput() const;
    Measurement Measure() const { return MeasureInput(MeasuredInput(), m_chip); }

    CSimChip& Chip() { return m_chip; }
    const CSimChip& Chip() const { return m_chip; }
    // Registers to their power-on values; the table and the log stay.
    void PowerOn() { m_chip.PowerOn(); }

    // --- The card on the bus. An unplugged card answers every request with
    // ERROR_DEVICE_NOT_CONNECTED before any driver sees it (no log line), and the device
    // enumerator no longer lists it; plugged back in, it answers as before.
    void SetUnplugged(bool unplugged) { m_unplugged = unplugged; }
    bool Unplugged() const { return m_unplugged; }
    // Called before each request and enumeration: whatever changed at the card since (a cable,
    // the card itself) is put into it there.
    void SetWatch(std::function<void(CSimCard&)> watch) { m_watch = std::move(watch); }
    void Notice() {
        if (m_watch)
            m_watch(*this);
    }

    CFaultSet& Faults() { return m_faults; }
    const CFaultSet& Faults() const { return m_faults; }

    const std::vector<std::string>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }

    // --- The format table the driver works from. Selector 1 reads "format.bin" and 2
    // "testformat.bin" from the System32 folder of the system drive; 0 puts back the table last
    // read with selector 1 (reading "format.bin" when there is none yet). A file that is not a
    // table (length - 2 not a multiple of 124, more than 256 records, more built-in formats than
    // records) is refused and the table stays as it was. This is what a reload request does,
    // without the log line; the driver also does it once when it starts.
    bool LoadTable(uint8_t selector);
    // Where the table files are read: "C:\\Windows\\System32" of the system drive unless a
    // driver served on a real machine names that machine's own system folder.
    void SetSystemFolder(std::string windowsFolder) { m_systemFolder = std::move(windowsFolder); }
    // The raw bytes of the table in use, empty before the first load.
    const std::vector<uint8_t>& LoadedTable() const { return m_loadedTable; }
    // "format.bin" or "testformat.bin": the file the table in use came from; empty before.
    const std::string& LoadedTableFile() const { return m_loadedFile; }
    uint16_t LoadedBuiltinCount() const;
    std::vector<fmt::FormatRecord> LoadedRecords() const;

  private:
    device::HRESULT GetFpga(const uint8_t* instance, uint32_t instanceSize, uint8_t* data,
                            uint32_t dataSize, uint32_t* returned);
    // answer: the Get's data buffer (null for a Set); dataOk: the data buffer has the layout's
    // size.
    device::HRESULT AccessChip(bool write, const uint8_t* instance, uint32_t instanceSize,
                               bool dataOk, uint8_t* answer, uint32_t* returned);
    device::HRESULT GetStatus(const uint8_t* instance, uint32_t instanceSize, uint8_t* data,
                              uint32_t dataSize, uint32_t* returned);
    device::HRESULT SetReload(const uint8_t* instance, uint32_t instanceSize, const uint8_t* data,
                              uint32_t dataSize);
    bool RefusesSet() const { return m_faults.Has(Fault::GetOnly); }

    CSimChip m_chip;
    CFaultSet m_faults;
    bool m_unplugged = false;
    std::function<void(CSimCard&)> m_watch;
    std::optional<VideoTiming> m_vga;
    std::optional<VideoTiming> m_hdmi;
    std::vector<std::string> m_log;
    std::vector<uint8_t> m_loadedTable;
    std::string m_loadedFile;
    std::vector<uint8_t> m_lastFormatTable;
    std::string m_systemFolder = "C:\\Windows\\System32";
};

}  // namespace sim
