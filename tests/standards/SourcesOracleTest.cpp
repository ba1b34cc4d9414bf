// Modelines and EDIDs against independent programs: the modelines Debian's cvt (libxcvt) and
// gtf (the X server's) print for a grid of sizes and rates read back to the timings those
// programs computed, and EDIDs built here from the layouts pass edid-decode's conformity check
// and list the timings it decodes from them. Each prints how many it compared.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "Calculator.h"
#include "EdidBuilder.h"
#include "standards/Sources.h"

namespace standards {
namespace {

std::string Run(const std::string& command) {
    std::string out;
#if !defined(_WIN32)
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[8192];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
#else
    (void)command;  // the programs are Linux ones; the tests that run them skip on Windows
#endif
    return out;
}

bool Installed(const char* program) {
    return Run(std::string("command -v ") + program).find(program) != std::string::npos;
}

// A modeline's numbers as printed, read without the product's reader.
struct Printed {
    double ClockMHz = 0;
    int H[4] = {};
    int V[4] = {};
    bool HPositive = false, VPositive = false, Interlace = false;
};

bool ScanModeline(const std::string& line, Printed& p) {
    const size_t quote = line.find('"', line.find('"') + 1);
    if (quote == std::string::npos)
        return false;
    if (std::sscanf(line.c_str() + quote + 1, "%lf %d %d %d %d %d %d %d %d", &p.ClockMHz, &p.H[0],
                    &p.H[1], &p.H[2], &p.H[3], &p.V[0], &p.V[1], &p.V[2], &p.V[3]) != 9) {
        return false;
    }
    std::string lower = line;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    p.HPositive = lower.find("+hsync") != std::string::npos;
    p.VPositive = lower.find("+vsync") != std::string::npos;
    p.Interlace = lower.find("interlace") != std::string::npos;
    return true;
}

std::string ModelineOf(const std::string& output, std::string& comment) {
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos && line.compare(start, 1, "#") == 0)
            comment = line;
        if (start != std::string::npos && line.compare(start, 8, "Modeline") == 0)
            return line.substr(start);
    }
    return "";
}

// The figure after a word of the program's comment line: "hsync: 67.16 kHz" gives 67.16.
double After(const std::string& line, const char* word) {
    const size_t at = line.find(word);
    return at == std::string::npos ? -1.0 : std::atof(line.c_str() + at + std::strlen(word));
}

// The program's modeline, its timing read, the figures of its comment met, and the modeline
// written back from the timing the same numbers.
// gtf's own timings at low rates have a sync that starts inside the picture (a negative front
// porch): those are refused, and counted apart.
void Compare(const std::string& command, bool gtfComment, int& compared, int* refused = nullptr) {
    std::string comment;
    const std::string line = ModelineOf(Run(command), comment);
    if (line.empty())
        return;  // a request the program refuses (cvt -r off 60 Hz multiples)
    Printed p;
    ASSERT_TRUE(ScanModeline(line, p)) << line;
    const ModelineReading r = ReadModeline(line);
    if (refused != nullptr && p.H[1] < p.H[0]) {
        EXPECT_FALSE(r.Ok) << line;
        EXPECT_NE(r.Why.find("its sync starts inside the active part"), std::string::npos);
        ++*refused;
        return;
    }
    ASSERT_TRUE(r.Ok) << line << ": " << r.Why;
    const Timing& t = r.Value;
    const int halfLine = p.Interlace && p.V[3] % 2 != 0 ? 1 : 0;
    EXPECT_EQ(t.HActive, p.H[0]) << line;
    EXPECT_EQ(t.HFrontPorch, p.H[1] - p.H[0]) << line;
    EXPECT_EQ(t.HSync, p.H[2] - p.H[1]) << line;
    EXPECT_EQ(t.HTotal, p.H[3]) << line;
    EXPECT_EQ(t.VActive, p.V[0]) << line;
    EXPECT_EQ(t.VFrontPorch, p.V[1] - p.V[0] + halfLine) << line;
    EXPECT_EQ(t.VSync, p.V[2] - p.V[1]) << line;
    EXPECT_EQ(t.VTotal, p.V[3]) << line;
    EXPECT_EQ(t.HSyncPositive, p.HPositive) << line;
    EXPECT_EQ(t.VSyncPositive, p.VPositive) << line;
    EXPECT_EQ(t.Interlaced, p.Interlace) << line;
    EXPECT_NEAR(t.PixelClockKHz, p.ClockMHz * 1000.0, 1e-6) << line;
    // The program's own figures, to their two decimals: cvt prints the rate it made, gtf the
    // one asked for, which its clock, rounded to 10 kHz, meets to that rounding.
    const double rounding = 0.0051 / p.ClockMHz;
    EXPECT_NEAR(LineFrequencyKHz(t), After(comment, "hsync:"),
                0.0051 + LineFrequencyKHz(t) * rounding)
        << comment;
    const std::string rateWord = gtfComment ? "@ " : "x" + std::to_string(p.V[0]) + " ";
    EXPECT_NEAR(RefreshRate(t), After(comment, rateWord.c_str()),
                gtfComment ? RefreshRate(t) * rounding + 0.001 : 0.0051)
        << comment;

    Printed back;
    const std::string written = WriteModeline(t, r.Name);
    ASSERT_TRUE(ScanModeline(written, back)) << written;
    EXPECT_EQ(std::memcmp(back.H, p.H, sizeof p.H), 0) << written << " from " << line;
    EXPECT_EQ(std::memcmp(back.V, p.V, sizeof p.V), 0) << written << " from " << line;
    EXPECT_NEAR(back.ClockMHz, p.ClockMHz, 0.0051) << written;
    EXPECT_EQ(back.Interlace, p.Interlace);
    EXPECT_EQ(ReadModeline(written).Value.HSyncPositive, t.HSyncPositive);
    ++compared;
}

