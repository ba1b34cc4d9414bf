#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "tools/table/TableTool.h"

int main(int argc, char** argv) {
    // The tool loads no DLL of its own; whatever the system loads for it comes from the system.
    platform::LoadSystemDllsOnly();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The result is written in one go at the end, so that a failed write is seen with the
    // system's reason (a full disk, a closed output), not only as a stream gone bad.
    std::ostringstream out;
    const int code = tabletool::RunTableTool(args, out, std::cerr);
    const std::string text = out.str();
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        const int reason = errno;
        std::cerr << "vuvereze-table: the output could not be written";
        if (reason != 0)
            std::cerr << " (" << std::strerror(reason) << ')';
        std::cerr << '\n';
        return 2;
    }
    return code;
}
