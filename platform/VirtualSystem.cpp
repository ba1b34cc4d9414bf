// The virtual system: a folder stands for drive C: and the architecture is whatever the test or
// the host's start-up says, so the product's Windows paths land on real files. Both operating
// systems' halves use it: Linux always, Windows once a test or a scenario has set a root.
#include <optional>
#include <vector>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

std::optional<uint16_t> g_architecture;

// Empty until set: Linux then uses the current folder, Windows the real system.
std::string& Root() {
    static std::string root;
    return root;
}

// ASCII only, as Windows compares the names of its own folders.
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

namespace detail {

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
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

std::optional<uint16_t> ArchitectureOverride() {
    return g_architecture;
}

bool SystemRootIsSet() {
    return !Root().empty();
}

// On Windows the root folder is itself on drive C: more often than not; a path into it is the
// host's own file already and must not be taken in a second time.
bool IsInsideRoot(std::string_view path) {
    const std::string& root = Root();
    if (!IsSystemDrivePath(root) || path.size() < root.size())
        return false;
    for (size_t i = 0; i < root.size(); ++i) {
        const bool same = IsSeparator(root[i]) ? IsSeparator(path[i])
                                               : AsciiLower(root[i]) == AsciiLower(path[i]);
        if (!same)
            return false;
    }
    return path.size() == root.size() || IsSeparator(path[root.size()]) || IsSeparator(root.back());
}

std::string MapIntoSystemRoot(const std::string& windowsPath) {
    if (!IsSystemDrivePath(windowsPath) || IsInsideRoot(windowsPath))
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
    std::string host = SystemRoot();
    host.reserve(host.size() + windowsPath.size());
    for (std::string_view part : parts) {
        if (host.empty() || host.back() != '/')
            host.push_back('/');
        host += part;
    }
    return host;
}

}  // namespace detail

void SetNativeArchitecture(uint16_t architecture) {
    g_architecture = architecture;
}

void ResetNativeArchitecture() {
    g_architecture.reset();
}

void SetSystemRoot(const std::string& hostFolder) {
    Root() = hostFolder;
}

const std::string& SystemRoot() {
    static const std::string current = ".";
    return Root().empty() ? current : Root();
}

}  // namespace platform
