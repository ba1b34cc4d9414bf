// Set-up lines of a scenario: a table of verbs, each with the function that carries it out.
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

// What one set-up line has to work with.
struct SetupCall {
    IScenarioContext& context;
    const Line& line;
    CWorld& world;
    bool& comFails;
    std::string& error;

    bool Refuse(const std::string& what) {
        error = what;
        return false;
    }
};

bool SetMachine(SetupCall& call) {
    const std::string name = call.line.Size() == 2 ? Lower(call.line.Arg(1)) : "";
    if (name == "amd64" || name == "x64") {
        platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
    } else if (name == "x86") {
        platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_INTEL);
    } else {
        return call.Refuse("machine takes amd64 or x86");
    }
    return true;
}

bool SetCodePage(SetupCall& call) {
    platform::CodePage codePage;
    if (call.line.Size() != 2 ||
        !platform::ParseCodePage(CodePageName(call.line.Arg(1)), codePage)) {
        return call.Refuse("codepage takes utf-8, windows-1252 or big5");
    }
    platform::SetAnsiCodePage(codePage);
    return true;
}

bool SetComFails(SetupCall& call) {
    call.comFails = true;
    return true;
}

// "fault=a,b": the names between the commas, empty ones left out.
std::vector<std::string> FaultList(const std::string& list) {
    std::vector<std::string> faults;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        std::string fault =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!fault.empty())
            faults.push_back(fault);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return faults;
}

bool AddDevice(SetupCall& call) {
    const Line& line = call.line;
    if (line.Size() < 2)
        return call.Refuse("device takes a name");
    std::string hdmi = "none", vga = "none";
    std::vector<std::string> faults;
    for (size_t i = 2; i < line.Size(); ++i) {
        const std::string& arg = line.Arg(i);
        if (arg.rfind("hdmi=", 0) == 0) {
            hdmi = arg.substr(5);
        } else if (arg.rfind("vga=", 0) == 0) {
            vga = arg.substr(4);
        } else if (arg.rfind("fault=", 0) == 0) {
            const std::vector<std::string> more = FaultList(arg.substr(6));
            faults.insert(faults.end(), more.begin(), more.end());
        } else {
            return call.Refuse("unknown device option '" + arg + "'");
        }
    }
    return call.world.AddDevice(line.Arg(1), hdmi, vga, faults, call.error);
}

bool WriteFile(SetupCall& call) {
    const Line& line = call.line;
    std::vector<uint8_t> bytes;
    if (line.Size() == 4 && line.Arg(2) == "from") {
        if (!platform::ReadWholeFile(call.context.HostFile(line.Arg(3)), bytes))
            return call.Refuse("cannot read " + line.Arg(3));
    } else if (line.Size() == 4 && line.Arg(2) == "hex") {
        if (!ParseHexBytes(line.Arg(3), bytes))
            return call.Refuse("bad hex bytes");
    } else {
        return call.Refuse("file takes PATH from HOSTFILE or PATH hex \"...\"");
    }
    if (!WriteHostFile(call.context.FilePath(line.Arg(1)), bytes))
        return call.Refuse("cannot write " + line.Arg(1));
    return true;
}

bool WriteTable(SetupCall& call) {
    const Line& line = call.line;
    if (line.Size() < 3 || line.Arg(2).rfind("builtin=", 0) != 0)
        return call.Refuse("table takes PATH builtin=B REC...");
    int64_t builtin;
    if (!ParseNumber(line.Arg(2).substr(8), builtin))
        return call.Refuse("bad built-in count");
    std::vector<fmt::FormatRecord> records;
    for (size_t i = 3; i < line.Size(); ++i) {
        fmt::FormatRecord record;
        if (!ParseRecordSpec(line.Arg(i), record))
            return call.Refuse("bad record '" + line.Arg(i) + "'");
        records.push_back(record);
    }
    const std::vector<uint8_t> bytes =
        fmt::EncodeTableFile(static_cast<uint16_t>(builtin), records);
    if (!WriteHostFile(call.context.FilePath(line.Arg(1)), bytes))
        return call.Refuse("cannot write " + line.Arg(1));
    return true;
}

bool PresetChip(SetupCall& call) {
    const Line& line = call.line;
    int64_t bus, reg, value;
    if (line.Size() != 4 || !ParseNumber(line.Arg(1), bus) || !ParseNumber(line.Arg(2), reg) ||
        !ParseNumber(line.Arg(3), value) || value < 0 || value > 0xFF || reg < 0) {
        return call.Refuse("chip takes BUS REG VALUE");
    }
    return call.world.PresetChipRegister(static_cast<uint32_t>(bus), static_cast<uint32_t>(reg),
                                         static_cast<uint8_t>(value), call.error);
}

