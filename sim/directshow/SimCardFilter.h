// The filter object of the simulated card: what the system device enumerator binds. It learns
// which card it is from the property bag it is loaded with and then serves that card's driver
// through IKsPropertySet.
#pragma once

#define STRSAFE_NO_DEPRECATE
#include <windows.h>

#include <dshow.h>

#include <cwchar>
#include <string>

// {6F1D3B52-8A47-4C1E-9E2B-5A7C0D94E361}
inline constexpr GUID CLSID_VzSimCardFilter = {
    0x6F1D3B52, 0x8A47, 0x4C1E, {0x9E, 0x2B, 0x5A, 0x7C, 0x0D, 0x94, 0xE3, 0x61}};

// Where a registration puts its devices: one key per device under the video input category,
// named by the device's index, so that the enumerator's alphabetical order is the description's
// and same-named devices stay apart.
inline constexpr const wchar_t* kCategoryInstances =
    L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance";
inline std::wstring SimCardInstance(size_t device) {
    wchar_t number[16] = {};
    std::swprintf(number, 16, L"%03u", static_cast<unsigned>(device));
    return L"Vuvereze simulated card " + std::wstring(number);
}

// The values a registered device's property bag holds beside "FriendlyName".
inline constexpr const wchar_t* kMachineValue = L"SimMachine";  // the description file, or ""
inline constexpr const wchar_t* kDeviceValue = L"SimDevice";    // its index there, in decimal
inline constexpr const wchar_t* kLogValue = L"SimLog";          // the request log file
// The folder the driver reads its tables from, when not the machine's own system folder: the
// system folder of a virtual machine that a test runs the program on.
inline constexpr const wchar_t* kSystemValue = L"SimSystem";

// The machine's own system folder, where a card's driver reads its tables whatever the bitness
// of the program that registered it or binds it: System32, which a 32-bit process on 64-bit
// Windows reaches as Sysnative (its System32 is SysWOW64, which no 64-bit driver reads).
inline std::wstring NativeSystemFolder() {
    wchar_t folder[MAX_PATH] = {};
#if !defined(_WIN64)
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
        const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            return std::wstring(folder, length) + L"\\Sysnative";
        }
    }
#endif
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length)
                                           : std::wstring(L"C:\\Windows\\System32");
}

// Objects alive and locks held, for DllCanUnloadNow.
extern LONG g_serverLocks;

// A new filter with one reference, or null when memory runs out.
IUnknown* NewSimCardFilter();
