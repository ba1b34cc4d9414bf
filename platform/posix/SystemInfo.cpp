// Linux has no Windows to ask: the architecture is AMD64 until a test or a scenario says
// otherwise, and every drive path lands in the virtual system.
#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {

uint16_t NativeProcessorArchitecture() {
    return detail::ArchitectureOverride().value_or(PROCESSOR_ARCHITECTURE_AMD64);
}

std::string HostPath(const std::string& windowsPath) {
    return detail::MapIntoSystemRoot(windowsPath);
}

}  // namespace platform
