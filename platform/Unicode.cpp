#include <cctype>

#include "platform/Platform.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

struct LeadByte {
    int length;          // 0: the byte cannot start a sequence
    uint8_t secondLow;   // the second byte's range rules out overlong forms, surrogates and
    uint8_t secondHigh;  // code points above U+10FFFF
};

LeadByte Classify(uint8_t b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if (b == 0xED)
        return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

std::u16string Utf8ToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        const LeadByte lead = Classify(b);
        if (lead.length == 0) {
            out.push_back(static_cast<char16_t>(kReplacement));
            ++i;
            continue;
        }
        // A broken sequence costs one U+FFFD for its longest valid beginning, as Windows does.
        char32_t cp = b & (0xFF >> (lead.length + 1));
        int taken = 1;
        while (taken < lead.length && i + taken < text.size()) {
            const auto next = static_cast<uint8_t>(text[i + taken]);
            const uint8_t low = taken == 1 ? lead.secondLow : 0x80;
            const uint8_t high = taken == 1 ? lead.secondHigh : 0xBF;
            if (next < low || next > high)
                break;
            cp = (cp << 6) | (next & 0x3F);
            ++taken;
        }
        AppendUtf16(out, taken == lead.length ? cp : kReplacement);
        i += taken;
    }
    return out;
}

std::string WideToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;  // a lone surrogate has no UTF-8 form
        }
        AppendUtf8(out, cp);
    }
    return out;
}

bool ParseCodePage(std::string_view name, CodePage& codePage) {
    std::string lower;
    for (char c : name) {
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    if (lower == "utf-8") {
        codePage = CodePage::Utf8;
    } else if (lower == "windows-1252") {
        codePage = CodePage::Windows1252;
    } else if (lower == "big5") {
        codePage = CodePage::Big5;
    } else {
        return false;
    }
    return true;
}

}  // namespace platform
