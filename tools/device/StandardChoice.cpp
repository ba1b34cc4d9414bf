#include "tools/device/StandardChoice.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "tools/device/DeviceTool.h"
#include "tools/table/Text.h"

namespace devicetool {
namespace {

std::string Upper(std::string text) {
    for (char& ch : text)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

bool Digits(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

constexpr double kRateSlack = 0.05;  // Hz, as the lists fit a typed rate

// A plain decimal rate: "60", "59.94".
bool ParseRate(const std::string& rate, double& value) {
    if (rate.empty() || rate.size() > 16 || rate.front() == '.' ||
        std::count(rate.begin(), rate.end(), '.') > 1 ||
        !std::all_of(rate.begin(), rate.end(), [](char ch) {
            return ch == '.' || std::isdigit(static_cast<unsigned char>(ch));
        })) {
        return false;
    }
    value = std::strtod(rate.c_str(), nullptr);
    return value > 0.0;
}

// "1920x1080p60", "1920x1080i59.94", "1920x1080@60", "1920x1080": width, height, scan and rate
// (0 when not given).
bool ParseTiming(const std::string& text, standards::Request& r) {
    const size_t x = text.find('x');
    if (x == std::string::npos || !Digits(text.substr(0, x)))
        return false;
    size_t end = x + 1;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (!Digits(text.substr(x + 1, end - x - 1)))
        return false;
    r = standards::Request{};
    r.Width = std::atoi(text.substr(0, x).c_str());
    r.Height = std::atoi(text.substr(x + 1, end - x - 1).c_str());
    // "0x52" is a DMT id, not a size.
    if (r.Width <= 0 || r.Height <= 0)
        return false;
    if (end == text.size())
        return true;
    const char scan = text[end];
    if (scan != 'p' && scan != 'i' && scan != '@')
        return false;
    r.Interlaced = scan == 'i';
    return ParseRate(text.substr(end + 1), r.Rate);
}

bool FormulaNamed(const std::string& name, standards::Formula& formula) {
    for (standards::Formula f :
         {standards::Formula::Cvt, standards::Formula::CvtRb, standards::Formula::CvtRb2,
          standards::Formula::CvtRb3, standards::Formula::Gtf}) {
        if (name == standards::FormulaName(f)) {
            formula = f;
            return true;
        }
    }
    return false;
}

// Every row a list shows, progressive and interlaced, the unrepeated ones included.
std::vector<standards::Listed> WholeList(standards::TableEntry::Source source) {
    std::vector<standards::Listed> all = standards::FittingEntries(source, {});
    standards::Request interlaced;
    interlaced.Interlaced = true;
    for (const standards::Listed& l : standards::FittingEntries(source, interlaced))
        all.push_back(l);
    return all;
}

// The rows of a list that carry an entry's code, one per rate.
std::vector<standards::Listed> RowsOf(standards::TableEntry::Source source, int code,
                                      bool unrepeated) {
    std::vector<standards::Listed> rows;
    for (const standards::Listed& row : WholeList(source)) {
        if (row.Entry->Code == code && row.Unrepeated == unrepeated)
            rows.push_back(row);
    }
    return rows;
}

bool RateFits(const standards::Timing& t, double rate) {
    return std::fabs(standards::RefreshRate(t) - rate) <= kRateSlack;
}

// The shortest words that name this row alone: its label, or its label and rate when the
// entry has two rates.
std::string WordsFor(const standards::Listed& row) {
    const std::string label = standards::ListedLabel(row);
    for (const standards::Listed& other :
         RowsOf(row.Entry->From, row.Entry->Code, row.Unrepeated)) {
        if (!(other.Value == row.Value))
            return label + " " + platform::FormatText("%.2f", standards::RefreshRate(row.Value));
    }
    return label;
}

// One timing out of the rows; rows that only differ in their picture aspect are one timing.
int OneOf(const std::vector<standards::Listed>& rows, const std::vector<std::string>& words,
          const std::string& none, StandardChoice& choice, std::string& why) {
    if (rows.empty()) {
        why = none;
        return kProblem;
    }
    for (const standards::Listed& row : rows) {
        if (!(row.Value == rows.front().Value)) {
            why = "\"";
            for (size_t i = 0; i < words.size(); ++i)
                why += (i > 0 ? " " : "") + words[i];
            why += "\" gives several timings; name one:";
            for (const standards::Listed& r : rows) {
                why += " \"" + WordsFor(r) + "\" (" + standards::TimingName(r.Value) +
                       platform::FormatText(", total %dx%d", r.Value.HTotal, r.Value.VTotal) +
                       (r.Entry->Aspect[0] != '\0' ? std::string(", ") + r.Entry->Aspect : "") +
                       "),";
            }
            why.pop_back();
            return kProblem;
        }
    }
    choice.Timing = rows.front().Value;
    choice.Standard = standards::ListedLabel(rows.front());
    return kDone;
}

}  // namespace

int ChooseStandard(const std::vector<std::string>& given, StandardChoice& choice,
                   std::string& why) {
    choice = StandardChoice{};
    int fromSource = kDone;
    if (ChooseFromSource(given, choice, why, fromSource))
        return fromSource;
    // "VIC 16" arrives as one word when quoted and as two when not; both mean the same.
    std::vector<std::string> words;
    for (const std::string& word : given) {
        size_t at = 0;
        while (at < word.size()) {
            const size_t space = word.find(' ', at);
            const size_t end = space == std::string::npos ? word.size() : space;
            if (end > at)
                words.push_back(word.substr(at, end - at));
            at = end + 1;
        }
    }
    const std::string name = words.empty() ? "" : Upper(words[0]);
    standards::Formula formula = standards::Formula::Cvt;
    standards::Request request;
    if (FormulaNamed(name, formula)) {
        if (words.size() != 2 || !ParseTiming(words[1], request) || request.Rate <= 0.0) {
            why = name + " needs a timing with its rate, such as 1920x1080p60";
            return kUsage;
        }
        const standards::Outcome outcome = standards::Compute(formula, request);
        if (!outcome.Ok) {
            why = name + ": " + outcome.Why;
            return kProblem;
        }
        choice.Timing = outcome.Result;
        choice.Standard = name;
        choice.Note = outcome.Note;
        return kDone;
    }

    const bool dmt = name == "DMT";
    const bool cta = name == "CTA-861" || name == "VIC";
    if (!dmt && !cta) {
        why = "\"" + (words.empty() ? std::string() : words[0]) +
              "\" is no standard: CVT, CVT-RB, CVT-RB2, CVT-RB3, GTF, DMT, CTA-861, VIC, "
              "MODELINE or EDID";
        return kUsage;
    }
    const auto source = dmt ? standards::TableEntry::Dmt : standards::TableEntry::Cta;
    if (name != "VIC" && words.size() == 2 && ParseTiming(words[1], request)) {
        return OneOf(
            standards::FittingEntries(source, request), words,
            std::string("No ") + (dmt ? "DMT" : "CTA-861") + " timing fits " + words[1] + ".",
            choice, why);
    }
    // One entry by its code: DMT ids as the list writes them (0x52), VICs in decimal; then
    // "unrepeated" and a rate, each when wanted.
    int code = -1;
    bool unrepeated = false;
    double rate = 0.0;
    if (words.size() >= 2) {
        const std::string& text = words[1];
        if (dmt && text.size() > 2 && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)) {
            char* end = nullptr;
            const long value = std::strtol(text.c_str() + 2, &end, 16);
            if (*end == '\0' && value >= 0 && value < 0x10000)
                code = static_cast<int>(value);
        } else if (Digits(text)) {
            code = std::atoi(text.c_str());
        }
        size_t next = 2;
        if (next < words.size() && Upper(words[next]) == "UNREPEATED") {
            unrepeated = true;
            ++next;
        }
        if (next < words.size() && ParseRate(words[next], rate))
            ++next;
        if (next != words.size())
            code = -1;
    }
    if (code < 0) {
        why = name + " needs a timing (1920x1080p60) or an entry (\"DMT 0x52\", \"VIC 16\", " +
              "\"VIC 16 59.94\", \"VIC 6 unrepeated\")";
        return kUsage;
    }
    std::vector<standards::Listed> rows;
    for (const standards::Listed& row : RowsOf(source, code, unrepeated)) {
        if (rate <= 0.0 || RateFits(row.Value, rate))
            rows.push_back(row);
    }
    std::string asked = words[1];
    for (size_t i = 2; i < words.size(); ++i)
        asked += " " + words[i];
    return OneOf(
        rows, words,
        std::string(dmt ? "The DMT list" : "The CTA-861 list") + " has no entry " + asked + ".",
        choice, why);
}

}  // namespace devicetool
