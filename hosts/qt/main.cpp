// The desktop program on Linux: the Qt host, the real clock and a virtual Windows machine kept in
// a folder, with its simulated capture cards.
#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/qt/CommandLine.h"
#include "hosts/qt/Program.h"

namespace {

// --help and --version are answered before Qt starts, so that they need no display; their
// text must reach its reader, or the exit code says it did not.
int Say(std::FILE* stream, const std::string& text, int code) {
    if (std::fputs(text.c_str(), stream) < 0 || std::fflush(stream) != 0) {
        std::fprintf(stderr, "vuvereze: the output could not be written (%s)\n",
                     std::strerror(errno));
        return 2;
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    const desktop::CommandLine line = desktop::ParseCommandLine(words);
    switch (line.action) {
        case desktop::CommandLine::Help:
            return Say(stdout, desktop::UsageText(), 0);
        case desktop::CommandLine::Version:
            return Say(stdout, desktop::VersionText(), 0);
        case desktop::CommandLine::Error:
            return Say(stderr, "vuvereze: " + line.error + "\n" + desktop::UsageText(), 2);
        case desktop::CommandLine::Run:
            break;
    }
    int qtArgc = argc > 0 ? static_cast<int>(line.qtWords) + 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return desktop::RunProgram(line.folder.empty() ? desktop::DefaultSystemFolder() : line.folder);
}
