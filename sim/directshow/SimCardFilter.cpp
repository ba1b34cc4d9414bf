// The simulated card's filter. The sim's headers come before the Windows ones: these define
// S_OK and its kin as macros of the same values, after the device link's constants.
#include "device/DriverProtocol.h"
#include "sim/DescriptionWatch.h"
#include "sim/SimCard.h"
#include "sim/SystemDescription.h"
#include "sim/VirtualSystem.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/directshow/SimCardFilter.h"

LONG g_serverLocks = 0;

namespace {

// A card keeps its registers, table and log for as long as the process lives, as a real card
// does while the program binds its filter again.
struct SharedCard {
    sim::CSimCard Card;
    std::wstring LogFile;
    size_t LoggedLines = 0;
};

std::map<std::wstring, std::shared_ptr<SharedCard>>& Cards() {
    static std::map<std::wstring, std::shared_ptr<SharedCard>> cards;
    return cards;
}

struct ChipPreset {
    uint32_t Bus;
    uint8_t Register;
    uint8_t Value;
};

// What a test did to a card's chip before the program first binds it, by card key.
std::map<std::wstring, std::vector<ChipPreset>>& ChipPresets() {
    static std::map<std::wstring, std::vector<ChipPreset>> presets;
    return presets;
}

// The key of a device's card: its description file, as the registration wrote it, and its index.
std::wstring CardKey(const std::wstring& machine, const std::wstring& index) {
    return machine + L"|" + index;
}

std::wstring CardKey(const wchar_t* machine, unsigned device) {
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(machine, MAX_PATH, full, nullptr);
    return CardKey(length > 0 && length < MAX_PATH ? std::wstring(full, length) : machine,
                   std::to_wstring(device));
}

device::GUID ToDevice(REFGUID guid) {
    device::GUID out;
    std::memcpy(&out, &guid, sizeof out);
    return out;
}

bool ReadText(IPropertyBag* bag, const wchar_t* name, std::wstring& value) {
    VARIANT var;
    VariantInit(&var);
    var.vt = VT_BSTR;
    const HRESULT hr = bag->Read(name, &var, nullptr);
    const bool ok = SUCCEEDED(hr) && var.vt == VT_BSTR;
    if (ok) {
        value.assign(var.bstrVal != nullptr ? var.bstrVal : L"",
                     var.bstrVal != nullptr ? SysStringLen(var.bstrVal) : 0);
    }
    VariantClear(&var);
    return ok;
}

std::string Narrow(const std::wstring& text) {
    return platform::WideToUtf8(std::u16string(text.begin(), text.end()));
}

bool ReadDescription(const std::wstring& file, sim::SystemDescription& description,
                     std::vector<uint8_t>& bytes) {
    if (file.empty()) {
        description = sim::DefaultSystemDescription();
        return true;
    }
    std::string error;
    return platform::ReadWholeFile(Narrow(file), bytes) &&
           sim::ParseSystemDescription(
               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
               description, error) &&
           sim::ValidateSystemDescription(description, error);
}

// The card a device's bag names, made and started on its first bind in this process.
std::shared_ptr<SharedCard> CardFor(IPropertyBag* bag) {
    std::wstring machine;
    std::wstring index;
    std::wstring log;
    if (!ReadText(bag, kMachineValue, machine) || !ReadText(bag, kDeviceValue, index)) {
        return nullptr;
    }
    ReadText(bag, kLogValue, log);
    std::wstring system;
    ReadText(bag, kSystemValue, system);
    const std::wstring key = CardKey(machine, index);
    auto found = Cards().find(key);
    if (found != Cards().end()) {
        return found->second;
    }
    sim::SystemDescription description;
    std::vector<uint8_t> bytes;
    wchar_t* end = nullptr;
    const unsigned long at = std::wcstoul(index.c_str(), &end, 10);
    if (index.empty() || *end != L'\0' || !ReadDescription(machine, description, bytes) ||
        at >= description.Devices.size()) {
        return nullptr;
    }
    const sim::DeviceDescription& entry = description.Devices[at];
    auto card = std::make_shared<SharedCard>();
    card->LogFile = log;
    card->Card.SetSystemFolder(Narrow(system.empty() ? NativeSystemFolder() : system));
    card->Card.SetInput(device::kInputVga, entry.Vga.Signal);
    card->Card.SetInput(device::kInputHdmi, entry.Hdmi.Signal);
    for (const std::string& fault : entry.Faults) {
        card->Card.Faults().Set(fault, true);
    }
    card->Card.PowerOn();
    card->Card.LoadTable(device::kReloadFormatFile);
    // The card follows its description while it runs, as a card follows its cables: a test
    // that edits the file pulls a cable or plugs in another source.
    if (!machine.empty()) {
        card->Card.SetWatch(sim::CDescriptionWatch(Narrow(machine), entry.FriendlyName,
                                                   sim::Occurrence(description.Devices, at),
                                                   std::move(bytes)));
    }
    for (const ChipPreset& preset : ChipPresets()[key]) {
        card->Card.Chip().Write(preset.Bus, preset.Register, preset.Value);
    }
    Cards()[key] = card;
    return card;
}

// Appends the log lines not yet written: the file is the card's log as a test reads it, and
// survives the process.
void FlushLog(SharedCard& card) {
    const std::vector<std::string>& log = card.Card.Log();
    if (card.LogFile.empty() || card.LoggedLines >= log.size()) {
        return;
    }
    FILE* file = _wfopen(card.LogFile.c_str(), L"ab");
    if (file == nullptr) {
        return;
    }
    for (; card.LoggedLines < log.size(); ++card.LoggedLines) {
        std::fprintf(file, "%s\n", log[card.LoggedLines].c_str());
    }
    std::fclose(file);
}

class CSimCardFilter final : public IBaseFilter, public IPersistPropertyBag, public IKsPropertySet {
  public:
    CSimCardFilter() { InterlockedIncrement(&g_serverLocks); }
    CSimCardFilter(const CSimCardFilter&) = delete;
    CSimCardFilter& operator=(const CSimCardFilter&) = delete;

