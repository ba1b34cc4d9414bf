#include "tools/device/Selectors.h"

#include <cstdlib>

#include "tools/device/TableFiles.h"
#include "tools/table/Text.h"

namespace devicetool {
namespace {

// Digits only, no sign or blank: an Id or a size the user meant exactly.
bool WholeNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
    }
    value = std::atoi(text.c_str());
    return true;
}

bool PlainDecimal(const std::string& text, double& value) {
    if (text.empty() || text.size() > 16)
        return false;
    int dots = 0;
    for (char ch : text) {
        if (ch == '.')
            ++dots;
        else if (ch < '0' || ch > '9')
            return false;
    }
    if (dots > 1 || text == ".")
        return false;
    value = std::strtod(text.c_str(), nullptr);
    return true;
}

}  // namespace

bool ParseSelector(const std::string& text, Selector& s, std::string& why) {
    s = Selector{};
    s.Text = text;
    std::string rest = text;
    const size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        const std::string list = rest.substr(0, colon);
        if (list == "user") {
            s.In = Selector::List::User;
        } else if (list == "built-in" || list == "builtin") {
            s.In = Selector::List::Builtin;
        } else {
            why = "\"" + text + "\": the list is user or built-in";
            return false;
        }
        rest = rest.substr(colon + 1);
    }
    if (rest == "all") {
        s.By = Selector::Kind::All;
        return true;
    }
    if (WholeNumber(rest, s.Id)) {
        if (s.In == Selector::List::Any) {
            why = "\"" + text + "\": an Id needs its list, user:" + rest + " or built-in:" + rest;
            return false;
        }
        s.By = Selector::Kind::Id;
        return true;
    }
    const size_t x = rest.find('x');
    const size_t at = rest.find('@');
    const std::string width = rest.substr(0, x);
    const std::string height =
        x == std::string::npos ? "" : rest.substr(x + 1, at == std::string::npos ? at : at - x - 1);
    double rate = 0.0;
    if (x == std::string::npos || !WholeNumber(width, s.Width) || !WholeNumber(height, s.Height) ||
        (at != std::string::npos && !PlainDecimal(rest.substr(at + 1), rate))) {
        why = "\"" + text + "\" is no selector (user:ID, built-in:ID, user:all, 1920x1080@60)";
        return false;
    }
    s.By = Selector::Kind::Size;
    if (at != std::string::npos)
        s.Rate = platform::FormatText("%.2f", rate);
    return true;
}

std::vector<size_t> Select(const Selector& s, const fmt::FormatTable& table) {
    std::vector<size_t> chosen;
    for (size_t i = 0; i < table.RecordCount; ++i) {
        const bool builtin = i < table.BuiltinCount;
        if ((s.In == Selector::List::Builtin && !builtin) ||
            (s.In == Selector::List::User && builtin)) {
            continue;
        }
        const fmt::FormatRecord record = table.Record(i);
        bool match = true;
        if (s.By == Selector::Kind::Id) {
            match = ListId(table, i) == s.Id;
        } else if (s.By == Selector::Kind::Size) {
            match = record.Timing.HActive == s.Width && record.Timing.VActive == s.Height &&
                    (s.Rate.empty() || RateOf(record) == s.Rate);
        }
        if (match)
            chosen.push_back(i);
    }
    return chosen;
}

std::string ListName(const fmt::FormatTable& table, size_t index) {
    return index < table.BuiltinCount ? "built-in" : "user";
}

int ListId(const fmt::FormatTable& table, size_t index) {
    return static_cast<int>(index < table.BuiltinCount ? index : index - table.BuiltinCount);
}

}  // namespace devicetool
