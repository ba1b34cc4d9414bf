// The real system's architecture and directories, unless a test or a scenario has put a
// virtual system in their place.
#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

#include <windows.h>

namespace platform {
namespace {

using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);

// Looked up by name: the program must still start on a Windows that predates the function,
// where the emulated view GetSystemInfo gives is the only one there is.
uint16_t AskWindows() {
    SYSTEM_INFO info = {};
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const auto native = kernel != nullptr
                            ? reinterpret_cast<GetNativeSystemInfoFn>(reinterpret_cast<void (*)()>(
                                  ::GetProcAddress(kernel, "GetNativeSystemInfo")))
                            : nullptr;
    if (native != nullptr) {
        native(&info);
    } else {
        ::GetSystemInfo(&info);
    }
    return info.wProcessorArchitecture;
}

std::string RealSystemPath(const std::string& windowsPath) {
#if defined(_WIN64)
    // "Sysnative" is an alias that only a 32-bit process on 64-bit Windows sees; it exists so
    // that such a process can reach the real System32 past the redirection to SysWOW64. A
    // 64-bit process is not redirected and has no such alias, so for it the real System32 is
    // the folder meant.
    if (windowsPath.size() < 3 || windowsPath[1] != ':' ||
        (windowsPath[2] != '\\' && windowsPath[2] != '/')) {
        return windowsPath;
    }
    const std::vector<std::string_view> parts =
        detail::Components(std::string_view(windowsPath).substr(3));
    if (parts.size() < 2 || !detail::IEquals(parts[0], "Windows") ||
        !detail::IEquals(parts[1], "Sysnative")) {
        return windowsPath;
    }
    std::string path = windowsPath.substr(0, 2) + "\\" + std::string(parts[0]) + "\\System32";
    for (size_t i = 2; i < parts.size(); ++i) {
        path += '\\';
        path += parts[i];
    }
    return path;
#else
    return windowsPath;
#endif
}

}  // namespace

uint16_t NativeProcessorArchitecture() {
    if (const auto set = detail::ArchitectureOverride())
        return *set;
    static const uint16_t real = AskWindows();
    return real;
}

// With a virtual system in place on Windows, only the system folder stands in for the real
// one: every other path on drive C: is a real file (the scratch folder of a scenario, a file
// chosen in a file dialog), where on Linux drive C: is nothing but the virtual system.
static bool InVirtualSystemFolder(const std::string& windowsPath) {
    if (!detail::IsSystemDrivePath(windowsPath)) {
        return false;
    }
    const std::vector<std::string_view> parts =
        detail::Components(std::string_view(windowsPath).substr(3));
    return !parts.empty() && detail::IEquals(parts[0], "Windows");
}

std::string HostPath(const std::string& windowsPath) {
    if (detail::SystemRootIsSet() && InVirtualSystemFolder(windowsPath))
        return detail::MapIntoSystemRoot(windowsPath);
    return RealSystemPath(windowsPath);
}

}  // namespace platform
