// The edits of a table file: formats switched on and off, user formats deleted, imported from
// another table or made from a standard timing. Each edit is worked out whole in memory, then
// written in one step as Apply writes "format.bin", or not at all: when it changes no byte, when
// it is refused, or with --dry-run.
#include <algorithm>

#include "app/Messages.h"
#include "tools/device/Commands.h"
#include "tools/device/Selectors.h"
#include "tools/device/StandardRecord.h"
#include "tools/device/TableFiles.h"
#include "tools/table/Text.h"

namespace devicetool {
namespace {

using platform::FormatText;

Json Describe(const fmt::FormatTable& table, size_t index, const char* action) {
    const fmt::FormatRecord record = table.Record(index);
    return Json{{"action", action},           {"list", ListName(table, index)},
                {"id", ListId(table, index)}, {"format", SizeOf(record)},
                {"rate", RateOf(record)},     {"tag", tabletool::TagDisplay(record.TagBytes)}};
}

std::string LineOf(const Json& change) {
    return FormatText("%-8s %-8s %-3d %-10s %s", change["action"].get<std::string>().c_str(),
                      change["list"].get<std::string>().c_str(), change["id"].get<int>(),
                      change["format"].get<std::string>().c_str(),
                      change["rate"].get<std::string>().c_str());
}

// Every selector must name at least one record of the lists it may reach: a mistyped Id or
// size is a refusal, never an edit that quietly does nothing.
bool Resolve(Context& c, const fmt::FormatTable& table, const std::vector<std::string>& texts,
             bool userOnly, std::vector<size_t>& chosen, int& code) {
    for (const std::string& text : texts) {
        Selector s;
        std::string why;
        if (!ParseSelector(text, s, why)) {
            c.Report.Error(why);
            code = kUsage;
            return false;
        }
        if (userOnly && s.In == Selector::List::Builtin) {
            c.Report.Error("\"" + text + "\": built-in formats cannot be deleted, only user ones");
            code = kUsage;
            return false;
        }
        if (userOnly)
            s.In = Selector::List::User;
        const std::vector<size_t> found = Select(s, table);
        if (found.empty()) {
            c.Report.Error(FormatText("\"%s\" names no %s", text.c_str(),
                                      s.In == Selector::List::Builtin ? "built-in format"
                                      : s.In == Selector::List::User  ? "user format"
                                                                      : "format"));
            code = kProblem;
            return false;
        }
        chosen.insert(chosen.end(), found.begin(), found.end());
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return true;
}

int Switch(Context& c, fmt::FormatTable& table, const std::vector<std::string>& texts, bool on,
           Json& changes) {
    std::vector<size_t> chosen;
    int code = kDone;
    if (!Resolve(c, table, texts, false, chosen, code))
        return code;
    // The flags Apply writes: 1 on, 0 off. A flag of 2 that is switched on becomes 1, as Apply
    // writes a ticked row.
    const uint32_t flag = on ? 1 : 0;
    for (size_t i : chosen) {
        if (table.EnableFlags[i] == flag)
            continue;
        Json change = Describe(table, i, on ? "enable" : "disable");
        change["enabledBefore"] = table.EnableFlags[i];
        change["enabledAfter"] = flag;
        table.EnableFlags[i] = flag;
        changes.push_back(change);
    }
    return kDone;
}

int Delete(Context& c, fmt::FormatTable& table, const std::vector<std::string>& texts,
           Json& changes) {
    std::vector<size_t> chosen;
    int code = kDone;
    if (!Resolve(c, table, texts, true, chosen, code))
        return code;
    for (size_t i : chosen)
        changes.push_back(Describe(table, i, "delete"));
    // From the last one back, so that the Ids named are the ones the table had before.
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
        table.RemoveUserRecord(*it - table.BuiltinCount);
    return kDone;
}

bool HoldsUserFormat(const fmt::FormatTable& table, const fmt::FormatRecord& record) {
    for (size_t i = table.BuiltinCount; i < table.RecordCount; ++i) {
        if (table.Record(i) == record)
            return true;
    }
    return false;
}

int Import(Context& c, fmt::FormatTable& table, const std::string& path, Json& changes) {
    fmt::FormatTable file;
    std::string why;
    if (!LoadTable(path, file, why)) {
        c.Report.Error(path + ": " + app::kMsgNoImportFile + " (it " + why + ")");
        return kUsage;
    }
    // The file's built-in formats are not taken; its user formats come in file order, each
    // with its own enable flag, again if the table has them already (unless --new-only).
    std::vector<fmt::FormatRecord> taken;
    std::vector<size_t> from;
    fmt::FormatTable probe = table;
    for (size_t i = file.BuiltinCount; i < file.RecordCount; ++i) {
        const fmt::FormatRecord record = file.Record(i);
        if (c.Opts.NewOnly && HoldsUserFormat(probe, record))
            continue;
        if (probe.RecordCount < fmt::kMaxRecords)
            probe.AppendUserRecord(record);
        taken.push_back(record);
        from.push_back(i - file.BuiltinCount);
    }
    // Taking some of the file's formats would silently drop the rest: take none.
    if (table.RecordCount + taken.size() > fmt::kMaxRecords) {
        c.Report.Error(path + ": " + app::kMsgImportTooMany +
                       FormatText(" (%u formats held, %u to import)", table.RecordCount,
                                  tabletool::Count(taken.size())));
        return kProblem;
    }
    for (size_t k = 0; k < taken.size(); ++k) {
        table.AppendUserRecord(taken[k]);
        Json change = Describe(table, table.RecordCount - 1u, "import");
        change["from"] = FormatText("user %u of %s", tabletool::Count(from[k]), path.c_str());
        changes.push_back(change);
    }
    return kDone;
}

int Add(Context& c, fmt::FormatTable& table, const std::vector<std::string>& words, Json& changes) {
    StandardRecord made;
    const int code = MakeStandardRecord(c, words, made);
    if (code != kDone)
        return code;
    c.Report.Doc()["measurement"] = made.Measurement;
    if (c.Opts.NewOnly && HoldsUserFormat(table, made.Record)) {
        c.Report.Line("the table holds this format already");
        return kDone;
    }
    if (table.RecordCount >= fmt::kMaxRecords) {
        c.Report.Error(app::kMsgTableFull);
        return kProblem;
    }
    table.AppendUserRecord(made.Record);
    Json change = Describe(table, table.RecordCount - 1u, "add");
    change["standard"] = made.Standard;
    change["timing"] = made.TimingName;
    if (!made.Note.empty())
        change["note"] = made.Note;
    changes.push_back(change);
    return kDone;
}

}  // namespace

int EditTable(Context& c, const std::vector<std::string>& words) {
    const std::string& command = words[0];
    const std::string& path = words[1];
    const std::vector<std::string> rest(words.begin() + 2, words.end());
    Json& doc = c.Report.Doc();
    doc["file"] = path;
    doc["dryRun"] = c.Opts.DryRun;
    doc["changed"] = false;
    doc["written"] = false;
    doc["changedMeanwhile"] = false;
    doc["changes"] = Json::array();

    // With --system, drive paths ("C:\Windows\System32\format.bin") are that machine's files.
    int code = kDone;
    if (!c.Opts.System.empty() && OpenMachine(c, code) == nullptr)
        return code;
    fmt::FormatTable table;
    std::string why;
    platform::FileContents read;
    if (!LoadTable(path, table, why, read)) {
        c.Report.Error(path + ": " + why);
        return kUsage;
    }
    const std::vector<uint8_t> before = TableBytes(table);

    Json changes = Json::array();
    if (command == "enable" || command == "disable") {
        code = Switch(c, table, rest, command == "enable", changes);
    } else if (command == "delete") {
        code = Delete(c, table, rest, changes);
    } else if (command == "import") {
        code = Import(c, table, rest[0], changes);
    } else {
        code = Add(c, table, rest, changes);
    }
    if (code != kDone) {
        c.Report.Line(path + ": nothing written");
        return code;
    }
    for (const Json& change : changes)
        c.Report.Line(LineOf(change));
    doc["changes"] = changes;
    doc["builtinCount"] = table.BuiltinCount;
    doc["userCount"] = table.UserCount;

    const bool changed = TableBytes(table) != before;
    doc["changed"] = changed;
    const std::string count =
        FormatText("%u change%s", tabletool::Count(changes.size()), changes.size() == 1 ? "" : "s");
    if (!changed) {
        c.Report.Line(path + ": unchanged");
        return kDone;
    }
    if (c.Opts.DryRun) {
        c.Report.Line(path + ": " + count + ", not written (--dry-run)");
        return kDone;
    }
    // Written over the file as it was read, or not at all: an edit another program made
    // meanwhile is never lost without a word.
    switch (table.WriteFormatFileIfUnchanged(path, "format.bin", false, read)) {
        case platform::ReplaceResult::Replaced:
            break;
        case platform::ReplaceResult::Changed:
            c.Report.Error(path + ": " + ChangedMeanwhile("it"));
            doc["changed"] = false;
            doc["changedMeanwhile"] = true;
            return kProblem;
        case platform::ReplaceResult::Failed:
            c.Report.Error(path + ": cannot be written (it was left as it was)" + WriteFailure(c));
            doc["changed"] = false;
            return kProblem;
    }
    doc["written"] = true;
    c.Report.Line(path + ": " + count + ", written");
    return kDone;
}

}  // namespace devicetool
