#include "tools/table/TableTool.h"

#include <exception>

#include "tools/table/Commands.h"
#include "tools/table/TableImage.h"

namespace tabletool {
namespace {

constexpr int kUnreadable = 2;

constexpr char kUsage[] =
    "usage: vuvereze-table show FILE [--json]   the header and every record\n"
    "       vuvereze-table check FILE           problems, one a line (exit 1 when any)\n"
    "       vuvereze-table diff A B             records added, removed and changed\n";

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
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (args.empty())
        return Usage(err);
    const std::string& command = args[0];
    std::vector<std::string> files;
    bool json = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json" && command == "show") {
            json = true;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            err << "vuvereze-table: unknown option " << args[i] << '\n';
            return Usage(err);
        } else {
            files.push_back(args[i]);
        }
    }

    if ((command == "show" || command == "check") && files.size() == 1) {
        TableImage image;
        if (!Read(files[0], image, err))
            return kUnreadable;
        return command == "show" ? ShowTable(image, json, out) : CheckTable(image, out);
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

}  // namespace

int RunTableTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // Only running out of memory can throw here; it must end with a message, not an abort.
    try {
        return Run(args, out, err);
    } catch (const std::exception& e) {
        err << "vuvereze-table: " << e.what() << '\n';
        return kUnreadable;
    }
}

}  // namespace tabletool