const int kSizes[][2] = {{640, 480},   {800, 600},   {1024, 768},  {1280, 720},
                         {1280, 1024}, {1366, 768},  {1440, 900},  {1600, 1200},
                         {1920, 1080}, {1920, 1200}, {2560, 1440}, {3840, 2160}};

class Programs : public ::testing::Test {
  protected:
    void SetUp() override {
#if defined(_WIN32)
        GTEST_SKIP() << "cvt, gtf and edid-decode are Linux programs";
#endif
    }
};

TEST_F(Programs, CvtModelinesReadBackToWhatCvtComputed) {
    if (!Installed("cvt"))
        GTEST_SKIP() << "cvt is not installed (Debian's xcvt; scripts/test.sh installs it)";
    int compared = 0;
    for (const auto& size : kSizes) {
        for (int rate : {24, 50, 60, 75, 85, 120}) {
            const std::string args = std::to_string(size[0]) + " " + std::to_string(size[1]) + " " +
                                     std::to_string(rate);
            Compare("cvt " + args, false, compared);
            Compare("cvt -r " + args, false, compared);
            if (rate == 60 || rate == 50)
                Compare("cvt -i " + args, false, compared);
        }
    }
    std::printf("[ cvt ] %d modelines read back to cvt's timings\n", compared);
    EXPECT_GE(compared, 12 * 6 + 12 * 2 + 12 * 2);
}

TEST_F(Programs, GtfModelinesReadBackToWhatGtfComputed) {
    if (!Installed("gtf"))
        GTEST_SKIP() << "gtf is not installed (Debian's xserver-xorg-core; scripts/test.sh "
                        "installs it)";
    int compared = 0;
    int refused = 0;
    for (const auto& size : kSizes) {
        for (int rate : {24, 50, 60, 75, 85, 120}) {
            Compare("gtf " + std::to_string(size[0]) + " " + std::to_string(size[1]) + " " +
                        std::to_string(rate),
                    true, compared, &refused);
        }
    }
    std::printf(
        "[ gtf ] %d modelines read back to gtf's timings, %d with a negative front porch "
        "refused\n",
        compared, refused);
    EXPECT_EQ(compared + refused, 12 * 6);
    EXPECT_LE(refused, 6);
}

// The timings a descriptor can carry: field values within the descriptor's bit widths, and
// the clock in its 10 kHz steps.
bool FitsDescriptor(Timing& t) {
    const int fieldPorch = t.Interlaced ? (t.VFrontPorch - 1) / 2 : t.VFrontPorch;
    const int fieldSync = t.Interlaced ? t.VSync / 2 : t.VSync;
    if (t.HActive > 4095 || t.HTotal - t.HActive > 4095 || t.HFrontPorch > 1023 || t.HSync > 1023 ||
        fieldPorch > 63 || fieldSync > 63 || t.PixelClockKHz > 655350 ||
        LineFrequencyKHz(t) > 255 || RefreshRate(t) > 255) {
        return false;
    }
    t.PixelClockKHz = std::round(t.PixelClockKHz / 10.0) * 10.0;
    return true;
}

// The two bytes of a standard timing for a DMT entry, when it has them: its width in 8-pixel
// steps, an aspect EDID 1.4 can give, and a rate between 60 and 123 Hz.
bool StandardBytes(const Timing& t, uint8_t& first, uint8_t& second) {
    const int rate = static_cast<int>(RefreshRate(t) + 0.5);
    const int w = t.HActive;
    int aspect = -1;
    if (w * 10 / 16 == t.VActive)
        aspect = 0;
    else if (w * 3 / 4 == t.VActive)
        aspect = 1;
    else if (w * 4 / 5 == t.VActive)
        aspect = 2;
    else if (w * 9 / 16 == t.VActive)
        aspect = 3;
    if (t.Interlaced || aspect < 0 || w % 8 != 0 || w / 8 - 31 < 1 || w / 8 - 31 > 255 ||
        rate < 60 || rate > 123) {
        return false;
    }
    first = static_cast<uint8_t>(w / 8 - 31);
    second = static_cast<uint8_t>(aspect << 6 | (rate - 60));
    return true;
}

