// Set-up lines and input lines of a scenario.
#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/World.h"

namespace fs = std::filesystem;

namespace scenarios {
namespace {

bool WriteHostFile(const std::string& hostPath, const std::vector<uint8_t>& bytes) {
    std::error_code ignored;
    fs::create_directories(fs::path(hostPath).parent_path(), ignored);
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// "1280x720@59.94/0": active size, frame rate and enable flag.
bool ParseRecordSpec(const std::string& text, fmt::FormatRecord& record) {
    size_t x = text.find('x');
    size_t at = text.find('@');
    if (x == std::string::npos || at == std::string::npos || at < x)
        return false;
    size_t slash = text.find('/', at);
    try {
        record.Timing.HActive = static_cast<uint16_t>(std::stoi(text.substr(0, x)));
        record.Timing.VActive = static_cast<uint16_t>(std::stoi(text.substr(x + 1, at - x - 1)));
        std::string rate =
            text.substr(at + 1, slash == std::string::npos ? std::string::npos : slash - at - 1);
        record.Timing.FrameRate = static_cast<uint16_t>(std::stod(rate) * 100.0 + 0.5);
        record.Enabled =
            slash == std::string::npos
                ? 1
                : static_cast<uint32_t>(std::stoul(text.substr(slash + 1), nullptr, 0));
    } catch (...) {
        return false;
    }
    return true;
}

bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& bytes) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        digits += c;
    }
    if (digits.size() % 2)
        return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return true;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The other names people give the three code pages: "utf8", "cp1252", "1252", "cp950", "950".
std::string CodePageName(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower == "utf8" || lower == "65001" || lower == "cp65001")
        return "utf-8";
    if (lower == "cp1252" || lower == "1252")
        return "windows-1252";
    if (lower == "cp950" || lower == "950")
        return "big5";
    return lower;
}

bool ParseId(const Line& line, size_t index, int& id) {
    int64_t value;
    if (index >= line.Size() || !ParseNumber(line.Arg(index), value))
        return false;
    id = static_cast<int>(value);
    return true;
}

// The faults change files on the host, so they reach only the scenario's own scratch folder
// (the virtual system lies inside it): never a fixture beside the scenario, never elsewhere.
bool InScratch(const std::string& hostPath, std::string& error) {
    std::error_code ignored;
    const fs::path scratch = fs::weakly_canonical(fs::path(platform::SystemRoot()).parent_path());
    const fs::path path = fs::weakly_canonical(fs::absolute(hostPath), ignored);
    const auto [end, unused] =
        std::mismatch(scratch.begin(), scratch.end(), path.begin(), path.end());
    (void)unused;
    if (end == scratch.end() && path != scratch)
        return true;
    error = "a fault line may change only the scenario's own files, not " + hostPath;
    return false;
}

// A path in the scratch folder; a relative one is never taken from beside the scenario.
bool ScratchPath(IScenarioContext& context, const Line& line, size_t index, std::string& hostPath,
                 std::string& error) {
    if (index >= line.Size()) {
        error = line.Verb() + " takes a PATH";
        return false;
    }
    const std::string& path = line.Arg(index);
    const bool drive =
        path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    hostPath = drive || fs::path(path).is_absolute()
                   ? context.FilePath(path)
                   : (fs::path(platform::SystemRoot()).parent_path() / path).string();
    return InScratch(hostPath, error);
}

bool ApplyFaultSetup(IScenarioContext& context, const Line& line, CWorld& world,
                     std::string& error) {
    const std::string& verb = line.Verb();
    std::string host;
    if (verb == "chip") {
        int64_t bus, reg, value;
        if (line.Size() != 4 || !ParseNumber(line.Arg(1), bus) || !ParseNumber(line.Arg(2), reg) ||
            !ParseNumber(line.Arg(3), value) || value < 0 || value > 0xFF || reg < 0) {
            error = "chip takes BUS REG VALUE";
            return false;
        }
        return world.PresetChipRegister(static_cast<uint32_t>(bus), static_cast<uint32_t>(reg),
                                        static_cast<uint8_t>(value), error);
    }
    if (verb == "write-fails") {
        int64_t bytes;
        if (line.Size() != 4 || line.Arg(2) != "after" || !ParseNumber(line.Arg(3), bytes) ||
            bytes < 0) {
            error = "write-fails takes PATH|* after N";
            return false;
        }
        if (!line.tokens[1].quoted && line.Arg(1) == "*") {
            host.clear();
        } else if (!ScratchPath(context, line, 1, host, error)) {
            return false;
        }
        world.FailWritesAfter(host, static_cast<size_t>(bytes));
        return true;
    }
    if (line.Size() != 2 && !(verb == "link" && line.Size() == 4 && line.Arg(2) == "to")) {
        error = verb == "link" ? "link takes PATH to TARGET" : verb + " takes a PATH";
        return false;
    }
    if (!ScratchPath(context, line, 1, host, error))
        return false;
    std::error_code failed;
#if defined(_WIN32)
    // What Windows cannot be told by a test that runs without privileges of its own.
    if (verb == "pipe") {
        context.Skip(line, "Windows keeps no named pipe among the files of a folder");
        return true;
    }
    if (verb == "link") {
        context.Skip(line, "a symbolic link needs a privilege on Windows that the tests lack");
        return true;
    }
    if (verb == "read-only" && fs::is_directory(host, failed)) {
        context.Skip(line, "a folder's read-only attribute keeps no new file out on Windows");
        return true;
    }
#endif
    if (verb == "read-only")
        return world.MakeReadOnly(host, error);
    if (verb == "missing") {
        fs::remove_all(host, failed);
    } else {
        fs::create_directories(fs::path(host).parent_path(), failed);
        if (!failed && verb == "link") {
            // The target is written as given: a relative one is relative to the link's folder.
            fs::create_symlink(line.Arg(3), host, failed);
        } else if (!failed && verb == "pipe") {
#if !defined(_WIN32)
            if (::mkfifo(host.c_str(), 0666) != 0)
                failed = std::error_code(errno, std::generic_category());
#endif
        }
    }
    if (failed) {
        error = verb + ": " + failed.message();
        return false;
    }
    return true;
}

}  // namespace

