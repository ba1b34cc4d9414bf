// The device link over real DirectShow, with the simulated card registered as video input
// devices (tests/win32/directshow.sh registers it from the description it writes, then runs
// this program; after unregistering it runs it again with "none").
// Usage: vz_directshow_link registered LOGFOLDER | none
#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "device/VideoDevice.h"
#include "device/directshow/DirectShowBackend.h"
#include "tests/win32/Checks.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <objbase.h>
#include <windows.h>

namespace {

using vztest::Check;

const char16_t* const kNames[] = {
    u"Zeriveve HD Capture",  u"Zeriveve HD Capture", u"Get Only Capture", u"No Reload Capture",
    u"Failing Bind Capture", u"Removed Capture",     u"<unreadable>"};
constexpr int kDeviceCount = 7;

// Every moniker of the category, in the enumerator's order.
std::vector<device::CComRef<device::IMoniker>> Monikers(device::IDeviceBackend& backend,
                                                        device::HRESULT* result = nullptr) {
    std::vector<device::CComRef<device::IMoniker>> monikers;
    device::CComRef<device::ICreateDevEnum> devEnum;
    if (device::Failed(backend.CreateSystemDeviceEnum(devEnum.Receive()))) {
        return monikers;
    }
    device::CComRef<device::IEnumMoniker> enumerator;
    const device::HRESULT hr = devEnum->CreateClassEnumerator(
        device::CLSID_VideoInputDeviceCategory, enumerator.Receive(), 0);
    if (result != nullptr) {
        *result = hr;
    }
    if (hr != S_OK || !enumerator) {
        return monikers;
    }
    for (;;) {
        device::CComRef<device::IMoniker> moniker;
        if (enumerator->Next(moniker.Receive()) != S_OK) {
            break;
        }
        monikers.push_back(std::move(moniker));
    }
    return monikers;
}

std::u16string NameOf(device::IMoniker* moniker) {
    device::CComRef<device::IPropertyBag> bag;
    std::u16string name;
    if (device::Failed(moniker->BindToStorage(bag.Receive())) ||
        device::Failed(bag->Read(u"FriendlyName", name))) {
        return u"<unreadable>";
    }
    return name;
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The simulated card's DLL, loaded by COM into this process, counts its live objects: none may
// be left once the device link let go.
bool NothingAlive() {
    HMODULE dll = GetModuleHandleW(L"vz_simcard.dll");
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    const auto canUnload =
        dll == nullptr ? nullptr
                       : reinterpret_cast<CanUnload>(
                             reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllCanUnloadNow")));
    return canUnload != nullptr && canUnload() == S_OK;
}

void Registered(const std::string& logFolder) {
    device::CDirectShowBackend backend;
    std::vector<device::CComRef<device::IMoniker>> monikers = Monikers(backend);
    Check(monikers.size() == kDeviceCount, "every registered device is enumerated");
    bool inOrder = monikers.size() == kDeviceCount;
    for (size_t i = 0; inOrder && i < monikers.size(); ++i) {
        inOrder = NameOf(monikers[i].Get()) == kNames[i];
    }
    Check(inOrder, "in the description's order, by their friendly names");

    {
        device::CVideoDevice video(backend);
        const std::vector<std::string>& list = video.DeviceList();
        Check(list.size() == kDeviceCount && list[0] == "Zeriveve HD Capture" &&
                  list[5] == "Removed Capture" && list[6].empty(),
              "the device list holds the names");
        Check(video.BindByFriendlyName(u"Zeriveve HD Capture") == S_OK,
              "the first of two same-named devices binds");
        std::unique_ptr<device::DeviceHandle> handle =
            video.CreateDeviceHandle(device::kDeviceHandleTag);
        Check(handle != nullptr, "its filter has a property set");
        uint32_t width = 0;
        uint32_t height = 0;
        Check(device::ReadFpgaRegister(handle.get(), 0x4110, &width) == 1 && width == 1920 &&
                  device::ReadFpgaRegister(handle.get(), 0x4114, &height) == 1 && height == 1080,
              "the FPGA reads the HDMI input's 1920x1080");
        uint32_t vga = 9;
        uint32_t hdmi = 9;
        Check(device::QueryInputStatus(handle.get(), device::kInputVga, &vga) == S_OK && vga == 0 &&
                  device::QueryInputStatus(handle.get(), device::kInputHdmi, &hdmi) == S_OK &&
                  hdmi == 1,
              "the input status: VGA without, HDMI with a signal");
        uint8_t pll[2] = {};
        Check(device::ReadChipRegisters(handle.get(), 0x40, 0x16, 2, pll) == 1 && pll[0] == 0x03 &&
                  pll[1] == 0x5A,
              "a chip read gives the power-on PLL ratio");
        const uint8_t offset = 0xFF;
        uint8_t back = 0;
        Check(device::WriteChipRegisters(handle.get(), 0x44, 0x8D, 1, &offset) == 1 &&
                  device::ReadChipRegisters(handle.get(), 0x44, 0x8D, 1, &back) == 1 &&
                  back == 0xFF,
              "a chip write reads back");
        Check(device::ReloadFormatTable(handle.get(), device::kReloadFormatFile),
              "the driver reloads the seeded format.bin from the system folder");
        Check(!device::ReloadFormatTable(handle.get(), device::kReloadTestFile),
              "a missing testformat.bin fails the reload");
        uint32_t support = 0;
        Check(handle->PropertySet->QuerySupported(device::ChipAccessPropSet,
                                                  device::kChipAccessProperty, &support) == S_OK &&
                  support == (device::KSPROPERTY_SUPPORT_GET | device::KSPROPERTY_SUPPORT_SET),
              "QuerySupported passes the support bits through");
        handle.reset();

        const std::vector<std::string> log =
            ReadLines(logFolder + "\\Vuvereze simulated card 000.log");
        const std::vector<std::string> expected = {"GET FPGA 0x4110 -> 0x00000780",
                                                   "GET FPGA 0x4114 -> 0x00000438",
                                                   "GET STATUS 1 -> 0",
                                                   "GET STATUS 2 -> 1",
                                                   "GET CHIP 0x40 0x16 2 -> 0x03 0x5A",
                                                   "SET CHIP 0x44 0x8D 1 0xFF",
                                                   "GET CHIP 0x44 0x8D 1 -> 0xFF",
                                                   "SET RELOAD 1",
                                                   "SET RELOAD 2 FAILED"};
        Check(log == expected, "the request log file holds every request");

        Check(video.BindByFriendlyName(u"Get Only Capture") == S_OK, "the get-only device binds");
        handle = video.CreateDeviceHandle(device::kDeviceHandleTag);
        uint8_t value = 0x12;
        Check(handle != nullptr && device::ReadChipRegisters(handle.get(), 0x40, 0x00, 1, &value) &&
                  value == 0x02,
              "a get-only driver reads");
        Check(handle != nullptr &&
                  !device::WriteChipRegisters(handle.get(), 0x44, 0x8D, 1, &offset) &&
                  !device::ReloadFormatTable(handle.get(), device::kReloadFormatFile),
              "but neither writes nor reloads");
        handle.reset();

        Check(video.BindByFriendlyName(u"No Reload Capture") == S_OK,
              "the device without reload support binds");
        handle = video.CreateDeviceHandle(device::kDeviceHandleTag);
        Check(handle != nullptr &&
                  device::WriteChipRegisters(handle.get(), 0x44, 0x8D, 1, &offset) == 1 &&
                  !device::ReloadFormatTable(handle.get(), device::kReloadFormatFile),
              "it writes the chip but does not reload");
        handle.reset();

        // The name is found, so the bind call succeeds; the filter that failed to load is not
        // kept, and no handle comes of it.
        video.BindByFriendlyName(u"Failing Bind Capture");
        Check(!video.IsBound() && video.CreateDeviceHandle(device::kDeviceHandleTag) == nullptr,
              "a failing binding leaves nothing bound");
    }
    Check(NothingAlive(), "every filter the device link bound is released, failed ones included");

    device::CComRef<device::IBaseFilter> second;
    device::CComRef<device::IKsPropertySet> none;
    Check(monikers.size() > 1 && monikers[1]->BindToObject(second.Receive()) == S_OK &&
              second->QueryInterface(device::IID_IKsPropertySet,
                                     reinterpret_cast<void**>(none.Receive())) == E_NOINTERFACE &&
              !none,
          "the second same-named device binds, and has no property set");
    second.Reset();
    monikers.clear();

    // The device goes away between the listing and the binding, as an unplugged card does.
    device::CVideoDevice video(backend);
    RegDeleteTreeW(HKEY_CLASSES_ROOT,
                   L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance\\"
                   L"Vuvereze simulated card 005");
    Check(video.DeviceList().size() == kDeviceCount, "the removed device was listed");
    Check(video.BindByFriendlyName(u"Removed Capture") == E_FAIL && !video.IsBound(),
          "binding a removed device fails");
    Check(device::CVideoDevice(backend).DeviceList().size() == kDeviceCount - 1,
          "and the next listing lacks it");
    Check(NothingAlive(), "and nothing of it is kept");
}

void None() {
    device::CDirectShowBackend backend;
    device::HRESULT hr = E_FAIL;
    Check(Monikers(backend, &hr).empty() && hr == S_FALSE,
          "an empty category answers S_FALSE and no device");
    Check(device::CVideoDevice(backend).DeviceList().empty(), "the device list is empty");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!(mode == "none" || (mode == "registered" && argc > 2))) {
        std::fprintf(stderr, "usage: vz_directshow_link registered LOGFOLDER | none\n");
        return 2;
    }
    CoInitialize(nullptr);
    if (mode == "none") {
        None();
    } else {
        Registered(argv[2]);
    }
    CoUninitialize();
    return vztest::Summary();
}
