// The desktop program's command line: an optional system folder, --help and --version, among
// the options Qt takes for itself. Read before Qt starts, so that --help and --version need no
// display and a mistyped option never becomes a folder.
#pragma once

#include <string>
#include <vector>

namespace desktop {

struct CommandLine {
    enum Action { Run, Help, Version, Error };
    Action action = Run;
    std::string folder;  // empty: the default system folder
    std::string error;   // what was wrong, for Error
    // How many of the words Qt may see: those before "--", so that a folder named like one of
    // Qt's options stays ours.
    size_t qtWords = 0;
};

// words are the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& words);

std::string UsageText();
std::string VersionText();

}  // namespace desktop
