// Linux looks for a program's libraries where its loader is told to, never in the folder the
// program was started from: nothing to change.
#include "platform/Platform.h"

namespace platform {

bool LoadSystemDllsOnly() {
    return true;
}

}  // namespace platform
