// "check": every fault of a table file that the driver or this program could trip over.
#include <vector>

#include "format/FormatRecord.h"
#include "tools/table/Commands.h"
#include "tools/table/EditorTiming.h"
#include "tools/table/Text.h"

namespace tabletool {
namespace {

class CProblems {
  public:
    explicit CProblems(const TableImage& image) : m_image(image) {}
    void File(const std::string& text) { m_lines.push_back("file: " + text); }
    void Record(size_t i, const std::string& text) {
        m_lines.push_back(m_image.IdText(i) + ": " + text);
    }
    const std::vector<std::string>& Lines() const { return m_lines; }

  private:
    const TableImage& m_image;
    std::vector<std::string> m_lines;
};

void CheckFile(const TableImage& image, CProblems& problems) {
    if (!image.HasHeader) {
        problems.File(
            FormatText("%u bytes, shorter than the 2-byte header; the program and the "
                       "driver refuse the file",
                       Count(image.Size)));
        return;
    }
    if (image.TrailingBytes > 0) {
        problems.File(
            FormatText("%u bytes after the last whole record (the file is cut short or "
                       "has bytes too many); the program and the driver refuse the file",
                       Count(image.TrailingBytes)));
    }
    if (image.Records.size() > fmt::kMaxRecords) {
        problems.File(
            FormatText("%u records, more than the %u a table holds; the program and the "
                       "driver refuse the file",
                       Count(image.Records.size()), Count(fmt::kMaxRecords)));
    }
    if (image.BuiltinCount > image.Records.size()) {
        problems.File(
            FormatText("the header counts %u built-in formats but the file holds %u "
                       "records; the program and the driver refuse the file",
                       image.BuiltinCount, Count(image.Records.size())));
    }
}

void CheckFlag(CProblems& problems, size_t i, const char* name, uint8_t value) {
    if (value > 1)
        problems.Record(i, FormatText("%s is %u, neither 0 nor 1", name, value));
}

void CheckZeros(const fmt::FormatRecord& r, size_t i, CProblems& problems) {
    const fmt::TimingBlock& t = r.Timing;
    if (t.HTotal == 0)
        problems.Record(i, "HTotal is 0");
    if (t.VTotal == 0)
        problems.Record(i, "VTotal is 0");
    if (t.FrameRate == 0) {
        problems.Record(i, "FrameRate is 0");
    } else if (t.FrameRate < 100) {
        problems.Record(i,
                        FormatText("FrameRate %s Hz has a whole part of 0, from which the editor "
                                   "derives nothing",
                                   RateText(t).c_str()));
    }
    if (t.PixelClockMHz == 0)
        problems.Record(i, "PixelClockMHz is 0");
    if (t.LineFreq == 0)
        problems.Record(i, "LineFreq is 0");
    if (t.LineLengthRange.Nominal == 0)
        problems.Record(i, "the line-length count is 0: no input ever matches the record");
    if (t.HTotal != 0 && t.HActive > t.HTotal)
        problems.Record(i, FormatText("HActive %u exceeds HTotal %u", t.HActive, t.HTotal));
    if (t.VTotal != 0 && t.VActive > t.VTotal)
        problems.Record(i, FormatText("VActive %u exceeds VTotal %u", t.VActive, t.VTotal));
}

void CheckRange(CProblems& problems, size_t i, const char* name, const fmt::RangeTriple& range,
                int32_t margin) {
    const fmt::RangeTriple expected = fmt::MakeRange(range.Nominal, margin);
    if (range != expected) {
        problems.Record(
            i, FormatText("%s (%s) does not follow from its nominal value %u: (%s)", name,
                          RangeText(range).c_str(), range.Nominal, RangeText(expected).c_str()));
    }
}

void CheckNominal(CProblems& problems, size_t i, const char* name, uint16_t nominal,
                  const char* ofName, uint16_t of) {
    if (nominal != of) {
        problems.Record(
            i, FormatText("%s nominal value %u differs from %s %u", name, nominal, ofName, of));
    }
}

void CheckRanges(const fmt::TimingBlock& t, size_t i, CProblems& problems) {
    CheckRange(problems, i, "LineLengthRange", t.LineLengthRange, 40);
    CheckRange(problems, i, "VSyncRange1", t.VSyncRange1, 2);
    CheckRange(problems, i, "VSyncRange2", t.VSyncRange2, 2);
    CheckRange(problems, i, "VSyncRange3", t.VSyncRange3, 2);
    CheckRange(problems, i, "VTotalRange1", t.VTotalRange1, 25);
    CheckRange(problems, i, "VTotalRange2", t.VTotalRange2, 25);
    const uint16_t vSync = t.VSyncRange1.Nominal;
    CheckNominal(problems, i, "VSyncRange2", t.VSyncRange2.Nominal, "VSyncRange1's", vSync);
    CheckNominal(problems, i, "VSyncRange3", t.VSyncRange3.Nominal, "VSyncRange1's", vSync);
    CheckNominal(problems, i, "VTotalRange1", t.VTotalRange1.Nominal, "VTotal", t.VTotal);
    CheckNominal(problems, i, "VTotalRange2", t.VTotalRange2.Nominal, "VTotal", t.VTotal);
}

void CheckMeasurement(const fmt::TimingBlock& t, size_t i, CProblems& problems) {
    const uint16_t count = t.LineLengthRange.Nominal;
    if (count == 0)
        return;
    // Detection fills both from one measurement, so they agree in every record it made.
    const uint16_t expected = fmt::LineFreqField(count);
    if (t.LineFreq != expected) {
        problems.Record(i, FormatText("LineFreq %u does not follow from the line-length count %u "
                                      "(%u)",
                                      t.LineFreq, count, expected));
    }
}

void CheckRecord(const fmt::FormatRecord& r, size_t i, CProblems& problems) {
    if (!TagTerminated(r.TagBytes))
        problems.Record(i, "the tag has no zero byte in its 20 bytes");
    CheckFlag(problems, i, "HPolarity", r.Timing.HPolarity);
    CheckFlag(problems, i, "VPolarity", r.Timing.VPolarity);
    CheckFlag(problems, i, "Interlace", r.Timing.Interlace);
    if (r.Registers.Interlace != r.Timing.Interlace) {
        problems.Record(i, FormatText("RegInterlace %u differs from the timing's Interlace %u",
                                      r.Registers.Interlace, r.Timing.Interlace));
    }
    CheckZeros(r, i, problems);
    CheckRanges(r.Timing, i, problems);
    CheckMeasurement(r.Timing, i, problems);
    for (const RegisterMismatch& m : CompareWithDerivation(r)) {
        problems.Record(i,
                        FormatText("%s is %03X, the editor derives %03X from the record's timing",
                                   m.Name.c_str(), m.Stored, m.Derived));
    }
}

}  // namespace

int CheckTable(const TableImage& image, std::ostream& out) {
    CProblems problems(image);
    CheckFile(image, problems);
    for (size_t i = 0; i < image.Records.size(); ++i)
        CheckRecord(image.Records[i], i, problems);

    for (const std::string& line : problems.Lines())
        out << image.Name << ": " << line << '\n';
    const size_t n = problems.Lines().size();
    if (n == 0) {
        out << image.Name << FormatText(": clean, %u records\n", Count(image.Records.size()));
        return 0;
    }
    out << image.Name << FormatText(": %u problem%s\n", Count(n), n == 1 ? "" : "s");
    return 1;
}

}  // namespace tabletool
