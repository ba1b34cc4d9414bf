#include "tools/scenarios/Script.h"

#include <fstream>
#include <sstream>

namespace scenarios {

bool ParseScript(const std::string& text, Script& script, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        Line line;
        line.number = number;
        size_t i = 0;
        while (i < raw.size()) {
            char c = raw[i];
            if (c == ' ' || c == '\t') {
                ++i;
                continue;
            }
            if (c == '#')
                break;
            // A token runs to the next blank; quoted parts may stand anywhere in it
            // (Tag="a b" as well as "Tag=a b"). A token that begins with a quote is a string.
            Token token;
            token.quoted = c == '"';
            while (i < raw.size() && raw[i] != ' ' && raw[i] != '\t') {
                if (raw[i] != '"') {
                    token.text += raw[i++];
                    continue;
                }
                ++i;
                bool closed = false;
                while (i < raw.size()) {
                    char d = raw[i++];
                    if (d == '"') {
                        closed = true;
                        break;
                    }
                    if (d == '\\' && i < raw.size() && (raw[i] == '"' || raw[i] == '\\'))
                        d = raw[i++];
                    token.text += d;
                }
                if (!closed) {
                    error = script.path + ":" + std::to_string(number) + ": unterminated string";
                    return false;
                }
            }
            line.tokens.push_back(std::move(token));
        }
        if (!line.tokens.empty())
            script.lines.push_back(std::move(line));
    }
    return true;
}

bool LoadScript(const std::string& path, Script& script, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    script.path = path;
    return ParseScript(text.str(), script, error);
}

bool ParseNumber(const std::string& text, int64_t& value) {
    if (text.empty())
        return false;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        negative = text[0] == '-';
        i = 1;
    }
    int base = 10;
    if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    int64_t result = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        result = result * base + digit;
        if (result > (int64_t{1} << 40))
            return false;
    }
    value = negative ? -result : result;
    return true;
}

}  // namespace scenarios
