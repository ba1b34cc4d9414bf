// The write fault of tests: one setting, read by each operating system's file writer.
#include <string>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

struct WriteFault {
    bool set = false;
    std::string path;
    size_t bytes = 0;
};

// Like everything of the program, set and read on its one thread.
WriteFault g_fault;

}  // namespace

void SetWriteFault(const std::string& path, size_t bytes) {
    g_fault = WriteFault{true, path, bytes};
}

void ClearWriteFault() {
    g_fault = WriteFault{};
}

namespace detail {

bool WriteFaultFor(const std::string& path, size_t& bytes) {
    if (!g_fault.set || (!g_fault.path.empty() && g_fault.path != path))
        return false;
    bytes = g_fault.bytes;
    return true;
}

}  // namespace detail
}  // namespace platform
