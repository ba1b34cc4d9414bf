#include "hosts/qt/CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "VuverezeVersion.h"

namespace desktop {
namespace {

// The options QGuiApplication and QApplication take out of the command line themselves (Qt 6),
// with one dash or two. Those of the first list take a value, as the next word or after "=".
constexpr std::array<std::string_view, 16> kQtValueOptions = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "session",       "display", "geometry",
    "style",        "stylesheet",         "name",          "title",   "visual",
    "qmljsdebugger"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "nograb",
                                                      "dograb",  "sync",        "testability"};

template <size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    line.qtWords = words.size();
    std::vector<std::string> folders;
    bool options = true;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!options || word.empty() || word[0] != '-') {
            folders.push_back(word);
            continue;
        }
        if (word == "--") {
            options = false;
            line.qtWords = std::min(line.qtWords, i);
            continue;
        }
        if (word == "--help" || word == "-h") {
            line.action = CommandLine::Help;
            return line;
        }
        if (word == "--version") {
            line.action = CommandLine::Version;
            return line;
        }
        std::string_view name(word);
        name.remove_prefix(name.size() > 2 && name[1] == '-' ? 2 : 1);
        const size_t equals = name.find('=');
        if (equals != std::string_view::npos && Among(kQtValueOptions, name.substr(0, equals))) {
            continue;
        }
        if (Among(kQtValueOptions, name)) {
            if (i + 1 == words.size()) {
                line.action = CommandLine::Error;
                line.error = "option " + word + " needs a value";
                return line;
            }
            ++i;
            continue;
        }
        if (Among(kQtFlags, name)) {
            continue;
        }
        line.action = CommandLine::Error;
        line.error = "unknown option " + word;
        return line;
    }
    if (folders.size() > 1) {
        line.action = CommandLine::Error;
        line.error = "one system folder at most, not " + std::to_string(folders.size());
    } else if (!folders.empty() && folders[0].empty()) {
        line.action = CommandLine::Error;
        line.error = "the system folder's name is empty";
    } else if (!folders.empty()) {
        line.folder = folders[0];
    }
    return line;
}

std::string UsageText() {
    return "usage: vuvereze [FOLDER]\n"
           "Manages the format table of a video capture card, on a virtual Windows system kept\n"
           "in FOLDER with its simulated capture cards (default: $XDG_DATA_HOME/vuvereze/system,\n"
           "else ~/.local/share/vuvereze/system; made with the default machine when missing).\n"
           "  -h, --help   this text\n"
           "  --version    the program's version\n"
           "  --           ends the options: a FOLDER whose name starts with \"-\" follows it\n"
           "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are Qt's.\n";
}

std::string VersionText() {
    return std::string("vuvereze ") + VUVEREZE_VERSION_TEXT + "\n";
}

}  // namespace desktop
