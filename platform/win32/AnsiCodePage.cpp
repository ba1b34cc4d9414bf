// The ANSI code page through Windows' own conversions, with the same replacement rules as the
// Linux half: a character the code page lacks becomes one '?' (a surrogate pair is one
// character), an undecodable sequence one U+FFFD.
#include <optional>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

#include <windows.h>

namespace platform {
namespace {

constexpr UINT kUtf8 = 65001;
constexpr UINT kWindows1252 = 1252;
constexpr UINT kBig5 = 950;

UINT EffectiveCodePage() {
    const std::optional<CodePage> set = detail::CodePageOverride();
    if (!set)
        return ::GetACP();
    switch (*set) {
        case CodePage::Utf8:
            return kUtf8;
        case CodePage::Windows1252:
            return kWindows1252;
        case CodePage::Big5:
            return kBig5;
    }
    return kUtf8;
}

bool IsSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Windows gives the five holes of Windows-1252 the C1 control characters of the same number;
// the Linux half (and the code page's own definition) has nothing there. Holes both ways keep a
// table's names the same on every system.
bool Is1252Hole(uint32_t value) {
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

// One run without surrogates; best-fit mapping is off, so "é" never turns into "e" silently.
void AppendNarrow(UINT codePage, std::u16string_view run, std::string& out) {
    if (run.empty())
        return;
    const auto* wide = reinterpret_cast<const wchar_t*>(run.data());
    const int length = static_cast<int>(run.size());
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    int needed = ::WideCharToMultiByte(codePage, flags, wide, length, nullptr, 0, "?", nullptr);
    DWORD usedFlags = flags;
    const char* fallback = "?";
    if (needed <= 0) {
        // Some code pages take neither flags nor a default character.
        usedFlags = 0;
        fallback = nullptr;
        needed = ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    }
    if (needed <= 0) {
        out.append(run.size(), '?');
        return;
    }
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(needed));
    const int written = ::WideCharToMultiByte(codePage, usedFlags, wide, length, out.data() + at,
                                              needed, fallback, nullptr);
    out.resize(at + static_cast<size_t>(written > 0 ? written : 0));
}

// One sequence with strict decoding; false when the code page has no character for it.
bool DecodeOne(UINT codePage, const char* at, int length, std::u16string& out) {
    wchar_t wide[4];
    const int got = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, at, length, wide, 4);
    if (got <= 0)
        return false;
    out.append(reinterpret_cast<const char16_t*>(wide), static_cast<size_t>(got));
    return true;
}

std::u16string DecodeBySequence(UINT codePage, std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t b = bytes[i];
        const bool lead = i + 1 < text.size() && ::IsDBCSLeadByteEx(codePage, b);
        const size_t length = lead ? 2 : 1;
        bool ok;
        if (codePage == kWindows1252 && Is1252Hole(b)) {
            ok = false;
        } else if (codePage == kBig5 && length == 1 && b >= 0x80) {
            ok = false;  // Big5 has no single-byte characters above ASCII
        } else {
            ok = DecodeOne(codePage, text.data() + i, static_cast<int>(length), out);
        }
        if (ok) {
            i += length;
            continue;
        }
        out.push_back(u'\uFFFD');
        i += codePage == kBig5
                 ? detail::InvalidSequenceLength(CodePage::Big5, bytes + i, text.size() - i)
                 : 1;
    }
    return out;
}

}  // namespace

CodePage AnsiCodePage() {
    if (const auto set = detail::CodePageOverride())
        return *set;
    // The product tells only these three apart; any other single- or double-byte code page is
    // still converted by Windows itself.
    switch (::GetACP()) {
        case kUtf8:
            return CodePage::Utf8;
        case kBig5:
            return CodePage::Big5;
        default:
            return CodePage::Windows1252;
    }
}

std::string WideToAnsi(std::u16string_view text) {
    const UINT codePage = EffectiveCodePage();
    // One strict UTF-8 for every system: Windows versions differ in how they treat a lone
    // surrogate.
    if (codePage == kUtf8)
        return WideToUtf8(text);
    std::string out;
    out.reserve(text.size());
    size_t runStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool hole = codePage == kWindows1252 && Is1252Hole(c);
        if (!IsSurrogate(c) && !hole)
            continue;
        AppendNarrow(codePage, text.substr(runStart, i - runStart), out);
        // Neither code page holds a character beyond the basic plane: a pair is one '?'.
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        out.push_back('?');
        runStart = i + 1;
    }
    AppendNarrow(codePage, text.substr(runStart), out);
    return out;
}

std::u16string AnsiToWide(std::string_view text) {
    const UINT codePage = EffectiveCodePage();
    if (codePage == kUtf8)
        return Utf8ToWide(text);
    if (text.empty())
        return {};
    // Most text decodes whole; only text with a flaw is taken a sequence at a time.
    bool holes = false;
    if (codePage == kWindows1252) {
        for (char c : text)
            holes = holes || Is1252Hole(static_cast<uint8_t>(c));
    }
    if (!holes && codePage != kBig5) {
        const int length = static_cast<int>(text.size());
        const int needed =
            ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
        if (needed > 0) {
            std::u16string out(static_cast<size_t>(needed), u'\0');
            ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length,
                                  reinterpret_cast<wchar_t*>(out.data()), needed);
            return out;
        }
    }
    return DecodeBySequence(codePage, text);
}

}  // namespace platform
