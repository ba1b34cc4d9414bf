// The commands over a table file that has been read. Each returns the tool's exit code.
#pragma once

#include <ostream>

#include "tools/table/TableImage.h"

namespace tabletool {

// The header and one line per record; with json, the same as one JSON document.
int ShowTable(const TableImage& image, bool json, std::ostream& out);

// Each record as an X11 modeline, with a comment line before it; a record that cannot be one
// (no rate, no blanking) has only its comment, saying why. 0 when every record is printed, 1
// otherwise.
int ShowModelines(const TableImage& image, std::ostream& out);

// Every problem a driver or this program could trip over, one line each with the record's Id.
// 0 when there is none, 1 otherwise.
int CheckTable(const TableImage& image, std::ostream& out);

// The records added, removed and changed, matched by position within the built-in and the user
// part. 0 when the tables are the same, 1 otherwise.
int DiffTables(const TableImage& a, const TableImage& b, std::ostream& out);

}  // namespace tabletool
