// "Up", "Down", "Left" and "Right": the picture moves by the step within the offsets' limits.
#include "EditorFixture.h"

namespace timingtest {
namespace {

using namespace res;

class OutputPositionTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        Open();
    }
    void Press(int button, const std::string& step) {
        Type(IDC_STEP, step);
        ui::Input click;
        click.kind = ui::Input::Click;
        click.id = button;
        ui::DispatchInput(*m_editor, click);
    }
    std::string Offsets(int start, int end) { return Field(start) + "," + Field(end); }
    std::string Vertical() { return Offsets(IDC_DE_V_START, IDC_DE_V_END); }
    std::string Horizontal() { return Offsets(IDC_DE_H_START, IDC_DE_H_END); }
};

TEST_F(OutputPositionTest, UpStopsAtSeven) {
    for (int i = 0; i < 7; ++i)
        Press(IDC_UP, "1");
    EXPECT_EQ(Vertical(), "7,7");
    EXPECT_EQ(m_card->Reg(0x44, 0x8E), 0x77);
    EXPECT_EQ(m_clock.NowMs(), 7u * 1000u);  // two writers with their pauses per press
    EXPECT_TRUE(Messages().empty());
    Press(IDC_UP, "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The shift start value is too large!!(0)"});
    EXPECT_EQ(Vertical(), "7,7");
}

TEST_F(OutputPositionTest, ALimitNamesTheLargestStepAndChangesNothing) {
    Type(IDC_DE_V_START, "5");
    Press(IDC_UP, "3");
    Type(IDC_DE_V_START, "0");
    Type(IDC_DE_V_END, "7");
    Press(IDC_UP, "1");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"The shift start value is too large!!(2)",
                                                    "The shift end value is too large!!(0)"}));
    EXPECT_EQ(Vertical(), "0,7");
    EXPECT_TRUE(m_card->Writes().empty());
}

TEST_F(OutputPositionTest, DownReachesMinusEight) {
    Press(IDC_DOWN, "8");
    EXPECT_EQ(Vertical(), "8,8");
    Press(IDC_DOWN, "1");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The shift start value is too large!!(0)"});
}

TEST_F(OutputPositionTest, HorizontalOffsetsAreTenBitNumbers) {
    Type(IDC_DE_H_START, "3FF");
    Press(IDC_RIGHT, "1");
    EXPECT_EQ(Horizontal(), "3FE,3FF");
    EXPECT_EQ(m_card->Writes(),
              (std::vector<std::string>{"W 44/8B 0C", "W 44/8D FE", "W 44/8B 0F", "W 44/8C FF"}));
    Press(IDC_RIGHT, "511");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The shift start value is too large!!(510)"});
    Press(IDC_RIGHT, "510");
    EXPECT_EQ(Horizontal(), "200,201");  // -512 and -511
}

TEST_F(OutputPositionTest, EachFieldMovesFromItsOwnValue) {
    Type(IDC_DE_V_START, "2");
    Press(IDC_UP, "1");
    EXPECT_EQ(Vertical(), "3,1");
}

TEST_F(OutputPositionTest, AHexadecimalStepPassesTheRangeCheckAndMoves) {
    Press(IDC_LEFT, "0x20");
    EXPECT_EQ(Horizontal(), "20,20");
    EXPECT_TRUE(Messages().empty());
    // A negative hexadecimal step would wrap past the limit: it moves nothing.
    Press(IDC_UP, "-0x9");
    EXPECT_EQ(Vertical(), "0,0");
}

TEST_F(OutputPositionTest, AnInvalidStepIsReportedOnEveryReleaseAndMovesNothing) {
    Press(IDC_H_ACTIVE, "600");
    Press(IDC_UP, "-1");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0], platform::Utf8ToAnsi("輸入 0 和 511 之間的整數。"));
    EXPECT_EQ(Vertical(), "0,0");
    EXPECT_TRUE(m_card->log.empty());
}

TEST_F(OutputPositionTest, OnlyAMouseReleaseMoves) {
    ui::Input space;
    space.kind = ui::Input::KeySpace;
    space.id = IDC_UP;
    ui::DispatchInput(*m_editor, space);
    EXPECT_EQ(Vertical(), "0,0");
    ui::Input release;
    release.kind = ui::Input::Release;
    release.id = IDC_UP;
    ui::DispatchInput(*m_editor, release);
    EXPECT_EQ(Vertical(), "1,1");
}

}  // namespace
}  // namespace timingtest
