// The code page a test or a scenario selected, shared by both halves, and the one rule of how
// far an undecodable sequence reaches, so Linux and Windows replace the same bytes.
#include <optional>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

std::optional<CodePage> g_codePage;

}  // namespace

void SetAnsiCodePage(CodePage codePage) {
    g_codePage = codePage;
}

void ResetAnsiCodePage() {
    g_codePage.reset();
}

namespace detail {

std::optional<CodePage> CodePageOverride() {
    return g_codePage;
}

size_t InvalidSequenceLength(CodePage codePage, const uint8_t* at, size_t left) {
    if (codePage != CodePage::Big5 || left < 2 || at[0] < 0x81 || at[0] > 0xFE)
        return 1;
    const uint8_t trail = at[1];
    const bool trailRange = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE);
    return trailRange ? 2 : 1;
}

}  // namespace detail
}  // namespace platform
