// The virtual system: a folder stands for drive C: and the architecture is whatever the test or
// the host's start-up says, so the product's Windows paths land on real files.
#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace {

uint16_t g_architecture = PROCESSOR_ARCHITECTURE_AMD64;

std::string& Root() {
    static std::string root = ".";
    return root;
}

// ASCII only, as Windows compares the names of its own folders.
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsSystemDrivePath(std::string_view path) {
    return path.size() >= 3 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':' &&
           IsSeparator(path[2]);
}

// "." and ".." are resolved here, and ".." stops at the drive's root as it does on Windows, so
// no Windows path reaches outside the virtual system.
std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t at = 0;
    while (at <= path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string_view part = path.substr(at, end - at);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        at = end + 1;
    }
    return parts;
}

}  // namespace

uint16_t NativeProcessorArchitecture() {
    return g_architecture;
}

void SetNativeArchitecture(uint16_t architecture) {
    g_architecture = architecture;
}

void SetSystemRoot(const std::string& hostFolder) {
    Root() = hostFolder.empty() ? std::string(".") : hostFolder;
}

const std::string& SystemRoot() {
    return Root();
}

std::string HostPath(const std::string& windowsPath) {
    if (!IsSystemDrivePath(windowsPath))
        return windowsPath;
    std::vector<std::string_view> parts = Components(std::string_view(windowsPath).substr(3));
    // One spelling for the system folders: the driver and the tool must meet at the same file
    // whichever alias and case each of them used.
    if (!parts.empty() && IEquals(parts[0], "Windows")) {
        parts[0] = "Windows";
        if (parts.size() > 1 && (IEquals(parts[1], "System32") || IEquals(parts[1], "Sysnative"))) {
            parts[1] = "System32";
        }
    }
    std::string host = Root();
    host.reserve(host.size() + windowsPath.size());
    for (std::string_view part : parts) {
        if (host.empty() || host.back() != '/')
            host.push_back('/');
        host += part;
    }
    return host;
}

}  // namespace platform
