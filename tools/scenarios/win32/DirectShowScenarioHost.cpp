// The Win32 host with the scenario's devices served through the system: the simulated card's
// DLL (vz_simcard.dll) registered as DirectShow video input devices of this machine, found by
// the system device enumerator and bound through COM, as the shipped program finds a real
// card. Everything else is the Win32 host's: real windows, real input, the system's own boxes.
//
// Registration changes the machine's registry (the Wine prefix in CI): one runner at a time per
// machine, and every device it registered is removed when the scenario ends.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "device/directshow/DirectShowBackend.h"
#include "platform/Platform.h"
#include "sim/SystemDescription.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/World.h"

// After the program's own headers, whose names the system's macros would take.
#include <windows.h>

#include "sim/directshow/SimCardFilter.h"

namespace scenarios {

std::unique_ptr<IScenarioHost> MakeWin32ScenarioHost();

namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = platform::Utf8ToWide(utf8);
    return std::wstring(text.begin(), text.end());
}

// Where the DLL is: VZ_SIMCARD_DLL, else beside this program.
std::wstring SimCardDll() {
    wchar_t named[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"VZ_SIMCARD_DLL", named, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        return std::wstring(named, length);
    }
    wchar_t self[MAX_PATH] = {};
    const DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, selfLength < MAX_PATH ? selfLength : 0);
    const size_t slash = path.find_last_of(L"\\/");
    return (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) +
           L"vz_simcard.dll";
}

// Lines a device served through the system cannot play.
std::string CannotServe(const Line& line) {
    if (line.Verb() == "device") {
        for (size_t i = 2; i < line.Size(); ++i) {
            const std::string& arg = line.Arg(i);
            if (arg.rfind("fault=", 0) == 0 && arg.find("property-bag") != std::string::npos) {
                return "the system's enumerator builds every device's property bag from the key "
                       "it lists, so a bag that cannot be opened has no registration to stand "
                       "for it";
            }
        }
    }
    return {};
}

class CDirectShowScenarioHost final : public IScenarioHost, public IDeviceServer {
  public:
    CDirectShowScenarioHost() : m_win32(MakeWin32ScenarioHost()) {}
    ~CDirectShowScenarioHost() override { Withdraw(); }

    const char* Name() const override { return "directshow"; }
    std::string Cannot(const Line& line) const override {
        const std::string why = m_win32->Cannot(line);
        return why.empty() ? CannotServe(line) : why;
    }
    int Run(IScenarioActions& actions, const std::function<int()>& program) override {
        return m_win32->Run(actions, program);
    }
    ui::CDialog* Topmost() const override { return m_win32->Topmost(); }
    const std::vector<ui::MessageBoxRecord>& MessageBoxes() const override {
        return m_win32->MessageBoxes();
    }
    bool Shown(const ui::CDialog& dlg, int id, ShownControl& shown) override {
        return m_win32->Shown(dlg, id, shown);
    }
    bool ShownFocus(const ui::CDialog& dlg, int& id) override {
        return m_win32->ShownFocus(dlg, id);
    }
    bool ShownAccessible(const ui::CDialog& dlg, int id, std::string& name,
                         std::string& description) override {
        return m_win32->ShownAccessible(dlg, id, name, description);
    }
    bool Shoot(const std::string& path, bool nextBox) override {
        return m_win32->Shoot(path, nextBox);
    }
    std::vector<std::string> TakeProblems() override { return m_win32->TakeProblems(); }
    std::string TakeSkipReason() override { return m_win32->TakeSkipReason(); }
    IDeviceServer* DeviceServer() override { return this; }

