// Vuvereze.exe: the Win32 host, the Windows platform layer and the machine's capture devices,
// reached through DirectShow.
#include <string>

#include "app/VuverezeApp.h"
#include "device/directshow/DirectShowBackend.h"
#include "platform/Platform.h"
#include "ui/Dialog.h"
#include "ui/win32/Win32Host.h"

#include <objbase.h>

namespace {

// The executable's base name titles every message box, as the framework does it.
std::string ModuleBaseName() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        name.erase(0, slash + 1);
    }
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) {
        name.erase(dot);
    }
    return name.empty() ? std::string("Vuvereze") : ui::FromWide(name);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The program runs with an administrator's rights from wherever it was unpacked: before the
    // common controls, COM or the file dialogs have Windows load a DLL by name, the system
    // folder is the only place it is looked for.
    platform::LoadSystemDllsOnly();
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    ui::CWin32Host host(instance);
    ui::SetHost(&host);
    platform::SetWaitHandler(&host);
    ui::SetAppName(ModuleBaseName());
    device::CDirectShowBackend devices;
    const int exitCode = app::CVuverezeApp(devices, [] {
                             return static_cast<int32_t>(CoInitialize(nullptr));
                         }).Run();
    platform::SetWaitHandler(nullptr);
    ui::SetHost(nullptr);
    return exitCode;
}
