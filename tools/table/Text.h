// Texts the three commands share: a tag made safe to print, a record's
// fields by name, and a table of left-aligned columns.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "platform/Platform.h"

namespace tabletool {

using platform::FormatText;

// Counts and sizes go through "%u": every one of them fits (files are read up to 1 MiB), and
// not every C library a Windows build meets knows "%zu".
inline unsigned Count(size_t n) {
    return static_cast<unsigned>(n);
}

// The tag up to its first zero byte. A tag comes from a file anybody may have written, so only
// printable ASCII is shown as it is; every other byte (and the backslash) is escaped as \xNN,
// and nothing in a tag can move a terminal's cursor or change its colours.
std::string TagDisplay(const fmt::Tag& tag);
// The same, followed by the bytes after the terminator when any of them is not zero.
std::string TagWithTail(const fmt::Tag& tag);
bool TagTerminated(const fmt::Tag& tag);
std::string HexBytes(const uint8_t* bytes, size_t count);  // "00 0C FF"

// "%dx%d" of the active size and "%.2f" of the frame rate, as the resolution lists show them.
std::string SizeText(const fmt::TimingBlock& t);
std::string RateText(const fmt::TimingBlock& t);
std::string RangeText(const fmt::RangeTriple& range);  // "lower,nominal,upper"

// Every field of a record in file order, by the names the product uses, each as one text
// (register values in hexadecimal), so that two records compare field by field.
struct NamedField {
    std::string Name;
    std::string Value;
};
std::vector<NamedField> RecordFields(const fmt::FormatRecord& record);

// Rows of cells printed with every column as wide as its widest cell.
class CColumns {
  public:
    void Add(std::vector<std::string> row) { m_rows.push_back(std::move(row)); }
    void Print(std::ostream& out) const;

  private:
    std::vector<std::vector<std::string>> m_rows;
};

}  // namespace tabletool
