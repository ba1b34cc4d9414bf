// X11 modelines, read into the editor's terms and written from them.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "standards/Sources.h"

namespace standards {

namespace {

constexpr size_t kLongestText = 4096;  // far beyond any modeline; a pasted file is no modeline
constexpr int kLargestTotal = 65535;   // a format's 16-bit fields
constexpr double kSmallestClockMHz = 0.001;
constexpr double kLargestClockMHz = 100000.0;

struct Token {
    std::string Text;
    bool Quoted = false;
};

std::string Lower(std::string text) {
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

bool Blank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

bool Tokens(const std::string& text, std::vector<Token>& tokens, std::string& why) {
    size_t at = 0;
    while (at < text.size()) {
        if (Blank(text[at])) {
            ++at;
            continue;
        }
        Token token;
        if (text[at] == '"') {
            const size_t end = text.find('"', at + 1);
            if (end == std::string::npos) {
                why = "The mode's name has no closing quote.";
                return false;
            }
            token.Text = text.substr(at + 1, end - at - 1);
            token.Quoted = true;
            at = end + 1;
        } else {
            const size_t start = at;
            while (at < text.size() && !Blank(text[at]) && text[at] != '"')
                ++at;
            token.Text = text.substr(start, at - start);
        }
        tokens.push_back(token);
    }
    return true;
}

// Digits with at most one decimal point: "173", "173.00", ".5" is refused.
bool IsDecimal(const std::string& text) {
    if (text.empty() || text.size() > 20 || !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    int points = 0;
    for (char ch : text) {
        if (ch == '.')
            ++points;
        else if (!std::isdigit(static_cast<unsigned char>(ch)))
            return false;
    }
    return points <= 1 && text.back() != '.';
}

bool WholeNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    for (char ch : text) {
        if (!std::isdigit(static_cast<unsigned char>(ch)))
            return false;
    }
    value = std::atoi(text.c_str());
    return true;
}

std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

// One direction's four numbers: active, sync start, sync end, total.
bool CheckDirection(const char* direction, const int (&v)[4], std::string& why) {
    char text[200];
    const char* problem = nullptr;
    if (v[0] <= 0)
        problem = "its active size is 0";
    else if (v[1] < v[0])
        problem = "its sync starts inside the active part";
    else if (v[2] <= v[1])
        problem = "its sync ends before it starts";
    else if (v[3] < v[2])
        problem = "its total ends before the sync does";
    else if (v[3] > kLargestTotal)
        problem = "its total is beyond what a format holds (65535)";
    if (problem == nullptr)
        return true;
    std::snprintf(text, sizeof text, "The %s values %d %d %d %d do not make a timing: %s.",
                  direction, v[0], v[1], v[2], v[3], problem);
    why = text;
    return false;
}

}  // namespace

ModelineReading ReadModeline(const std::string& text) {
    ModelineReading r;
    if (text.size() > kLongestText) {
        r.Why = "The text is too long to be a modeline.";
        return r;
    }
    std::vector<Token> tokens;
    if (!Tokens(text, tokens, r.Why))
        return r;
    size_t i = 0;
    if (i < tokens.size() && !tokens[i].Quoted && Lower(tokens[i].Text) == "modeline")
        ++i;
    // The name is quoted as cvt and gtf print it, or a bare word as xrandr --newmode takes it.
    if (i < tokens.size() && (tokens[i].Quoted || !IsDecimal(tokens[i].Text)))
        r.Name = tokens[i++].Text;
    if (tokens.size() - i < 9) {
        r.Why = tokens.empty() ? "Type or paste a modeline: a clock in MHz and eight numbers."
                               : "A modeline needs a pixel clock in MHz and eight numbers, four "
                                 "horizontal and four vertical.";
        return r;
    }
    if (!IsDecimal(tokens[i].Text)) {
        r.Why = Quote(tokens[i].Text) + " is no pixel clock: a number of MHz such as 148.50.";
        return r;
    }
    const std::string clockText = tokens[i++].Text;
    const double clockMHz = std::strtod(clockText.c_str(), nullptr);
    if (!(clockMHz > 0.0)) {
        r.Why = "The pixel clock must be above 0 MHz.";
        return r;
    }
    if (clockMHz < kSmallestClockMHz || clockMHz > kLargestClockMHz) {
        r.Why = "A pixel clock of " + clockText + " MHz is beyond what any signal has.";
        return r;
    }
    int h[4];
    int v[4];
    for (int k = 0; k < 8; ++k, ++i) {
        if (!WholeNumber(tokens[i].Text, k < 4 ? h[k] : v[k - 4])) {
            r.Why = Quote(tokens[i].Text) + " is no whole number of " +
                    (k < 4 ? "pixels" : "lines") + ".";
            return r;
        }
    }
    if (!CheckDirection("horizontal", h, r.Why) || !CheckDirection("vertical", v, r.Why))
        return r;

    int hPolarity = 0;  // -1, +1, 0 when not given
    int vPolarity = 0;
    bool interlaced = false;
    for (; i < tokens.size(); ++i) {
        const std::string flag = Lower(tokens[i].Text);
        int* polarity = flag == "+hsync" || flag == "-hsync"   ? &hPolarity
                        : flag == "+vsync" || flag == "-vsync" ? &vPolarity
                                                               : nullptr;
        if (polarity != nullptr) {
            const int sign = flag[0] == '+' ? 1 : -1;
            if (*polarity == -sign) {
                r.Why = "The modeline gives both polarities of the same sync.";
                return r;
            }
            *polarity = sign;
        } else if (flag == "interlace" || flag == "interlaced") {
            interlaced = true;
        } else if (flag == "doublescan") {
            r.Why = "DoubleScan sends every line twice, which a format cannot hold.";
            return r;
        } else if (flag == "composite" || flag == "+csync" || flag == "-csync") {
            r.Why =
                "Composite sync is not the separate horizontal and vertical sync a format "
                "holds.";
            return r;
        } else if (flag == "vscan" || flag == "hskew" || flag == "bcast") {
            r.Why = Quote(tokens[i].Text) +
                    " changes how the lines are sent, which a format "
                    "cannot hold.";
            return r;
        } else {
            r.Why = Quote(tokens[i].Text) +
                    " is no modeline flag: +hsync, -hsync, +vsync, "
                    "-vsync or Interlace.";
            return r;
        }
    }
    if (interlaced && v[0] % 2 != 0) {
        r.Why = "An interlaced height must be even: each field has half of it.";
        return r;
    }

    Timing& t = r.Value;
    t.HActive = h[0];
    t.HFrontPorch = h[1] - h[0];
    t.HSync = h[2] - h[1];
    t.HTotal = h[3];
    t.VActive = v[0];
    // An interlaced mode's odd total is the two half lines of its fields: one more line of
    // front porch in the editor's terms, as the standards count it (1080i: VFP 5, VS 10).
    t.VFrontPorch = v[1] - v[0] + (interlaced && v[3] % 2 != 0 ? 1 : 0);
    t.VSync = v[2] - v[1];
    t.VTotal = v[3];
    t.Interlaced = interlaced;
    t.HSyncPositive = hPolarity > 0;
    t.VSyncPositive = vPolarity > 0;
    t.PixelClockKHz = clockMHz * 1000.0;
    if (hPolarity == 0 || vPolarity == 0) {
        r.Note = std::string("The modeline gives no ") +
                 (hPolarity == 0 && vPolarity == 0 ? "sync polarity: both are"
                  : hPolarity == 0                 ? "horizontal sync polarity: it is"
                                                   : "vertical sync polarity: it is") +
                 " taken as negative.";
    }
    r.Ok = true;
    return r;
}

std::string ModeName(const Timing& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%dx%d%s_%.2f", t.HActive, t.VActive, t.Interlaced ? "i" : "",
                  RefreshRate(t));
    return text;
}

std::string WriteModeline(const Timing& t, const std::string& name) {
    const int halfLine = t.Interlaced && t.VTotal % 2 != 0 ? 1 : 0;
    const int h[4] = {t.HActive, t.HActive + t.HFrontPorch, t.HActive + t.HFrontPorch + t.HSync,
                      t.HTotal};
    const int vStart = t.VActive + t.VFrontPorch - halfLine;
    const int v[4] = {t.VActive, vStart, vStart + t.VSync, t.VTotal};
    std::string why;
    if (!(t.PixelClockKHz > 0.0) || h[1] < h[0] || v[1] < v[0] || !CheckDirection("", h, why) ||
        !CheckDirection("", v, why)) {
        return "";
    }
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.2f", RefreshRate(t));
    // Past six decimals, every digit the clock has: that reads back to the very same number.
    char clock[40] = "";
    for (int decimals = 2; decimals <= 7; ++decimals) {
        if (decimals == 7)
            std::snprintf(clock, sizeof clock, "%.17g", t.PixelClockKHz / 1000.0);
        else
            std::snprintf(clock, sizeof clock, "%.*f", decimals, t.PixelClockKHz / 1000.0);
        Timing back = t;
        back.PixelClockKHz = std::strtod(clock, nullptr) * 1000.0;
        char backRate[32];
        std::snprintf(backRate, sizeof backRate, "%.2f", RefreshRate(back));
        if (std::string(backRate) == rate)
            break;
    }
    char text[256];
    std::snprintf(
        text, sizeof text, "Modeline \"%s\"  %s  %d %d %d %d  %d %d %d %d %s%chsync %cvsync",
        name.c_str(), clock, h[0], h[1], h[2], h[3], v[0], v[1], v[2], v[3],
        t.Interlaced ? "Interlace " : "", t.HSyncPositive ? '+' : '-', t.VSyncPositive ? '+' : '-');
    return text;
}

}  // namespace standards
