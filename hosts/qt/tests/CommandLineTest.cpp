// The desktop program's command line, read before Qt starts: what a user types by mistake must
// never become a system folder, and Qt's own options stay Qt's.
#include <gtest/gtest.h>

#include "hosts/qt/CommandLine.h"

namespace desktop {
namespace {

CommandLine Parse(std::vector<std::string> words) {
    return ParseCommandLine(words);
}

TEST(CommandLineTest, NoWordsRunTheDefaultSystem) {
    const CommandLine line = Parse({});
    EXPECT_EQ(line.action, CommandLine::Run);
    EXPECT_EQ(line.folder, "");
    EXPECT_EQ(line.qtWords, 0u);
}

TEST(CommandLineTest, HelpAndVersionWinWhereverTheyStand) {
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"/tmp/system", "--help"}, {"-platform", "offscreen", "-h"}}) {
        EXPECT_EQ(Parse(words).action, CommandLine::Help) << words.back();
    }
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::Version);
    EXPECT_EQ(VersionText().rfind("vuvereze ", 0), 0u);
    EXPECT_EQ(UsageText().rfind("usage: vuvereze [FOLDER]\n", 0), 0u);
    // After "--" they are folder names, as the user asked.
    const CommandLine folder = Parse({"--", "--help"});
    EXPECT_EQ(folder.action, CommandLine::Run);
    EXPECT_EQ(folder.folder, "--help");
}

TEST(CommandLineTest, AFolderNamedLikeAnOptionFollowsTheDoubleDash) {
    for (const char* word : {"-x", "--system", "-", "--helpme", "-version"}) {
        const CommandLine line = Parse({word});
        EXPECT_EQ(line.action, CommandLine::Error) << word;
        EXPECT_EQ(line.error, std::string("unknown option ") + word);
    }
    const CommandLine line = Parse({"-style", "fusion", "--", "-my system"});
    EXPECT_EQ(line.action, CommandLine::Run);
    EXPECT_EQ(line.folder, "-my system");
    // Qt sees the words before "--" only, so it cannot take "-reverse" for its own.
    EXPECT_EQ(Parse({"-style", "fusion", "--", "-reverse"}).qtWords, 2u);
}

TEST(CommandLineTest, QtsOptionsAndTheirValuesAreNoFolders) {
    const CommandLine line =
        Parse({"-platform", "offscreen", "--style=fusion", "-reverse", "/tmp/system"});
    EXPECT_EQ(line.action, CommandLine::Run) << line.error;
    EXPECT_EQ(line.folder, "/tmp/system");
    EXPECT_EQ(line.qtWords, 5u);
    const CommandLine missing = Parse({"/tmp/system", "-platform"});
    EXPECT_EQ(missing.action, CommandLine::Error);
    EXPECT_EQ(missing.error, "option -platform needs a value");
}

TEST(CommandLineTest, OneFolderAtMost) {
    EXPECT_EQ(Parse({"a", "b"}).action, CommandLine::Error);
    EXPECT_EQ(Parse({"a", "b"}).error, "one system folder at most, not 2");
    EXPECT_EQ(Parse({""}).action, CommandLine::Error);
}

}  // namespace
}  // namespace desktop