TEST_F(Programs, EdidsBuiltFromTheLayoutsPassEdidDecodeAndListWhatItDecodes) {
    if (!CalculatorInstalled())
        FAIL() << "edid-decode is not installed (scripts/test.sh installs it)";
    std::vector<Timing> detailed;
    std::vector<int> vics;
    std::vector<uint8_t> standard;
    for (const auto* list : {&DmtTable(), &CtaTable()}) {
        for (const TableEntry& e : *list) {
            Timing t = e.Value;
            if (FitsDescriptor(t))
                detailed.push_back(t);
            uint8_t first = 0, second = 0;
            if (e.From == TableEntry::Dmt && StandardBytes(e.Value, first, second)) {
                standard.push_back(first);
                standard.push_back(second);
            }
            if (e.From == TableEntry::Cta && !e.VideoRate)
                vics.push_back(e.Code);
        }
    }
    int edids = 0, rows = 0, vicRows = 0;
    for (size_t k = 0; 8 * k < detailed.size() || 6 * k < vics.size(); ++k) {
        EdidBuilder b;
        for (size_t i = 8 * k; i < 8 * k + 8 && i < detailed.size(); ++i)
            (i < 8 * k + 2 ? b.Detailed : b.Extensions.emplace_back().Detailed)
                .push_back(detailed[i]);
        // One CTA-861 block holds the six other descriptors and six video formats.
        if (b.Extensions.size() > 1) {
            for (size_t e = 1; e < b.Extensions.size(); ++e)
                b.Extensions[0].Detailed.push_back(b.Extensions[e].Detailed[0]);
            b.Extensions.resize(1);
        }
        if (b.Extensions.empty())
            b.Extensions.emplace_back();
        for (size_t i = 6 * k; i < 6 * k + 6 && i < vics.size(); ++i)
            b.Extensions[0].Vics.push_back(vics[i]);
        for (size_t i = 16 * k; i < 16 * k + 16 && i < standard.size(); ++i)
            b.Standard.push_back(standard[i]);
        // 640x480p60, which CTA-861 requires of every sink; in the first EDID every DMT one
        // and none of the others.
        b.Established = k == 0 ? 0x2FDF00 : 0x200000;
        if (b.Detailed.empty())
            b.Detailed.push_back(DmtTable()[0x51].Value);
        const std::vector<uint8_t> edid = b.Build();
        const std::string path = ::testing::TempDir() + "vz_edid_oracle.bin";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(edid.data()),
                   static_cast<std::streamsize>(edid.size()));

        const std::string checked = RunCalculator("-c -s " + path);
        ASSERT_EQ(checked.find("Failures:"), std::string::npos) << checked;
        ASSERT_NE(checked.find("EDID conformity: PASS"), std::string::npos) << checked;

        const EdidReading ours = ReadEdid(edid);
        ASSERT_TRUE(ours.Ok) << ours.Why;
        std::vector<EdidRow> left = ours.Rows;
        for (const standards::Printed& p : ParsePrinted(RunCalculator("-L -s " + path))) {
            if (p.Title.find("Monitor") != std::string::npos)
                continue;
            const size_t vic = p.Title.find("VIC");
            bool found = false;
            for (size_t i = 0; i < left.size() && !found; ++i) {
                const bool isVic = left[i].Label.rfind("VIC ", 0) == 0;
                if (isVic != (vic != std::string::npos) || !Same(left[i].Value, p.Value))
                    continue;
                if (isVic &&
                    std::atoi(left[i].Label.c_str() + 4) != std::atoi(p.Title.c_str() + vic + 3))
                    continue;
                found = true;
                // A VIC is listed at both its rates here and at one by the calculator.
                const std::string label = left[i].Label;
                for (size_t j = left.size(); j-- > 0;)
                    if (j == i || (isVic && left[j].Label == label))
                        left.erase(left.begin() + static_cast<std::ptrdiff_t>(j));
                vicRows += isVic;
                ++rows;
            }
            EXPECT_TRUE(found) << "edid-decode lists " << p.Title << " " << Describe(p.Value)
                               << ", which the reading lacks";
        }
        for (const EdidRow& row : left)
            ADD_FAILURE() << "the reading lists " << row.Label << " " << Describe(row.Value)
                          << ", which edid-decode lacks";
        ++edids;
    }
    std::printf(
        "[ edid-decode ] %d EDIDs passed its check; %d timings decoded alike (%d of "
        "them VICs; %zu descriptors, %zu standard timings)\n",
        edids, rows, vicRows, detailed.size(), standard.size() / 2);
    EXPECT_GT(edids, 20);
}

}  // namespace
}  // namespace standards
