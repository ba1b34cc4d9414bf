// Seams between the portable half of platform/ and the half each operating system provides.
// Only platform/ includes this header.
#pragma once

#include <string_view>

namespace platform::detail {

// Where debugger output goes when no sink is installed.
void WriteDebugText(std::string_view text);

}  // namespace platform::detail
