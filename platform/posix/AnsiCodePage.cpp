// The ANSI code page of the virtual system. UTF-8 needs no help; the two legacy code pages go
// through glibc's iconv, with the replacement rules of the Windows conversion functions applied
// one character at a time.
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

constexpr const char* kNativeUtf16 =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const char* IconvName(CodePage codePage) {
    return codePage == CodePage::Big5 ? "BIG5" : "WINDOWS-1252";
}

class CIconv {
  public:
    CIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CIconv() {
        if (Ok())
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // Converts as much as it can; returns false with errno set where it had to stop.
    bool Convert(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        char* input = const_cast<char*>(in);
        const size_t result = iconv(m_cd, &input, &inLeft, &out, &outLeft);
        in = input;
        return result != static_cast<size_t>(-1);
    }

  private:
    iconv_t m_cd;
};

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

CodePage AnsiCodePage() {
    return detail::CodePageOverride().value_or(CodePage::Utf8);
}

std::string WideToAnsi(std::u16string_view text) {
    const CodePage codePage = AnsiCodePage();
    if (codePage == CodePage::Utf8)
        return WideToUtf8(text);
    std::string out;
    CIconv cd(IconvName(codePage), kNativeUtf16);
    if (!cd.Ok())
        return std::string(text.size(), '?');

    // At most two bytes for every UTF-16 unit in either code page.
    out.resize(text.size() * 2);
    const char* in = reinterpret_cast<const char*>(text.data());
    size_t inLeft = text.size() * sizeof(char16_t);
    char* outAt = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0 && !cd.Convert(in, inLeft, outAt, outLeft)) {
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // The character the code page lacks (or a broken surrogate) becomes one '?'.
        char16_t unit[2] = {};
        std::memcpy(unit, in, std::min(inLeft, sizeof unit));
        const bool pair = inLeft >= 4 && IsHighSurrogate(unit[0]) && IsLowSurrogate(unit[1]);
        const size_t skip = pair ? 4 : 2;
        in += skip;
        inLeft -= std::min(skip, inLeft);
        *outAt++ = '?';
        --outLeft;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::u16string AnsiToWide(std::string_view text) {
    const CodePage codePage = AnsiCodePage();
    if (codePage == CodePage::Utf8)
        return Utf8ToWide(text);
    std::u16string out;
    CIconv cd(kNativeUtf16, IconvName(codePage));
    if (!cd.Ok())
        return std::u16string(text.size(), u'\uFFFD');

    // One UTF-16 unit per byte at most; twice that leaves room should a table ever map a byte
    // pair outside the basic plane.
    out.resize(text.size() * 2);
    const char* in = text.data();
    size_t inLeft = text.size();
    char* outAt = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char16_t);
    while (inLeft > 0 && !cd.Convert(in, inLeft, outAt, outLeft)) {
        if (errno != EILSEQ && errno != EINVAL)
            break;
        const char16_t replacement = 0xFFFD;
        std::memcpy(outAt, &replacement, sizeof replacement);
        outAt += sizeof replacement;
        outLeft -= sizeof replacement;
        const size_t skip =
            detail::InvalidSequenceLength(codePage, reinterpret_cast<const uint8_t*>(in), inLeft);
        in += skip;
        inLeft -= skip;
    }
    out.resize(out.size() - outLeft / sizeof(char16_t));
    return out;
}

}  // namespace platform