bool FailWrites(SetupCall& call) {
    const Line& line = call.line;
    int64_t bytes;
    if (line.Size() != 4 || line.Arg(2) != "after" || !ParseNumber(line.Arg(3), bytes) ||
        bytes < 0) {
        return call.Refuse("write-fails takes PATH|* after N");
    }
    // "*" unquoted: every file the program writes.
    std::string host;
    const bool everyFile = !line.tokens[1].quoted && line.Arg(1) == "*";
    if (!everyFile && !ScratchPath(call.context, line, 1, host, call.error))
        return false;
    call.world.FailWritesAfter(host, static_cast<size_t>(bytes));
    return true;
}

// The path of a fault line that changes one file or folder of the scratch folder.
bool FaultPath(SetupCall& call, size_t arguments, const std::string& takes, std::string& host) {
    if (call.line.Size() != arguments + 1)
        return call.Refuse(takes);
    return ScratchPath(call.context, call.line, 1, host, call.error);
}

bool Failed(SetupCall& call, const std::error_code& failed) {
    if (failed)
        return call.Refuse(call.line.Verb() + ": " + failed.message());
    return true;
}

bool MakeReadOnly(SetupCall& call) {
    std::string host;
    if (!FaultPath(call, 1, "read-only takes a PATH", host))
        return false;
#if defined(_WIN32)
    std::error_code failed;
    if (fs::is_directory(host, failed)) {
        // What Windows cannot be told by a test that runs without privileges of its own.
        call.context.Skip(call.line,
                          "a folder's read-only attribute keeps no new file out on Windows");
        return true;
    }
#endif
    return call.world.MakeReadOnly(host, call.error);
}

bool MakeMissing(SetupCall& call) {
    std::string host;
    if (!FaultPath(call, 1, "missing takes a PATH", host))
        return false;
    std::error_code failed;
    fs::remove_all(host, failed);
    return Failed(call, failed);
}

bool MakePipe(SetupCall& call) {
    std::string host;
    if (!FaultPath(call, 1, "pipe takes a PATH", host))
        return false;
#if defined(_WIN32)
    call.context.Skip(call.line, "Windows keeps no named pipe among the files of a folder");
    return true;
#else
    std::error_code failed;
    fs::create_directories(fs::path(host).parent_path(), failed);
    if (!failed && ::mkfifo(host.c_str(), 0666) != 0)
        failed = std::error_code(errno, std::generic_category());
    return Failed(call, failed);
#endif
}

bool MakeLink(SetupCall& call) {
    std::string host;
    if (call.line.Size() == 4 && call.line.Arg(2) != "to")
        return call.Refuse("link takes PATH to TARGET");
    if (!FaultPath(call, 3, "link takes PATH to TARGET", host))
        return false;
#if defined(_WIN32)
    call.context.Skip(call.line,
                      "a symbolic link needs a privilege on Windows that the tests lack");
    return true;
#else
    std::error_code failed;
    fs::create_directories(fs::path(host).parent_path(), failed);
    // The target is written as given: a relative one is relative to the link's folder.
    if (!failed)
        fs::create_symlink(call.line.Arg(3), host, failed);
    return Failed(call, failed);
#endif
}

struct SetupVerb {
    const char* verb;
    bool (*apply)(SetupCall&);
    bool fault;       // arranges a fault, in the scenario's own files or the card
    bool afterStart;  // also a line of the story: another program doing it at that moment
};

constexpr SetupVerb kSetupVerbs[] = {
    {"machine", SetMachine, false, false},    {"codepage", SetCodePage, false, false},
    {"com-fails", SetComFails, false, false}, {"device", AddDevice, false, false},
    {"file", WriteFile, false, true},         {"table", WriteTable, false, true},
    {"read-only", MakeReadOnly, true, false}, {"missing", MakeMissing, true, false},
    {"pipe", MakePipe, true, false},          {"link", MakeLink, true, false},
    {"write-fails", FailWrites, true, false}, {"chip", PresetChip, true, false},
};

const SetupVerb* FindSetupVerb(const std::string& verb) {
    for (const SetupVerb& entry : kSetupVerbs) {
        if (verb == entry.verb)
            return &entry;
    }
    return nullptr;
}

}  // namespace

bool IsSetupVerb(const std::string& verb) {
    return FindSetupVerb(verb) != nullptr;
}

bool IsStoryWriteVerb(const std::string& verb) {
    const SetupVerb* entry = FindSetupVerb(verb);
    return entry != nullptr && entry->afterStart;
}

bool IsFaultSetupVerb(const std::string& verb) {
    const SetupVerb* entry = FindSetupVerb(verb);
    return entry != nullptr && entry->fault;
}

bool ParseHexText(const std::string& text, std::vector<uint8_t>& bytes) {
    return ParseHexBytes(text, bytes);
}

bool ApplySetup(IScenarioContext& context, const Line& line, CWorld& world, bool& comFails,
                std::string& error) {
    const SetupVerb* entry = FindSetupVerb(line.Verb());
    if (entry == nullptr) {
        error = "unknown set-up line";
        return false;
    }
    SetupCall call{context, line, world, comFails, error};
    return entry->apply(call);
}

}  // namespace scenarios
