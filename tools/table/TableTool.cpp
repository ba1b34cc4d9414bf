#include "tools/table/TableTool.h"

#include <cerrno>
#include <cstring>
#include <exception>

#include "VuverezeVersion.h"

#include "tools/table/Commands.h"
#include "tools/table/TableImage.h"

namespace tabletool {
namespace {

constexpr int kUnreadable = 2;

constexpr char kUsage[] =
    "usage: vuvereze-table show FILE [--json]   the header and every record\n"
    "       vuvereze-table show FILE --modelines every record as an X11 modeline for xrandr\n"
    "       vuvereze-table check FILE           problems, one a line (exit 1 when any)\n"
    "       vuvereze-table diff A B             records added, removed and changed\n"
    "       vuvereze-table --help | --version\n"
    "A file whose name starts with \"-\" follows \"--\".\n";

bool Read(const std::string& path, TableImage& image, std::ostream& err) {
    if (ReadTableImage(path, image))
        return true;
    err << "vuvereze-table: " << path
        << ": cannot be read (missing, not a readable file, or larger than " << kLargestFileRead
        << " bytes)\n";
    return false;
}

int Usage(std::ostream& err) {
    err << kUsage;
    return kUnreadable;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words;
    bool json = false;
    bool modelines = false;
    bool options = true;
    for (const std::string& arg : args) {
        if (!options || arg.empty() || arg[0] != '-') {
            words.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        } else if (arg == "--version") {
            out << "vuvereze-table " << VUVEREZE_VERSION_TEXT << '\n';
            return 0;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--modelines") {
            modelines = true;
        } else {
            // "-" too: nothing here reads standard input, so it can only be a mistyped option.
            err << "vuvereze-table: unknown option " << arg << '\n';
            return Usage(err);
        }
    }
    if (words.empty())
        return Usage(err);
    const std::string command = words[0];
    const std::vector<std::string> files(words.begin() + 1, words.end());
    if ((json || modelines) && command != "show") {
        err << "vuvereze-table: " << (json ? "--json" : "--modelines") << " goes with show only\n";
        return Usage(err);
    }
    if (json && modelines) {
        err << "vuvereze-table: --json and --modelines are two ways to show a table: choose one\n";
        return Usage(err);
    }

    if ((command == "show" || command == "check") && files.size() == 1) {
        TableImage image;
        if (!Read(files[0], image, err))
            return kUnreadable;
        if (command == "show")
            return modelines ? ShowModelines(image, out) : ShowTable(image, json, out);
        return CheckTable(image, out);
    }
    if (command == "diff" && files.size() == 2) {
        TableImage a;
        TableImage b;
        if (!Read(files[0], a, err) || !Read(files[1], b, err))
            return kUnreadable;
        return DiffTables(a, b, out);
    }
    return Usage(err);
}

// A result that did not reach its reader is no result: a cut-off document must not pass for a
// whole one, whatever the command found.
int Delivered(int code, std::ostream& out, std::ostream& err) {
    errno = 0;
    out.flush();
    if (out)
        return code;
    const int reason = errno;
    err << "vuvereze-table: the output could not be written";
    if (reason != 0)
        err << " (" << std::strerror(reason) << ')';
    err << '\n';
    return kUnreadable;
}

}  // namespace

int RunTableTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // Only running out of memory can throw here; it must end with a message, not an abort.
    try {
        return Delivered(Run(args, out, err), out, err);
    } catch (const std::exception& e) {
        err << "vuvereze-table: " << e.what() << '\n';
        return kUnreadable;
    }
}

}  // namespace tabletool
