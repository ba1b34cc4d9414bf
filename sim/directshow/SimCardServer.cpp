// vz_simcard.dll, the in-process server: its class factory, and the registration of one video
// input device per device of a machine description, all served by the one filter class, whose
// object learns its card from the property bag the enumerator loads it with.
//
// The description is the file named by the environment variable VZ_SIMCARD_MACHINE when
// regsvr32 runs, else "machine.json" beside the DLL, else the default machine. Each device's
// requests are appended to "<instance>.log" beside the description (beside the DLL for the
// default machine). A machine without a "format.bin" in its system folder gets the one of the
// description's folder (Windows/System32/format.bin there) or the default one, as a driver's
// installation brings its table; an existing table is never touched.
#include "sim/SystemDescription.h"
#include "sim/VirtualSystem.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/directshow/SimCardFilter.h"

namespace {

HMODULE g_module = nullptr;

std::wstring GuidText(REFGUID guid) {
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return text;
}

std::wstring ModulePath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}

std::wstring FolderOf(const std::wstring& file) {
    const size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : file.substr(0, slash);
}

bool FileExists(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Widen(const std::string& utf8) {
    const std::u16string wide = platform::Utf8ToWide(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(const std::wstring& text) {
    return platform::WideToUtf8(std::u16string(text.begin(), text.end()));
}

// Where the description comes from; an empty name is the default machine.
// VZ_SIMCARD_SYSTEM names the system folder of a virtual machine; empty for the real one.
std::wstring SystemFolderOverride() {
    wchar_t named[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"VZ_SIMCARD_SYSTEM", named, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(named, length) : std::wstring();
}

std::wstring DescriptionFile() {
    wchar_t named[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"VZ_SIMCARD_MACHINE", named, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        wchar_t full[MAX_PATH] = {};
        const DWORD fullLength = GetFullPathNameW(named, MAX_PATH, full, nullptr);
        return fullLength > 0 && fullLength < MAX_PATH ? std::wstring(full, fullLength)
                                                       : std::wstring(named, length);
    }
    const std::wstring beside = FolderOf(ModulePath()) + L"\\machine.json";
    return FileExists(beside) ? beside : std::wstring();
}

bool ReadDescription(const std::wstring& file, sim::SystemDescription& description) {
    if (file.empty()) {
        description = sim::DefaultSystemDescription();
        return true;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!platform::ReadWholeFile(Narrow(file), bytes)) {
        return false;
    }
    return sim::ParseSystemDescription(
               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
               description, error) &&
           sim::ValidateSystemDescription(description, error);
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool RegisterServerClass() {
    const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_VzSimCardFilter);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, (clsidKey + L"\\InprocServer32").c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool ok =
        SetText(key, nullptr, ModulePath()) && SetText(key, L"ThreadingModel", L"Apartment");
    RegCloseKey(key);
    return ok;
}

// The instance names of our devices: the enumerator lists by this name, so a running number
// keeps the description's order and tells same-named devices apart.
std::vector<std::wstring> OurInstances() {
    std::vector<std::wstring> names;
    HKEY instances = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kCategoryInstances, 0, KEY_READ, &instances) !=
        ERROR_SUCCESS) {
        return names;
    }
    const std::wstring ours = GuidText(CLSID_VzSimCardFilter);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        if (RegEnumKeyExW(instances, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        wchar_t clsid[64] = {};
        DWORD size = sizeof clsid - sizeof(wchar_t);
        if (RegGetValueW(instances, name, L"CLSID", RRF_RT_REG_SZ, nullptr, clsid, &size) ==
                ERROR_SUCCESS &&
            lstrcmpiW(clsid, ours.c_str()) == 0) {
            names.emplace_back(name);
        }
    }
    RegCloseKey(instances);
    return names;
}

HRESULT UnregisterAll() {
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper));
    for (const std::wstring& name : OurInstances()) {
        if (mapper != nullptr) {
            mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, name.c_str(),
                                     CLSID_VzSimCardFilter);
        }
        // What the mapper left (or all of it, without a mapper) goes by hand.
        RegDeleteTreeW(HKEY_CLASSES_ROOT,
                       (std::wstring(kCategoryInstances) + L"\\" + name).c_str());
    }
    if (mapper != nullptr) {
        mapper->Release();
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(CLSID_VzSimCardFilter)).c_str());
    return OurInstances().empty() ? S_OK : (FAILED(hr) ? hr : E_FAIL);
}

