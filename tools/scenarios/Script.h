// Scenario files: lines of blank-separated tokens, # comments, double-quoted strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenarios {

struct Token {
    std::string text;  // quotes removed, escapes resolved
    bool quoted = false;
};

struct Line {
    int number = 0;
    std::vector<Token> tokens;
    const std::string& Verb() const { return tokens.front().text; }
    size_t Size() const { return tokens.size(); }
    const std::string& Arg(size_t i) const { return tokens.at(i).text; }
};

struct Script {
    std::string path;
    std::vector<Line> lines;
};

// Reads a scenario file. False with an error text ("file:line: what") for an unreadable file or
// an unterminated string.
bool LoadScript(const std::string& path, Script& script, std::string& error);
bool ParseScript(const std::string& text, Script& script, std::string& error);

// "123", "-4", "0x1F": false when the text is not such a number.
bool ParseNumber(const std::string& text, int64_t& value);

}  // namespace scenarios
