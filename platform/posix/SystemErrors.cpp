// The system's words for an error number.
#include <cerrno>
#include <cstring>

#include "platform/Platform.h"

namespace platform {

FileError FileErrorOf(uint32_t systemCode) {
    FileError error;
    error.code = systemCode;
    error.kind =
        systemCode == EACCES || systemCode == EPERM ? FileErrorKind::Denied : FileErrorKind::Other;
    error.reason = std::strerror(static_cast<int>(systemCode));
    return error;
}

}  // namespace platform