bool WriteWholeFile(const std::wstring& file, const std::vector<uint8_t>& bytes) {
    FILE* out = _wfopen(file.c_str(), L"wbx");
    if (out == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

void SeedFormatTable(const std::wstring& descriptionFile) {
    const std::wstring target = NativeSystemFolder() + L"\\format.bin";
    if (FileExists(target)) {
        return;
    }
    std::vector<uint8_t> bytes;
    const std::wstring beside = FolderOf(descriptionFile) + L"\\Windows\\System32\\format.bin";
    if (descriptionFile.empty() || !platform::ReadWholeFile(Narrow(beside), bytes)) {
        bytes = sim::DefaultFormatTableFile();
    }
    if (!WriteWholeFile(target, bytes)) {
        DeleteFileW(target.c_str());
    }
}

HRESULT RegisterAll() {
    const std::wstring file = DescriptionFile();
    sim::SystemDescription description;
    if (!ReadDescription(file, description)) {
        return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    }
    // A registration replaces the last one whole, so a shorter description leaves no stale
    // device behind.
    UnregisterAll();
    if (!RegisterServerClass()) {
        return SELFREG_E_CLASS;
    }
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper));
    if (FAILED(hr) || mapper == nullptr) {
        UnregisterAll();
        return FAILED(hr) ? hr : E_FAIL;
    }
    const std::wstring logFolder = file.empty() ? FolderOf(ModulePath()) : FolderOf(file);
    const std::wstring system = SystemFolderOverride();
    for (size_t i = 0; i < description.Devices.size() && SUCCEEDED(hr); ++i) {
        const std::wstring instance = SimCardInstance(i);
        const std::wstring name = Widen(description.Devices[i].FriendlyName);
        REGFILTER2 filter{};
        filter.dwVersion = 1;
        filter.dwMerit = MERIT_DO_NOT_USE;
        filter.cPins = 0;
        filter.rgPins = nullptr;
        IMoniker* moniker = nullptr;
        hr = mapper->RegisterFilter(CLSID_VzSimCardFilter, name.c_str(), &moniker,
                                    &CLSID_VideoInputDeviceCategory, instance.c_str(), &filter);
        if (moniker != nullptr) {
            moniker->Release();
        }
        if (FAILED(hr)) {
            break;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT,
                          (std::wstring(kCategoryInstances) + L"\\" + instance).c_str(), 0,
                          KEY_WRITE, &key) != ERROR_SUCCESS) {
            hr = SELFREG_E_CLASS;
            break;
        }
        if (!SetText(key, kMachineValue, file) || !SetText(key, kDeviceValue, std::to_wstring(i)) ||
            !SetText(key, kLogValue, logFolder + L"\\" + instance + L".log") ||
            (!system.empty() && !SetText(key, kSystemValue, system))) {
            hr = SELFREG_E_CLASS;
        }
        // A device whose name cannot be read: the enumerator's property bag has no such value.
        const std::vector<std::string>& faults = description.Devices[i].Faults;
        if (SUCCEEDED(hr) &&
            std::find(faults.begin(), faults.end(), "friendly-name") != faults.end() &&
            RegDeleteValueW(key, L"FriendlyName") != ERROR_SUCCESS) {
            hr = SELFREG_E_CLASS;
        }
        RegCloseKey(key);
    }
    mapper->Release();
    if (FAILED(hr)) {
        UnregisterAll();
        return hr;
    }
    // A virtual machine's system folder holds what its owner put there, a missing table included.
    if (system.empty()) {
        SeedFormatTable(file);
    }
    return hr;
}

class CClassFactory final : public IClassFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One factory for the life of the module; its references are the server's locks.
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&g_serverLocks); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&g_serverLocks); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        IUnknown* filter = NewSimCardFilter();
        if (filter == nullptr) {
            return E_OUTOFMEMORY;
        }
        const HRESULT hr = filter->QueryInterface(iid, object);
        filter->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            InterlockedIncrement(&g_serverLocks);
        } else {
            InterlockedDecrement(&g_serverLocks);
        }
        return S_OK;
    }
};

CClassFactory g_factory;

// regsvr32 calls in without COM started for us.
class CComScope {
  public:
    CComScope() : m_hr(CoInitialize(nullptr)) {}
    ~CComScope() {
        if (SUCCEEDED(m_hr)) {
            CoUninitialize();
        }
    }

  private:
    HRESULT m_hr;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (clsid != CLSID_VzSimCardFilter) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    CComScope com;
    return RegisterAll();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    CComScope com;
    return UnregisterAll();
}