bool IsFaultSetupVerb(const std::string& verb) {
    return verb == "read-only" || verb == "missing" || verb == "pipe" || verb == "link" ||
           verb == "write-fails" || verb == "chip";
}

bool ParseHexText(const std::string& text, std::vector<uint8_t>& bytes) {
    return ParseHexBytes(text, bytes);
}

bool ApplySetup(IScenarioContext& context, const Line& line, CWorld& world, bool& comFails,
                std::string& error) {
    const std::string& verb = line.Verb();
    if (verb == "machine") {
        const std::string name = line.Size() == 2 ? Lower(line.Arg(1)) : "";
        if (name == "amd64" || name == "x64") {
            platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
        } else if (name == "x86") {
            platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_INTEL);
        } else {
            error = "machine takes amd64 or x86";
            return false;
        }
        return true;
    }
    if (verb == "codepage") {
        platform::CodePage codePage;
        if (line.Size() != 2 || !platform::ParseCodePage(CodePageName(line.Arg(1)), codePage)) {
            error = "codepage takes utf-8, windows-1252 or big5";
            return false;
        }
        platform::SetAnsiCodePage(codePage);
        return true;
    }
    if (verb == "com-fails") {
        comFails = true;
        return true;
    }
    if (verb == "device") {
        if (line.Size() < 2) {
            error = "device takes a name";
            return false;
        }
        std::string hdmi = "none", vga = "none";
        std::vector<std::string> faults;
        for (size_t i = 2; i < line.Size(); ++i) {
            const std::string& arg = line.Arg(i);
            if (arg.rfind("hdmi=", 0) == 0) {
                hdmi = arg.substr(5);
            } else if (arg.rfind("vga=", 0) == 0) {
                vga = arg.substr(4);
            } else if (arg.rfind("fault=", 0) == 0) {
                std::string list = arg.substr(6);
                size_t start = 0;
                while (start <= list.size()) {
                    size_t comma = list.find(',', start);
                    std::string fault = list.substr(
                        start, comma == std::string::npos ? std::string::npos : comma - start);
                    if (!fault.empty())
                        faults.push_back(fault);
                    if (comma == std::string::npos)
                        break;
                    start = comma + 1;
                }
            } else {
                error = "unknown device option '" + arg + "'";
                return false;
            }
        }
        return world.AddDevice(line.Arg(1), hdmi, vga, faults, error);
    }
    if (verb == "file") {
        std::vector<uint8_t> bytes;
        if (line.Size() == 4 && line.Arg(2) == "from") {
            if (!platform::ReadWholeFile(context.HostFile(line.Arg(3)), bytes)) {
                error = "cannot read " + line.Arg(3);
                return false;
            }
        } else if (line.Size() == 4 && line.Arg(2) == "hex") {
            if (!ParseHexBytes(line.Arg(3), bytes)) {
                error = "bad hex bytes";
                return false;
            }
        } else {
            error = "file takes PATH from HOSTFILE or PATH hex \"...\"";
            return false;
        }
        if (!WriteHostFile(context.FilePath(line.Arg(1)), bytes)) {
            error = "cannot write " + line.Arg(1);
            return false;
        }
        return true;
    }
    if (verb == "table") {
        if (line.Size() < 3 || line.Arg(2).rfind("builtin=", 0) != 0) {
            error = "table takes PATH builtin=B REC...";
            return false;
        }
        int64_t builtin;
        if (!ParseNumber(line.Arg(2).substr(8), builtin)) {
            error = "bad built-in count";
            return false;
        }
        std::vector<fmt::FormatRecord> records;
        for (size_t i = 3; i < line.Size(); ++i) {
            fmt::FormatRecord record;
            if (!ParseRecordSpec(line.Arg(i), record)) {
                error = "bad record '" + line.Arg(i) + "'";
                return false;
            }
            records.push_back(record);
        }
        std::vector<uint8_t> bytes = fmt::EncodeTableFile(static_cast<uint16_t>(builtin), records);
        if (!WriteHostFile(context.FilePath(line.Arg(1)), bytes)) {
            error = "cannot write " + line.Arg(1);
            return false;
        }
        return true;
    }
    if (IsFaultSetupVerb(verb))
        return ApplyFaultSetup(context, line, world, error);
    error = "unknown set-up line";
    return false;
}

