// Seams between the portable half of platform/ and the half each operating system provides.
// Only platform/ includes this header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::detail {

// Where debugger output goes when no sink is installed.
void WriteDebugText(std::string_view text);

// The write fault that SetWriteFault set for this path: true, with the number of bytes the
// write may still make, when a write of `path` is to fail.
bool WriteFaultFor(const std::string& path, size_t& bytes);

}  // namespace platform::detail
