#include "tools/device/DeviceTool.h"

#include <cctype>
#include <chrono>
#include <exception>

#include "VuverezeVersion.h"
#include "platform/Platform.h"
#include "tools/device/Commands.h"

namespace devicetool {
namespace {

constexpr char kUsageText[] =
    "usage: vuvereze-device [--json] [--system FOLDER] COMMAND ...\n"
    "  devices                        the capture devices, as the main window lists them\n"
    "  status DEVICE [--watch [--interval SECONDS]]\n"
    "                                 binds DEVICE as Lock does: its inputs and what it detects;\n"
    "                                 --watch adds a line for every change until Ctrl-C\n"
    "  apply DEVICE TABLE [--always-reload]\n"
    "                                 puts TABLE in place of \"format.bin\" and asks the driver\n"
    "                                 to reload it; nothing is done when it is in place already\n"
    "  enable TABLE SELECTOR...       switches formats of the table file TABLE on\n"
    "  disable TABLE SELECTOR...      switches them off\n"
    "  delete TABLE SELECTOR...       deletes user formats\n"
    "  import TABLE FILE [--new-only] appends the user formats of FILE\n"
    "  add TABLE STANDARD [TIMING] [--device DEVICE | --line-length N] [--new-only]\n"
    "                                 appends a user format made from a standard timing\n"
    "  add TABLE MODELINE \"TEXT\" ...  the same from an X11 modeline, as cvt or gtf print it\n"
    "  add TABLE EDID FILE [ROW] ...  the same from a timing of an EDID file (binary or hex);\n"
    "                                 ROW is a number or label as the EDID's list shows it,\n"
    "                                 the preferred timing (DTD 1) without one\n"
    "Edits take --dry-run: they say what would change and write nothing.\n"
    "SELECTOR  user:ID, built-in:ID, user:all, built-in:all, or a size with an optional rate\n"
    "          and list: 1920x1080, 1920x1080@59.94, user:1280x720@60\n"
    "STANDARD  CVT, CVT-RB, CVT-RB2, CVT-RB3, GTF, DMT or CTA-861 followed by a TIMING such as\n"
    "          1920x1080p60 or 1920x1080i50, or one list entry: \"DMT 0x52\", \"VIC 16\",\n"
    "          \"VIC 6 unrepeated\"\n"
    "--new-only      leaves out formats the table already holds byte for byte\n"
    "--device DEVICE measures the line-length count on DEVICE (add); --line-length N gives it;\n"
    "                without either, it is the count a card measures for the timing itself\n"
    "--interval SECONDS  how often a watch reads the card (0.1 to 3600, default 1)\n"
    "--system FOLDER the virtual system of Linux (default $XDG_DATA_HOME/vuvereze/system)\n"
    "--json          one JSON document on standard output (a watch: one object a line)\n"
    "Exit codes: 0 done (also when nothing needed changing, and a watch ended by Ctrl-C), 1 a\n"
    "problem found or a request refused (a watched card that answers no more), 2 a command\n"
    "line it does not understand or an input it cannot read.\n";

// A modeline's polarity flags look like options, and no option is named like them.
bool IsModelineFlag(std::string arg) {
    for (char& ch : arg)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return arg == "-hsync" || arg == "-vsync" || arg == "-csync";
}

bool IsEdit(const std::string& command) {
    return command == "enable" || command == "disable" || command == "delete" ||
           command == "import" || command == "add";
}

// An option's value, given as "--name VALUE" or "--name=VALUE".
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               std::string& value, bool& bad) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            bad = true;
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

// Seconds as "2", "0.5" or "1.25", into whole milliseconds; false for anything else.
bool ParseSeconds(const std::string& text, uint32_t& ms) {
    uint64_t whole = 0;
    uint64_t thousandths = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && whole < 100000; ++i)
        whole = whole * 10 + static_cast<uint64_t>(text[i] - '0');
    if (i == 0)
        return false;
    if (i < text.size() && text[i] == '.') {
        uint64_t scale = 100;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            thousandths += static_cast<uint64_t>(text[i] - '0') * scale;
    }
    if (i != text.size())
        return false;
    const uint64_t total = whole * 1000 + thousandths;
    if (total < 100 || total > 3600000)
        return false;
    ms = static_cast<uint32_t>(total);
    return true;
}

