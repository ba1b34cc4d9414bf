// Reading scenario files: tokens, strings, comments and numbers.
#include "tools/scenarios/Script.h"

#include <gtest/gtest.h>

namespace scenarios {
namespace {

std::vector<std::string> Texts(const Line& line) {
    std::vector<std::string> texts;
    for (const Token& token : line.tokens)
        texts.push_back(token.text);
    return texts;
}

TEST(ScenarioScript, SplitsLinesIntoTokensAndStrings) {
    Script script;
    std::string error;
    ASSERT_TRUE(
        ParseScript("# a comment\n\n"
                    "type 1018 \"19 20\"   # trailing comment\r\n"
                    "expect text 1 \"say \\\"hi\\\" \\\\ bye\"\n"
                    "expect record \"x.bin\" 0 Tag=\"_a b\" Enabled=1\n"
                    "choose 1037 none\n"
                    "choose 1037 \"none\"\n",
                    script, error))
        << error;
    ASSERT_EQ(script.lines.size(), 5u);
    EXPECT_EQ(script.lines[0].number, 3);
    EXPECT_EQ(Texts(script.lines[0]), (std::vector<std::string>{"type", "1018", "19 20"}));
    EXPECT_EQ(script.lines[1].Arg(3), "say \"hi\" \\ bye");
    EXPECT_EQ(Texts(script.lines[2]), (std::vector<std::string>{"expect", "record", "x.bin", "0",
                                                                "Tag=_a b", "Enabled=1"}));
    EXPECT_FALSE(script.lines[3].tokens[2].quoted);
    EXPECT_TRUE(script.lines[4].tokens[2].quoted);
}

TEST(ScenarioScript, RefusesAnUnterminatedString) {
    Script script;
    script.path = "s.scn";
    std::string error;
    EXPECT_FALSE(ParseScript("start\ntype 1 \"open\n", script, error));
    EXPECT_EQ(error, "s.scn:2: unterminated string");
}

TEST(ScenarioScript, NumbersAreDecimalOrHex) {
    int64_t value = 0;
    EXPECT_TRUE(ParseNumber("1001", value));
    EXPECT_EQ(value, 1001);
    EXPECT_TRUE(ParseNumber("0xF060", value));
    EXPECT_EQ(value, 0xF060);
    EXPECT_TRUE(ParseNumber("-3", value));
    EXPECT_EQ(value, -3);
    EXPECT_FALSE(ParseNumber("12ab", value));
    EXPECT_FALSE(ParseNumber("0x", value));
    EXPECT_FALSE(ParseNumber("", value));
}

}  // namespace
}  // namespace scenarios
