// The timing of a modeline or of an EDID file a command line gives: read as the editor's
// "Standard..." dialog reads them, so that `add` stores what the dialog's choice stores.
#include <cctype>

#include "platform/Platform.h"
#include "timing/TimingSources.h"
#include "tools/device/DeviceTool.h"
#include "tools/device/StandardChoice.h"

namespace devicetool {
namespace {

std::string Upper(std::string text) {
    for (char& ch : text)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

// Words joined by single blanks, the blanks inside a word as they are.
std::string Joined(const std::vector<std::string>& words, size_t from) {
    std::string text;
    for (size_t i = from; i < words.size(); ++i)
        text += (i > from ? " " : "") + words[i];
    return text;
}

// "dtd  2" is "DTD 2": a row is named by its label in any case and spacing.
std::string Normal(const std::string& label) {
    std::string text;
    for (char ch : Upper(label)) {
        if (ch == ' ' && (text.empty() || text.back() == ' '))
            continue;
        text += ch;
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string RowList(const standards::EdidReading& edid) {
    std::string text;
    for (size_t i = 0; i < edid.Rows.size(); ++i) {
        text += platform::FormatText("%s %u \"%s\" (%s)", i == 0 ? "" : ",",
                                     static_cast<unsigned>(i + 1), edid.Rows[i].Label.c_str(),
                                     standards::TimingName(edid.Rows[i].Value).c_str());
    }
    return text;
}

int FromEdid(const std::vector<std::string>& given, StandardChoice& choice, std::string& why) {
    if (given.size() < 2) {
        why = "EDID needs a file, and a row when the EDID has no preferred timing";
        return kUsage;
    }
    const std::string& path = given[1];
    const standards::EdidReading edid = timing::ReadEdidAt(path);
    if (!edid.Ok) {
        why = path + ": " + edid.Why;
        return kUsage;
    }
    if (edid.Rows.empty()) {
        why = path + ": the EDID describes no timing a format can hold";
        return kProblem;
    }
    const std::string asked = Normal(Joined(given, 2));
    size_t row = edid.Rows.size();
    if (asked.empty()) {
        // The first detailed timing of the base block is the display's preferred one.
        if (edid.Rows[0].Label == "DTD 1")
            row = 0;
    } else if (asked.find_first_not_of("0123456789") == std::string::npos && asked.size() < 5) {
        const size_t number = std::stoul(asked);
        if (number >= 1 && number <= edid.Rows.size())
            row = number - 1;
    } else {
        for (size_t i = 0; i < edid.Rows.size() && row == edid.Rows.size(); ++i) {
            if (Normal(edid.Rows[i].Label) == asked)
                row = i;
        }
    }
    if (row == edid.Rows.size()) {
        why = path +
              (asked.empty() ? ": the EDID names no preferred timing (DTD 1); name a row:"
                             : ": the EDID has no row \"" + Joined(given, 2) + "\"; its rows:") +
              RowList(edid);
        return kProblem;
    }
    choice.Timing = edid.Rows[row].Value;
    choice.Standard = "EDID " + edid.Rows[row].Label;
    choice.Note = edid.Rows[row].Note;
    return kDone;
}

}  // namespace

bool ChooseFromSource(const std::vector<std::string>& given, StandardChoice& choice,
                      std::string& why, int& code) {
    const std::string name = given.empty() ? "" : Upper(given[0]);
    if (name == "EDID") {
        code = FromEdid(given, choice, why);
        return true;
    }
    if (name != "MODELINE")
        return false;
    const standards::ModelineReading r = standards::ReadModeline(Joined(given, 1));
    if (!r.Ok) {
        why = "MODELINE: " + r.Why;
        code = kUsage;
        return true;
    }
    choice.Timing = r.Value;
    choice.Standard = r.Name.empty() ? "Modeline" : "Modeline \"" + r.Name + "\"";
    choice.Note = r.Note;
    code = kDone;
    return true;
}

}  // namespace devicetool