// False with the reason for words the tool does not understand.
bool Parse(const std::vector<std::string>& args, Options& o, std::string& why) {
    bool words = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool bad = false;
        if (words || arg.size() < 2 || arg[0] != '-' || IsModelineFlag(arg)) {
            o.Words.push_back(arg);
        } else if (arg == "--") {
            words = true;
        } else if (arg == "--json") {
            o.Json = true;
        } else if (arg == "--dry-run") {
            o.DryRun = true;
        } else if (arg == "--new-only") {
            o.NewOnly = true;
        } else if (arg == "--always-reload") {
            o.AlwaysReload = true;
        } else if (arg == "--watch") {
            o.Watch = true;
        } else if (TakeValue(args, i, "--system", o.System, bad) ||
                   TakeValue(args, i, "--device", o.Device, bad)) {
        } else if (TakeValue(args, i, "--line-length", o.LineLength, bad)) {
            o.HasLineLength = true;
        } else if (std::string seconds; TakeValue(args, i, "--interval", seconds, bad)) {
            o.HasInterval = true;
            if (!bad && !ParseSeconds(seconds, o.IntervalMs)) {
                why = "--interval takes seconds from 0.1 to 3600, not " + seconds;
                return false;
            }
        } else {
            why = "unknown option " + arg;
            return false;
        }
        if (bad) {
            why = arg + " needs a value";
            return false;
        }
    }
    if (o.Words.empty()) {
        why = "no command";
        return false;
    }
    const std::string& command = o.Words[0];
    const size_t n = o.Words.size();
    const bool fits = (command == "devices" && n == 1) || (command == "status" && n == 2) ||
                      (command == "apply" && n == 3) || (command == "import" && n == 3) ||
                      (IsEdit(command) && command != "import" && n >= 3);
    if (!fits) {
        why = command == "devices" || command == "status" || command == "apply" || IsEdit(command)
                  ? "wrong number of operands for " + command
                  : "unknown command " + command;
        return false;
    }
    if (o.DryRun && !IsEdit(command)) {
        why = "--dry-run is for the table edits";
    } else if (o.NewOnly && command != "import" && command != "add") {
        why = "--new-only is for import and add";
    } else if (o.AlwaysReload && command != "apply") {
        why = "--always-reload is for apply";
    } else if ((!o.Device.empty() || o.HasLineLength) && command != "add") {
        why = "--device and --line-length are for add";
    } else if (o.Watch && command != "status") {
        why = "--watch is for status";
    } else if (o.HasInterval && !o.Watch) {
        why = "--interval is for status --watch";
    } else if (!o.Device.empty() && o.HasLineLength) {
        why = "--device and --line-length are two ways to the same count: give one";
    }
    return why.empty();
}

int Run(const std::vector<std::string>& args, IMachine& machine, std::ostream& out,
        std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        out << kUsageText;
        out.flush();
        return out ? kDone : kProblem;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "vuvereze-device " VUVEREZE_VERSION_TEXT "\n";
        out.flush();
        return out ? kDone : kProblem;
    }
    Options options;
    std::string why;
    if (!Parse(args, options, why)) {
        CReport report(options.Words.empty() ? "" : options.Words[0]);
        report.Error(why);
        const int code = report.Finish(kUsage, options.Json, out, err);
        err << kUsageText;
        return code;
    }
    const std::vector<std::string>& w = options.Words;
    CReport report(w[0]);
    Context c{options, machine, report, out, err, nullptr};
    int code = kDone;
    if (w[0] == "devices") {
        code = ListDevices(c);
    } else if (w[0] == "status") {
        code = ShowStatus(c, w[1]);
    } else if (w[0] == "apply") {
        code = ApplyTable(c, w[1], w[2]);
    } else {
        code = EditTable(c, w);
    }
    return report.Finish(code, options.Json, out, err);
}

}  // namespace

CReport::CReport(const std::string& command) {
    m_doc["command"] = command;
    m_doc["ok"] = false;
}

int CReport::Finish(int code, bool json, std::ostream& out, std::ostream& err) {
    if (m_streamed) {
        // Said as it went; a failed write was said then.
        return out ? code : (code == kDone ? kProblem : code);
    }
    m_doc["ok"] = code == kDone;
    m_doc["errors"] = m_errors;
    if (json) {
        // ASCII only, so that the document reads the same in every console and code page; a
        // file name that is not UTF-8 is shown with replacement characters rather than refused.
        out << m_doc.dump(2, ' ', true, Json::error_handler_t::replace) << '\n';
    } else {
        for (const std::string& line : m_lines)
            out << line << '\n';
    }
    out.flush();
    for (const std::string& error : m_errors)
        err << "vuvereze-device: " << error << '\n';
    if (!out) {
        err << "vuvereze-device: the report could not be written to standard output\n";
        if (code == kDone)
            code = kProblem;
    }
    return code;
}

int64_t IMachine::WallClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string WriteFailure(const Context& c) {
    const platform::FileError& error = platform::LastWriteError();
    if (error.kind == platform::FileErrorKind::None)
        return {};
    std::string text = ": " + error.reason;
    const std::string hint = c.Machine.DeniedWriteHint();
    if (error.kind == platform::FileErrorKind::Denied && !hint.empty())
        text += ". " + hint;
    return text;
}

device::IDeviceBackend* OpenMachine(Context& c, int& code) {
    if (c.Devices != nullptr)
        return c.Devices;
    std::string error;
    c.Devices = c.Machine.Open(c.Opts.System, error);
    if (c.Devices == nullptr) {
        c.Report.Error(error);
        code = kUsage;
    }
    return c.Devices;
}

int RunDeviceTool(const std::vector<std::string>& args, IMachine& machine, std::ostream& out,
                  std::ostream& err) {
    // Only running out of memory can throw here; it must end with a message, not an abort.
    try {
        return Run(args, machine, out, err);
    } catch (const std::exception& e) {
        err << "vuvereze-device: " << e.what() << '\n';
        return kProblem;
    }
}

}  // namespace devicetool