    // --- IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
            iid == IID_IBaseFilter) {
            *object = static_cast<IBaseFilter*>(this);
        } else if (iid == IID_IPersistPropertyBag) {
            *object = static_cast<IPersistPropertyBag*>(this);
        } else if (iid == IID_IKsPropertySet && m_card != nullptr &&
                   !m_card->Card.Faults().Has(sim::Fault::NoPropertySet)) {
            *object = static_cast<IKsPropertySet*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = InterlockedDecrement(&m_refs);
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // --- IPersist, IMediaFilter, IBaseFilter: a capture filter that never streams.
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        if (clsid == nullptr) {
            return E_POINTER;
        }
        *clsid = CLSID_VzSimCardFilter;
        return S_OK;
    }
    STDMETHODIMP Stop() override {
        m_state = State_Stopped;
        return S_OK;
    }
    STDMETHODIMP Pause() override {
        m_state = State_Paused;
        return S_OK;
    }
    STDMETHODIMP Run(REFERENCE_TIME) override {
        m_state = State_Running;
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override {
        if (state == nullptr) {
            return E_POINTER;
        }
        *state = m_state;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock*) override { return S_OK; }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override {
        if (clock == nullptr) {
            return E_POINTER;
        }
        *clock = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumPins(IEnumPins** pins) override {
        if (pins != nullptr) {
            *pins = nullptr;
        }
        return E_NOTIMPL;
    }
    STDMETHODIMP FindPin(LPCWSTR, IPin** pin) override {
        if (pin != nullptr) {
            *pin = nullptr;
        }
        return VFW_E_NOT_FOUND;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override {
        if (info == nullptr) {
            return E_POINTER;
        }
        lstrcpynW(info->achName, m_name.c_str(), MAX_FILTER_NAME);
        info->pGraph = nullptr;
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph*, LPCWSTR name) override {
        m_name = name != nullptr ? name : L"";
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }

    // --- IPersistPropertyBag: the enumerator hands over the device's bag when it binds.
    STDMETHODIMP InitNew() override { return S_OK; }
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog*) override {
        if (bag == nullptr) {
            return E_POINTER;
        }
        std::shared_ptr<SharedCard> card = CardFor(bag);
        if (card == nullptr) {
            return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
        }
        // A device that fails to bind fails here, the one step of binding the filter has.
        if (card->Card.Faults().Has(sim::Fault::Bind)) {
            return E_FAIL;
        }
        m_card = std::move(card);
        return S_OK;
    }
    STDMETHODIMP Save(IPropertyBag*, BOOL, BOOL) override { return E_NOTIMPL; }

    // --- IKsPropertySet: the driver, buffers passed as they are.
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize) override {
        const HRESULT hr =
            m_card->Card.Set(ToDevice(set), id, instance, instanceSize, data, dataSize);
        FlushLog(*m_card);
        return hr;
    }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize, DWORD* returned) override {
        uint32_t got = 0;
        const HRESULT hr = m_card->Card.Get(ToDevice(set), id, instance, instanceSize, data,
                                            dataSize, returned != nullptr ? &got : nullptr);
        if (returned != nullptr) {
            *returned = got;
        }
        FlushLog(*m_card);
        return hr;
    }
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
        uint32_t got = 0;
        const HRESULT hr =
            m_card->Card.QuerySupported(ToDevice(set), id, support != nullptr ? &got : nullptr);
        if (support != nullptr) {
            *support = got;
        }
        return hr;
    }

  private:
    ~CSimCardFilter() { InterlockedDecrement(&g_serverLocks); }

    LONG m_refs = 1;
    FILTER_STATE m_state = State_Stopped;
    std::wstring m_name;
    std::shared_ptr<SharedCard> m_card;
};

}  // namespace

IUnknown* NewSimCardFilter() {
    return static_cast<IBaseFilter*>(new (std::nothrow) CSimCardFilter());
}

// --- For tests that load the DLL into their own process: the chip of a card as a test sets it
// up before the program binds it, and as the program left it.
extern "C" BOOL WINAPI VzSimCardPresetChip(const wchar_t* machine, unsigned device, unsigned bus,
                                           unsigned reg, unsigned value) {
    if (machine == nullptr || !sim::CSimChip::IsBus(bus) || reg > 0xFF || value > 0xFF) {
        return FALSE;
    }
    ChipPresets()[CardKey(machine, device)].push_back(
        {bus, static_cast<uint8_t>(reg), static_cast<uint8_t>(value)});
    return TRUE;
}

extern "C" BOOL WINAPI VzSimCardReadChip(const wchar_t* machine, unsigned device, unsigned bus,
                                         unsigned reg, unsigned char* value) {
    if (machine == nullptr || value == nullptr || !sim::CSimChip::IsBus(bus) || reg > 0xFF) {
        return FALSE;
    }
    auto found = Cards().find(CardKey(machine, device));
    if (found == Cards().end()) {
        return FALSE;
    }
    *value = found->second->Card.Chip().Read(bus, static_cast<uint8_t>(reg));
    return TRUE;
}
