// The DLL search of the process, narrowed to the system folder before anything is loaded by
// name. A DLL cannot do this for the process that loads it (nor should it): vz_simcard.dll
// loads nothing by name and is itself loaded by COM from the full path it registered.
#include "platform/Platform.h"

#include <windows.h>

namespace platform {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

}  // namespace

bool LoadSystemDllsOnly() {
    // Looked up by name: Windows 7 has it only with its update KB2533623, and the program must
    // start without it.
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefault =
        kernel != nullptr
            ? reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(
                  ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
            : nullptr;
    const bool systemOnly =
        setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    // The current folder goes out of the search in any case; without the call above, the
    // program's own folder stays in it and the system's KnownDLLs are what protect the program.
    ::SetDllDirectoryW(L"");
    return systemOnly;
}

namespace {

// Before every other start-up step of the program, not only before main: the stack guard's
// start (a constructor of the compiler's runtime) asks CryptAcquireContext for the system's
// crypto provider, which Windows loads by name. 101 is the first priority a program may take.
// This file goes into a program only with the call in its main, which states the intent.
__attribute__((constructor(101))) void LoadSystemDllsOnlyAtStart() {
    LoadSystemDllsOnly();
}

}  // namespace

}  // namespace platform
