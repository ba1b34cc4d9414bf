// Why the last replacement of this thread failed. Kept per thread, as the system keeps its own
// last error, so that writers on other threads cannot overwrite the reason a caller asks for.
#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

thread_local FileError t_lastWriteError;

}  // namespace

const FileError& LastWriteError() {
    return t_lastWriteError;
}

namespace detail {

bool FailWrite(uint32_t systemCode) {
    t_lastWriteError = FileErrorOf(systemCode);
    return false;
}

bool RefuseWrite(FileErrorKind kind, const char* reason) {
    t_lastWriteError.kind = kind;
    t_lastWriteError.code = 0;
    t_lastWriteError.reason = reason;
    return false;
}

void ClearWriteError() {
    t_lastWriteError = FileError{};
}

}  // namespace detail
}  // namespace platform
