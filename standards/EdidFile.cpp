// An EDID file as users have one: the blocks themselves (/sys/class/drm/*/edid, a driver disk)
// or a hex dump (edid-decode's, the EDID: lines of xrandr --verbose, a plain hex file).
#include <algorithm>
#include <cctype>
#include <cstring>

#include "standards/Sources.h"

namespace standards {

namespace {

constexpr size_t kBlock = 128;
constexpr size_t kLargestEdid = 256 * kBlock;  // a block count byte of 255, and the base
constexpr uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// A line of hex digits and blanks only, with at least one digit.
bool HexLine(const std::string& line) {
    bool digit = false;
    for (char ch : line) {
        if (HexValue(ch) >= 0)
            digit = true;
        else if (ch != ' ' && ch != '\t' && ch != '\r')
            return false;
    }
    return digit;
}

// The digits of a run of hex lines (blank lines within it aside): the first run that begins
// with the EDID header, else the first run. Lines of anything else around it (a title such as
// "EDID:" or "edid-decode (hex):", the rest of xrandr's report) are passed over.
bool FromHex(const std::vector<uint8_t>& file, std::vector<uint8_t>& edid, std::string& why) {
    std::string digits;
    std::string run;
    size_t at = 0;
    while (at <= file.size()) {
        size_t end = at;
        while (end < file.size() && file[end] != '\n')
            ++end;
        const std::string line(file.begin() + static_cast<std::ptrdiff_t>(at),
                               file.begin() + static_cast<std::ptrdiff_t>(end));
        at = end + 1;
        // A blank line goes on with the run: edid-decode puts one between blocks.
        if (line.find_first_not_of(" \t\r") == std::string::npos && at <= file.size())
            continue;
        const bool hex = HexLine(line);
        if (hex && run.size() <= 2 * kLargestEdid) {
            for (char ch : line) {
                if (HexValue(ch) >= 0)
                    run += ch;
            }
        }
        if (hex && at <= file.size())
            continue;
        if (!run.empty()) {
            std::string head = run.substr(0, 16);
            for (char& ch : head)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (head == "00ffffffffffff00") {
                digits = run;
                break;
            }
            if (digits.empty())
                digits = run;
            run.clear();
        }
    }
    if (digits.empty()) {
        why = "The file is no EDID: neither the EDID's bytes nor a hex dump of them.";
        return false;
    }
    if (digits.size() % 2 != 0) {
        why = "The hex dump has an odd number of digits: a byte is cut in half.";
        return false;
    }
    edid.clear();
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        edid.push_back(static_cast<uint8_t>(HexValue(digits[i]) << 4 | HexValue(digits[i + 1])));
    return true;
}

}  // namespace

bool EdidBytes(const std::vector<uint8_t>& file, std::vector<uint8_t>& edid, std::string& why) {
    if (file.empty()) {
        why = "The file is empty.";
        return false;
    }
    const bool binary =
        file.size() >= sizeof kHeader && std::memcmp(file.data(), kHeader, sizeof kHeader) == 0;
    // A text file never holds a zero byte; a binary one without the header is still an EDID
    // file, only a broken one, and its reading says why.
    const bool text = !binary && std::memchr(file.data(), 0, file.size()) == nullptr;
    if (!text) {
        edid.assign(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(
                                                     std::min(file.size(), kLargestEdid)));
        return true;
    }
    return FromHex(file, edid, why);
}

EdidReading ReadEdidFile(const std::vector<uint8_t>& file) {
    EdidReading out;
    std::vector<uint8_t> edid;
    if (!EdidBytes(file, edid, out.Why))
        return out;
    return ReadEdid(edid);
}

}  // namespace standards
