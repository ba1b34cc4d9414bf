// vuvereze-device: on Linux over the virtual system and its simulated cards, on Windows over
// the system's DirectShow devices. A console program on both.
#include <iostream>
#include <string>
#include <vector>

#include "tools/device/DeviceTool.h"

#if defined(_WIN32)
#include "platform/Platform.h"
#include "tools/device/win32/SystemMachine.h"

#include <windows.h>

#include <shellapi.h>

namespace {

// The words as the system keeps them, in UTF-16, so that a device or file name outside the
// console's code page arrives whole.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; words != nullptr && i < count; ++i) {
        const std::wstring word(words[i]);
        args.push_back(platform::WideToUtf8(std::u16string(word.begin(), word.end())));
    }
    LocalFree(words);
    return args;
}

}  // namespace

int main() {
    // Before COM loads anything on the command's behalf.
    platform::LoadSystemDllsOnly();
    devicetool::CSystemMachine machine;
    return devicetool::RunDeviceTool(Arguments(), machine, std::cout, std::cerr);
}

#else
#include "platform/Platform.h"
#include "tools/device/posix/VirtualMachine.h"

int main(int argc, char** argv) {
    // The table operations trace to the debugger channel, which is standard error here; a
    // command's standard error is for its errors.
    platform::SetDebugSink([](std::string_view) {});
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    devicetool::CVirtualMachine machine;
    return devicetool::RunDeviceTool(args, machine, std::cout, std::cerr);
}
#endif
