// The write fault of tests: one setting, read by each operating system's file writer.
#include <mutex>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

struct WriteFault {
    bool set = false;
    std::string path;
    size_t bytes = 0;
};

// Cheap to guard: a writer on another thread never sees half a setting.
std::mutex g_mutex;
WriteFault g_fault;

}  // namespace

void SetWriteFault(const std::string& path, size_t bytes) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_fault = WriteFault{true, path, bytes};
}

void ClearWriteFault() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_fault = WriteFault{};
}

namespace detail {

bool WriteFaultFor(const std::string& path, size_t& bytes) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_fault.set || (!g_fault.path.empty() && g_fault.path != path))
        return false;
    bytes = g_fault.bytes;
    return true;
}

}  // namespace detail
}  // namespace platform
