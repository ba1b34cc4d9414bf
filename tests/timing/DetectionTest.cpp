// Measuring the input: the detected size, the line-length count and the line frequency.
#include "EditorFixture.h"

namespace timingtest {
namespace {

using namespace res;

class DetectionTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        Open();
    }
};

TEST_F(DetectionTest, TheFirstDetectionRunsOnceTheEditorShows) {
    EXPECT_EQ(Field(IDC_DETECTED_WIDTH), "");
    EXPECT_EQ(m_editor->PostedCommands(), std::deque<int>{IDC_DETECT});
    ui::ServePosted(*m_editor);
    EXPECT_EQ(Field(IDC_DETECTED_WIDTH), "1920");
    EXPECT_EQ(Field(IDC_DETECTED_HEIGHT), "1080");
    EXPECT_EQ(Field(IDC_LINE_LENGTH), "3394");
    EXPECT_EQ(Field(IDC_LINE_FREQ), "67.50");
    EXPECT_EQ(TakeTrace(),
              "FPGA Detect H = 1920\r\nFPGA Detect V = 1080\r\nvalue 0 = 0x0D, value1 = 0x42\r\n");
}

TEST_F(DetectionTest, OnlyTheLowSixBitsOfTheFirstCountByteCount) {
    m_card->Reg(0x44, 0xB1) = 0xCD;
    m_card->Reg(0x44, 0xB2) = 0x42;
    m_editor->DetectInput();
    EXPECT_EQ(Field(IDC_LINE_LENGTH), "3394");
    EXPECT_NE(TakeTrace().find("value 0 = 0xCD, value1 = 0x42\r\n"), std::string::npos);
}

TEST_F(DetectionTest, AFailedFpgaReadIsReportedAndKeepsItsField) {
    m_editor->DetectInput();
    m_card->SetMeasured(1280, 720, 4500);
    m_card->failingFpga = {0x4110};
    m_editor->DetectInput();
    EXPECT_EQ(Messages(), std::vector<std::string>{"REG read failed"});
    EXPECT_EQ(Field(IDC_DETECTED_WIDTH), "1920");
    EXPECT_EQ(Field(IDC_DETECTED_HEIGHT), "720");
}

TEST_F(DetectionTest, AFailedCountReadKeepsTheLastMeasurement) {
    m_editor->DetectInput();
    m_card->SetMeasured(1920, 1080, 1000);
    m_card->failingReads = {{0x44, 0xB1}};
    m_editor->DetectInput();
    EXPECT_EQ(Field(IDC_LINE_LENGTH), "3394");
    EXPECT_EQ(Field(IDC_LINE_FREQ), "67.50");
}

TEST_F(DetectionTest, ACountOfZeroIsNoFrequency) {
    m_card->SetMeasured(0, 0, 0);
    m_editor->DetectInput();
    EXPECT_EQ(Field(IDC_LINE_LENGTH), "0");
    EXPECT_EQ(Field(IDC_LINE_FREQ), "0.00");
    m_editor->OnOkButton();
    EXPECT_EQ(Table().TimingBlocks[2].LineFreq, 0);
}

TEST_F(DetectionTest, TheStepFieldShowsTheStepLastRead) {
    Type(IDC_STEP, "12");
    ASSERT_TRUE(m_editor->UpdateData(true));
    Type(IDC_STEP, "34");
    m_editor->DetectInput();
    EXPECT_EQ(Field(IDC_STEP), "12");
}

}  // namespace
}  // namespace timingtest
