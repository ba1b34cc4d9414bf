#include "timing/TextNumber.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace timing {
namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Leading white space and an optional sign, as the C library's conversions take them.
size_t SkipSpaceAndSign(std::string_view text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    return i;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t ParseDecimalInt(std::string_view text) {
    bool negative;
    size_t i = SkipSpaceAndSign(text, negative);
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
            value = int64_t{std::numeric_limits<int32_t>::max()} + 1;
        }
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

uint32_t ParseHex(std::string_view text) {
    bool negative;
    size_t i = SkipSpaceAndSign(text, negative);
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    uint32_t value = 0;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        value = (value << 4) | static_cast<uint32_t>(HexDigit(text[i]));
    }
    return negative ? 0u - value : value;
}

double ParseDecimalNumber(std::string_view text) {
    // Only plain decimal notation counts: strtod would also take "inf", "nan" and hex floats.
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start]))
        ++start;
    bool negative;
    size_t i = SkipSpaceAndSign(text, negative);
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                ++j;
            i = j;
        }
    }
    std::string number(text.substr(start, i - start));
    double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int32_t Hundredths(std::string_view text) {
    double value = ParseDecimalNumber(text) * 100.0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace timing