bool MakeInput(IScenarioContext& context, const Line& line, ui::Input& input) {
    const std::string& verb = line.Verb();
    input = ui::Input{};
    auto fail = [&](const std::string& what) {
        context.Fail(line, what);
        return false;
    };
    auto onOff = [&](size_t index, bool& on) {
        if (index >= line.Size() || (line.Arg(index) != "on" && line.Arg(index) != "off"))
            return false;
        on = line.Arg(index) == "on";
        return true;
    };
    if (verb == "click" || verb == "release" || verb == "press") {
        input.kind = verb == "click"     ? ui::Input::Click
                     : verb == "release" ? ui::Input::Release
                                         : ui::Input::Press;
        return ParseId(line, 1, input.id) || fail(verb + " takes an ID");
    }
    if (verb == "key") {
        if (line.Size() < 2)
            return fail("key takes enter, esc or space");
        const std::string& key = line.Arg(1);
        if (key == "enter") {
            input.kind = ui::Input::KeyEnter;
        } else if (key == "esc") {
            input.kind = ui::Input::KeyEsc;
        } else if (key == "space") {
            input.kind = ui::Input::KeySpace;
        } else {
            return fail("unknown key '" + key + "'");
        }
        if (line.Size() > 2 && !ParseId(line, 2, input.id))
            return fail("bad ID");
        return true;
    }
    if (verb == "type") {
        input.kind = ui::Input::Type;
        if (line.Size() != 3 || !ParseId(line, 1, input.id))
            return fail("type takes ID \"TEXT\"");
        input.text = platform::Utf8ToAnsi(line.Arg(2));
        return true;
    }
    if (verb == "choose") {
        input.kind = ui::Input::Choose;
        if (line.Size() != 3 || !ParseId(line, 1, input.id))
            return fail("choose takes ID \"ITEM\"|none");
        input.text = (!line.tokens[2].quoted && line.Arg(2) == "none")
                         ? ""
                         : platform::Utf8ToAnsi(line.Arg(2));
        return true;
    }
    if (verb == "check") {
        input.kind = ui::Input::Check;
        if (!ParseId(line, 1, input.id) || !onOff(2, input.on))
            return fail("check takes ID on|off");
        return true;
    }
    if (verb == "tick") {
        input.kind = ui::Input::Tick;
        if (!ParseId(line, 1, input.id) || !ParseId(line, 2, input.row) || !onOff(3, input.on)) {
            return fail("tick takes LIST ROW on|off");
        }
        return true;
    }
    if (verb == "select") {
        input.kind = ui::Input::Select;
        if (!ParseId(line, 1, input.id))
            return fail("select takes LIST ROW...");
        for (size_t i = 2; i < line.Size(); ++i) {
            int row;
            if (!ParseId(line, i, row))
                return fail("bad row");
            input.rows.push_back(row);
        }
        return true;
    }
    if (verb == "dblclick") {
        input.kind = ui::Input::DblClick;
        if (!ParseId(line, 1, input.id) || line.Size() != 3)
            return fail("dblclick takes LIST ROW|empty");
        if (line.Arg(2) == "empty") {
            input.row = -1;
        } else if (!ParseId(line, 2, input.row)) {
            return fail("bad row");
        }
        return true;
    }
    if (verb == "header") {
        input.kind = ui::Input::Header;
        if (!ParseId(line, 1, input.id) || !ParseId(line, 2, input.row))
            return fail("header takes LIST COL");
        return true;
    }
    if (verb == "sysmenu") {
        input.kind = ui::Input::SysMenu;
        return ParseId(line, 1, input.id) || fail("sysmenu takes N");
    }
    if (verb == "close" || verb == "minimize" || verb == "restore") {
        input.kind = verb == "close"      ? ui::Input::Close
                     : verb == "minimize" ? ui::Input::Minimize
                                          : ui::Input::Restore;
        return true;
    }
    return fail("unknown line '" + verb + "'");
}

}  // namespace scenarios
