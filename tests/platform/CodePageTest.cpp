#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

class CodePage : public ::testing::Test {
  protected:
    void TearDown() override { platform::SetAnsiCodePage(platform::CodePage::Utf8); }
};

const std::u16string kArrows = u"\u25B2\u25BC";
const std::u16string kAbout = u"關於 Vuvereze(&A)...";

TEST_F(CodePage, NamesAreReadWithoutRegardToCase) {
    platform::CodePage page = platform::CodePage::Utf8;
    EXPECT_TRUE(platform::ParseCodePage("BIG5", page));
    EXPECT_EQ(page, platform::CodePage::Big5);
    EXPECT_TRUE(platform::ParseCodePage("Windows-1252", page));
    EXPECT_EQ(page, platform::CodePage::Windows1252);
    EXPECT_TRUE(platform::ParseCodePage("utf-8", page));
    EXPECT_EQ(page, platform::CodePage::Utf8);
    EXPECT_FALSE(platform::ParseCodePage("latin1", page));
    EXPECT_FALSE(platform::ParseCodePage("", page));
    EXPECT_EQ(page, platform::CodePage::Utf8);
}

TEST_F(CodePage, Utf8ConversionsKeepEveryCharacter) {
    const std::string text = "\xE2\x96\xB2 caf\xC3\xA9 \xF0\x9F\x8E\xA5 \xE9\x97\x9C";
    const std::u16string wide = platform::Utf8ToWide(text);
    EXPECT_EQ(wide, u"\u25B2 caf\u00E9 \U0001F3A5 \u95DC");
    EXPECT_EQ(platform::WideToUtf8(wide), text);
    EXPECT_EQ(platform::AnsiToUtf8(platform::Utf8ToAnsi(text)), text);
}

TEST_F(CodePage, BrokenUtf8BecomesReplacementCharacters) {
    // A stray continuation byte, a truncated sequence, an overlong form and an encoded surrogate.
    EXPECT_EQ(platform::Utf8ToWide("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(platform::Utf8ToWide("a\xE2\x96z"), u"a\uFFFDz");
    EXPECT_EQ(platform::Utf8ToWide("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(platform::Utf8ToWide("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(platform::Utf8ToWide("\xE2\x96"), u"\uFFFD");
    EXPECT_EQ(platform::WideToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

TEST_F(CodePage, Utf8SelectedGivesUtf8) {
    platform::SetAnsiCodePage(platform::CodePage::Utf8);
    EXPECT_EQ(platform::AnsiCodePage(), platform::CodePage::Utf8);
    EXPECT_EQ(platform::WideToAnsi(kArrows), "\xE2\x96\xB2\xE2\x96\xBC");
    EXPECT_EQ(platform::AnsiToWide("\xE2\x96\xB2\xE2\x96"), u"\u25B2\uFFFD");
}

TEST_F(CodePage, Big5HoldsTheSortArrowsAndTraditionalChinese) {
    platform::SetAnsiCodePage(platform::CodePage::Big5);
    EXPECT_EQ(platform::WideToAnsi(kArrows), "\xA1\xB6\xA1\xBF");
    EXPECT_EQ(platform::AnsiToWide("\xA1\xB6\xA1\xBF"), kArrows);
    const std::string narrow = platform::WideToAnsi(kAbout);
    EXPECT_EQ(narrow, "\xC3\xF6\xA9\xF3 Vuvereze(&A)...");
    EXPECT_EQ(platform::AnsiToWide(narrow), kAbout);
    EXPECT_EQ(platform::AnsiToUtf8(platform::Utf8ToAnsi("本機 AppWizard 所產生的應用程式")),
              "本機 AppWizard 所產生的應用程式");
}

TEST_F(CodePage, Big5ReplacesWhatItCannotHoldOrRead) {
    platform::SetAnsiCodePage(platform::CodePage::Big5);
    EXPECT_EQ(platform::WideToAnsi(u"a\u00E9\U0001F3A5b"), "a??b");
    // A lead byte with nothing after it, and one followed by a byte that cannot trail it.
    EXPECT_EQ(platform::AnsiToWide("a\xA1"), u"a\uFFFD");
    EXPECT_EQ(platform::AnsiToWide("\xA1\x20z"), u"\uFFFD z");
    EXPECT_EQ(platform::AnsiToWide("\xFF"), u"\uFFFD");
}

TEST_F(CodePage, Windows1252LosesOnlyWhatItLacks) {
    platform::SetAnsiCodePage(platform::CodePage::Windows1252);
    EXPECT_EQ(platform::WideToAnsi(u"caf\u00E9 \u20AC5"),
              "caf\xE9 \x80"
              "5");
    // One '?' per character, a character beyond the basic plane included.
    EXPECT_EQ(platform::WideToAnsi(u"\u25B2x\u95DC\U0001F3A5"), "?x??");
    EXPECT_EQ(platform::WideToAnsi(std::u16string(1, u'\xDC00')), "?");
    EXPECT_EQ(platform::AnsiToWide("caf\xE9 \x80"), u"caf\u00E9 \u20AC");
    EXPECT_EQ(platform::AnsiToWide("\x81"), u"\uFFFD");
}

}  // namespace
