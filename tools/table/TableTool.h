// vuvereze-table: shows, checks and compares format table files without the desktop program or
// a card. It only reads; no table file is ever written.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tabletool {

// args are the words after the program's name. Results go to out, errors (with the file's
// name) to err. Exit codes: 0 done (a clean check, equal tables), 1 problems or differences
// found, 2 a file that cannot be read, words the tool does not understand, or output that could
// not be written to out.
int RunTableTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tabletool