    // --- IDeviceServer
    device::IDeviceBackend* Serve(const sim::SystemDescription& machine,
                                  const std::string& systemFolder, const std::string& scratch,
                                  std::string& error) override {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            error = "COM cannot be initialised";
            return nullptr;
        }
        m_comInitialised = true;
        const std::wstring dll = SimCardDll();
        m_dll = LoadLibraryW(dll.c_str());
        if (m_dll == nullptr) {
            error = "no " + platform::WideToUtf8(std::u16string(dll.begin(), dll.end())) +
                    " (set VZ_SIMCARD_DLL)";
            return nullptr;
        }
        using Entry = HRESULT(STDAPICALLTYPE*)();
        // Through the generic function type, which a cast to any other function type may take.
        const auto entry = [this](const char* name) {
            return reinterpret_cast<Entry>(
                reinterpret_cast<void (*)()>(GetProcAddress(m_dll, name)));
        };
        const Entry registerServer = entry("DllRegisterServer");
        m_unregister = entry("DllUnregisterServer");
        if (registerServer == nullptr || m_unregister == nullptr) {
            error = "the DLL has no DllRegisterServer";
            return nullptr;
        }
        // The description goes to the card's DLL as a file, as regsvr32 is given one.
        const std::string description = scratch + "\\machine.json";
        std::ofstream(description, std::ios::binary) << sim::FormatSystemDescription(machine);
        std::string folder = systemFolder;
        while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) {
            folder.pop_back();
        }
        SetEnvironmentVariableW(L"VZ_SIMCARD_MACHINE", Wide(description).c_str());
        SetEnvironmentVariableW(L"VZ_SIMCARD_SYSTEM", Wide(folder).c_str());
        const HRESULT registered = registerServer();
        SetEnvironmentVariableW(L"VZ_SIMCARD_MACHINE", nullptr);
        SetEnvironmentVariableW(L"VZ_SIMCARD_SYSTEM", nullptr);
        m_registered = true;
        if (FAILED(registered)) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(registered));
            error = std::string("DllRegisterServer failed with ") + code;
            return nullptr;
        }
        for (size_t i = 0; i < machine.Devices.size(); ++i) {
            const std::wstring instance = SimCardInstance(i);
            m_logs.push_back(scratch + "\\" + std::string(instance.begin(), instance.end()) +
                             ".log");
            const std::vector<std::string>& faults = machine.Devices[i].Faults;
            if (std::find(faults.begin(), faults.end(), "removed") != faults.end()) {
                m_removed.push_back(i);
            }
        }
        m_description = Wide(description);
        m_descriptionFile = description;
        m_backend = std::make_unique<CUnpluggingBackend>(*this);
        return m_backend.get();
    }

    bool PresetChipRegister(uint32_t bus, uint32_t reg, uint8_t value) override {
        using Preset = BOOL(WINAPI*)(const wchar_t*, unsigned, unsigned, unsigned, unsigned);
        const auto preset = reinterpret_cast<Preset>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_dll, "VzSimCardPresetChip")));
        return preset != nullptr && preset(m_description.c_str(), 0, bus, reg, value);
    }

    bool ChipRegister(uint32_t bus, uint32_t reg, uint8_t& value) const override {
        using Read = BOOL(WINAPI*)(const wchar_t*, unsigned, unsigned, unsigned, unsigned char*);
        const auto read = reinterpret_cast<Read>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_dll, "VzSimCardReadChip")));
        unsigned char byte = 0;
        if (read == nullptr || !read(m_description.c_str(), 0, bus, reg, &byte)) {
            return false;
        }
        value = byte;
        return true;
    }

    // The cards in the DLL read the description they started from again at each request, so
    // the file is rewritten; a card pulled out also loses its registration, as the system's
    // goes with a removed card, so the next enumeration lists it no more.
    bool Redescribe(const sim::SystemDescription& present, const std::vector<size_t>& unplugged,
                    std::string& error) override {
        std::ofstream file(m_descriptionFile, std::ios::binary | std::ios::trunc);
        file << sim::FormatSystemDescription(present);
        file.close();
        if (!file) {
            error = "the machine description could not be written";
            return false;
        }
        for (size_t device : unplugged) {
            const std::wstring key =
                std::wstring(kCategoryInstances) + L"\\" + SimCardInstance(device);
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        }
        return true;
    }

    std::vector<std::string> LogLines() const override {
        std::vector<std::string> lines;
        for (const std::string& file : m_logs) {
            std::ifstream in(file);
            for (std::string line; std::getline(in, line);) {
                lines.push_back(line);
            }
        }
        return lines;
    }

  private:
    // The system's enumerator over the registered devices, where a card that is to go away
    // after start-up is unplugged once the program has listed the devices the first time: its
    // instance key goes, as the system's goes when a card is removed.
    class CUnpluggingBackend final : public device::IDeviceBackend {
      public:
        explicit CUnpluggingBackend(CDirectShowScenarioHost& host) : m_host(host) {}
        device::HRESULT CreateSystemDeviceEnum(device::ICreateDevEnum** deviceEnum) override {
            if (m_enumerations++ == 1) {
                m_host.Unplug();
            }
            return m_system.CreateSystemDeviceEnum(deviceEnum);
        }

      private:
        CDirectShowScenarioHost& m_host;
        device::CDirectShowBackend m_system;
        int m_enumerations = 0;
    };

    void Unplug() {
        for (size_t device : m_removed) {
            const std::wstring key =
                std::wstring(kCategoryInstances) + L"\\" + SimCardInstance(device);
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        }
    }

    void Withdraw() {
        m_backend.reset();
        if (m_registered && m_unregister != nullptr) {
            m_unregister();
        }
        // The DLL stays loaded: COM may still hold its class factory until it uninitialises,
        // and the cards it made keep to their own scenario's description.
        if (m_comInitialised) {
            CoUninitialize();
        }
    }

    std::unique_ptr<IScenarioHost> m_win32;
    HMODULE m_dll = nullptr;
    HRESULT(STDAPICALLTYPE* m_unregister)() = nullptr;
    bool m_comInitialised = false;
    bool m_registered = false;
    std::vector<std::string> m_logs;
    std::vector<size_t> m_removed;
    std::wstring m_description;
    std::string m_descriptionFile;
    std::unique_ptr<CUnpluggingBackend> m_backend;
};

}  // namespace

std::unique_ptr<IScenarioHost> MakeDirectShowScenarioHost() {
    return std::make_unique<CDirectShowScenarioHost>();
}

}  // namespace scenarios
