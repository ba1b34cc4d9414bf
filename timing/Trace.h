// printf-style texts for the editor's fields and messages, and its traces on the debugger
// output channel. The traces carry their own line ends ("\r\n"), or none, exactly as given.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace timing {

using platform::FormatText;

void DebugTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace timing
