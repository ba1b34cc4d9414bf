// Running the calculator and reading what it prints.
#include "Calculator.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace standards {

std::string RunCalculator(const std::string& arguments) {
    std::string out;
    FILE* pipe = ::popen(("edid-decode " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

bool CalculatorInstalled() {
    return RunCalculator("--help").find("--cvt") != std::string::npos;
}

namespace {

int After(const std::string& line, const std::string& word) {
    const size_t at = line.find(word);
    return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + word.size());
}

bool Positive(const std::string& line, const char* word) {
    const size_t at = line.find(word);
    return at != std::string::npos && line[at + 5] == 'P';
}

}  // namespace

std::vector<Printed> ParsePrinted(const std::string& text) {
    std::vector<Printed> all;
    std::istringstream in(text);
    std::string line;
    int verticalLines = 0;
    while (std::getline(in, line)) {
        const size_t colon = line.find(':');
        if (line.find("Hfront") != std::string::npos && !all.empty()) {
            Timing& t = all.back().Value;
            const int border = After(line, "Hborder");
            t.HFrontPorch = After(line, "Hfront") + border;
            t.HSync = After(line, "Hsync");
            t.HTotal = t.HActive + t.HFrontPorch + t.HSync + After(line, "Hback") + border;
            t.HSyncPositive = Positive(line, "Hpol");
            verticalLines = 0;
        } else if (line.find("Vfront") != std::string::npos && !all.empty()) {
            if (verticalLines++ > 0)
                continue;  // the even field repeats the odd one but for its half line
            Timing& t = all.back().Value;
            const int border = After(line, "Vborder");
            const int front = After(line, "Vfront") + border;
            const int sync = After(line, "Vsync");
            const int back = After(line, "Vback") + border;
            t.VSyncPositive = Positive(line, "Vpol");
            if (!t.Interlaced) {
                t.VFrontPorch = front;
                t.VSync = sync;
                t.VTotal = t.VActive + front + sync + back;
            } else {
                const int half = line.find("Both Fields") != std::string::npos ? 0 : 1;
                t.VFrontPorch = 2 * front + half;
                t.VSync = 2 * sync;
                t.VTotal = t.VActive + 2 * (front + sync + back) + half;
            }
        } else if (colon != std::string::npos && line.find(" MHz") != std::string::npos) {
            Printed p;
            p.Title = line.substr(0, colon);
            std::istringstream fields(line.substr(colon + 1));
            std::string size, rate, hz;
            fields >> size >> rate >> hz >> p.Aspect;
            Timing& t = p.Value;
            t.Interlaced = !size.empty() && size.back() == 'i';
            std::sscanf(size.c_str(), "%dx%d", &t.HActive, &t.VActive);
            const size_t mhz = line.rfind(" MHz");
            const size_t start = line.rfind(' ', mhz - 1);
            t.PixelClockKHz = std::atof(line.c_str() + start) * 1000.0;
            all.push_back(p);
        }
    }
    return all;
}

std::string Describe(const Timing& t) {
    char text[200];
    std::snprintf(text, sizeof text, "%dx%d%s H %d/%d/%d%c V %d/%d/%d%c %.3f kHz", t.HActive,
                  t.VActive, t.Interlaced ? "i" : "", t.HFrontPorch, t.HSync, t.HTotal,
                  t.HSyncPositive ? '+' : '-', t.VFrontPorch, t.VSync, t.VTotal,
                  t.VSyncPositive ? '+' : '-', t.PixelClockKHz);
    return text;
}

bool Same(const Timing& a, const Timing& b, double clockSlackKHz) {
    Timing x = a;
    x.PixelClockKHz = b.PixelClockKHz;
    return x == b && std::fabs(a.PixelClockKHz - b.PixelClockKHz) <= clockSlackKHz;
}

}  // namespace standards
