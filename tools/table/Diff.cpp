// "diff": what changed between two table files. Records are matched by position within the
// built-in part and within the user part, the way the lists number them.
#include <algorithm>

#include "tools/table/Commands.h"
#include "tools/table/Text.h"

namespace tabletool {
namespace {

std::string Brief(const TableImage& image, size_t i) {
    const fmt::FormatRecord& r = image.Records[i];
    return SizeText(r.Timing) + " " + RateText(r.Timing) + " " + (r.Enabled ? "on" : "off") + " " +
           TagDisplay(r.TagBytes);
}

std::string Header(const TableImage& image) {
    if (!image.HasHeader)
        return FormatText("%s: %u bytes, no header", image.Name.c_str(), Count(image.Size));
    return FormatText("%s: built-in count %u, %u records (%u built-in, %u user)",
                      image.Name.c_str(), image.BuiltinCount, Count(image.Records.size()),
                      Count(image.BuiltinRecords()), Count(image.UserRecords()));
}

class CDiff {
  public:
    CDiff(const TableImage& a, const TableImage& b, std::ostream& out)
        : m_a(a), m_b(b), m_out(out) {}

    void Files() {
        if (m_a.HasHeader != m_b.HasHeader || m_a.BuiltinCount != m_b.BuiltinCount) {
            Line(FormatText("header: built-in count %s -> %s", CountText(m_a).c_str(),
                            CountText(m_b).c_str()));
        }
        if (m_a.TrailingBytes != m_b.TrailingBytes) {
            Line(FormatText("file: %u -> %u bytes after the last whole record",
                            Count(m_a.TrailingBytes), Count(m_b.TrailingBytes)));
        }
    }

    // first: index of the part's first record in each file; count: its records in each.
    void Part(size_t firstA, size_t countA, size_t firstB, size_t countB) {
        const size_t common = std::min(countA, countB);
        for (size_t k = 0; k < common; ++k)
            Changed(firstA + k, firstB + k);
        for (size_t k = common; k < countB; ++k)
            Line("added " + m_b.IdText(firstB + k) + ": " + Brief(m_b, firstB + k));
        for (size_t k = common; k < countA; ++k)
            Line("removed " + m_a.IdText(firstA + k) + ": " + Brief(m_a, firstA + k));
    }

    size_t Differences() const { return m_differences; }

  private:
    static std::string CountText(const TableImage& image) {
        return image.HasHeader ? std::to_string(image.BuiltinCount) : "(none)";
    }

    void Changed(size_t i, size_t j) {
        const std::vector<NamedField> a = RecordFields(m_a.Records[i]);
        const std::vector<NamedField> b = RecordFields(m_b.Records[j]);
        // The Id of the second file names the record: it is the same unless the parts moved.
        const std::string id = m_b.IdText(j);
        for (size_t f = 0; f < a.size(); ++f) {
            if (a[f].Value != b[f].Value) {
                Line("changed " + id + ": " + a[f].Name + " " + a[f].Value + " -> " + b[f].Value);
            }
        }
    }

    void Line(const std::string& text) {
        m_out << text << '\n';
        ++m_differences;
    }

    const TableImage& m_a;
    const TableImage& m_b;
    std::ostream& m_out;
    size_t m_differences = 0;
};

}  // namespace

int DiffTables(const TableImage& a, const TableImage& b, std::ostream& out) {
    out << "--- " << Header(a) << '\n' << "+++ " << Header(b) << '\n';
    CDiff diff(a, b, out);
    diff.Files();
    diff.Part(0, a.BuiltinRecords(), 0, b.BuiltinRecords());
    diff.Part(a.BuiltinRecords(), a.UserRecords(), b.BuiltinRecords(), b.UserRecords());
    if (diff.Differences() == 0) {
        out << "no differences\n";
        return 0;
    }
    return 1;
}

}  // namespace tabletool
