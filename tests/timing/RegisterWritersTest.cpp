// The chip writers: which registers they touch, in which order, with which bytes.
#include "EditorFixture.h"

namespace timingtest {
namespace {

using namespace res;
using Lines = std::vector<std::string>;

class RegisterWritersTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        Open();
        TakeTrace();
    }
};

TEST_F(RegisterWritersTest, PllDividerKeepsTheTopBitsOfItsFirstRegister) {
    m_card->Reg(0x40, 0x16) = 0xE0;
    Type(IDC_PLL_DIV_RATIO, "898");
    m_editor->WritePllDivRatio();
    EXPECT_EQ(m_card->ChipRequests(), (Lines{"R 40/16", "W 40/16 E8 98"}));
    EXPECT_EQ(TakeTrace(), "NewPLLDivRatio = 0x898\r\nValue[0] = 0xE8, Value[1] = 0x98\r\n");
    EXPECT_EQ(m_clock.NowMs(), 0u);  // no pause after the frame registers

    // Bits beyond the register field do not reach the chip.
    m_card->log.clear();
    Type(IDC_PLL_DIV_RATIO, "2898");
    m_editor->WritePllDivRatio();
    EXPECT_EQ(m_card->Writes(), Lines{"W 40/16 E8 98"});
    EXPECT_EQ(TakeTrace(), "NewPLLDivRatio = 0x2898\r\nValue[0] = 0xE8, Value[1] = 0x98\r\n");
}

TEST_F(RegisterWritersTest, LineLengthIsDoubledForInterlace) {
    m_card->Reg(0x44, 0x8F) = 0x2F;
    Type(IDC_FR_LL, "1A8");
    Choose(IDC_INTERLACE, "No");
    m_editor->WriteFrLl();
    Choose(IDC_INTERLACE, "");
    m_editor->WriteFrLl();
    Choose(IDC_INTERLACE, "Yes");
    m_editor->WriteFrLl();
    EXPECT_EQ(m_card->Writes(), (Lines{"W 44/8F 29 A8", "W 44/8F 29 A8", "W 44/8F 2B 50"}));
    EXPECT_NE(TakeTrace().find("FR_LL = 0x350\r\nValue[0] = 0x2B, Value[1] = 0x50\r\n"),
              std::string::npos);
}

TEST_F(RegisterWritersTest, LineCountKeepsTheLowNibbleOfItsSecondRegister) {
    m_card->Reg(0x44, 0xAC) = 0x3C;
    Type(IDC_L_MAX, "465");
    m_editor->WriteLMax();
    EXPECT_EQ(m_card->ChipRequests(), (Lines{"R 44/AB x2", "W 44/AB 46 5C"}));
    EXPECT_EQ(TakeTrace(), "L_MAX = 0x465\r\nValue[0] = 0x46, Value[1] = 0x5C\r\n");
}

TEST_F(RegisterWritersTest, DeHorizontalStartThenItsPauseAndFreshDetection) {
    Type(IDC_DE_H_START, "3FF");
    m_editor->WriteDeHStart();
    EXPECT_EQ(m_card->log, (Lines{"R 44/8B", "W 44/8B 0C", "W 44/8D FF", "FPGA 4110", "FPGA 4114",
                                  "R 44/B1 x2"}));
    EXPECT_EQ(TakeTrace(),
              "New_DE_H_START = 0x3FF\r\nValueHigh = 0x0C\r\nValueLow = 0xFF\r\n"
              "FPGA Detect H = 1920\r\nFPGA Detect V = 1080\r\n"
              "value 0 = 0x0D, value1 = 0x42\r\n");
    EXPECT_EQ(m_clock.NowMs(), 500u);
    EXPECT_EQ(Field(IDC_DETECTED_WIDTH), "1920");
}

TEST_F(RegisterWritersTest, StartAndEndOfOneDirectionShareARegister) {
    m_card->Reg(0x44, 0x8B) = 0xF0;
    Type(IDC_DE_H_START, "3FF");
    Type(IDC_DE_H_END, "1FF");
    m_editor->WriteDeHStart();
    m_editor->WriteDeHEnd();
    EXPECT_EQ(m_card->Reg(0x44, 0x8B), 0xFD);
    EXPECT_EQ(m_card->Reg(0x44, 0x8C), 0xFF);
    EXPECT_EQ(m_card->Reg(0x44, 0x8D), 0xFF);

    Type(IDC_DE_V_START, "8");
    Type(IDC_DE_V_END, "3");
    m_editor->WriteDeVStart();
    EXPECT_EQ(m_card->Reg(0x44, 0x8E), 0x80);
    m_editor->WriteDeVEnd();
    EXPECT_EQ(m_card->Reg(0x44, 0x8E), 0x83);
    EXPECT_NE(TakeTrace().find("New_DE_V_END = 0x003\r\nValue = 0x83\r\n"), std::string::npos);
}

TEST_F(RegisterWritersTest, BlankingStartOverwritesItsFirstRegisterUnread) {
    m_card->Reg(0x44, 0xA5) = 0x77;
    m_card->Reg(0x44, 0xA6) = 0x5A;
    Type(IDC_F1_VBI_START, "462");
    m_editor->WriteF1VbiStart();
    const Lines requests = m_card->ChipRequests();
    EXPECT_EQ(Lines(requests.begin(), requests.begin() + 3),
              (Lines{"W 44/A5 46", "R 44/A6", "W 44/A6 2A"}));

    m_card->log.clear();
    Type(IDC_F2_VBI_END, "48F");
    m_card->Reg(0x44, 0xA9) = 0xC3;
    m_editor->WriteF2VbiEnd();
    EXPECT_EQ(m_card->Writes(), (Lines{"W 44/A9 C4", "W 44/AA 8F"}));
    EXPECT_EQ(m_clock.NowMs(), 1000u);
}

TEST_F(RegisterWritersTest, InterlaceFlagFollowsTheChoice) {
    m_card->Reg(0x44, 0x91) = 0xFF;
    Choose(IDC_INTERLACE, "");
    m_editor->WriteInterlace();
    EXPECT_EQ(m_card->Reg(0x44, 0x91), 0xBF);
    EXPECT_EQ(TakeTrace(), "NeweInterlace = -1\r\nWrite Value = 0xBF\r\n");
    Choose(IDC_INTERLACE, "Yes");
    m_editor->WriteInterlace();
    EXPECT_EQ(m_card->Reg(0x44, 0x91), 0xFF);
    EXPECT_EQ(TakeTrace(), "NeweInterlace = 1\r\nWrite Value = 0xFF\r\n");
}

// Looks at the "Detect" button while the editor waits.
class CWatchingClock final : public platform::IClock {
  public:
    explicit CWatchingClock(ui::CDialog& dlg) : m_dlg(dlg) {}
    uint64_t NowMs() override { return m_now; }
    void Sleep(uint32_t ms) override {
        m_now += ms;
        detectEnabledWhileWaiting.push_back(m_dlg.Control(IDC_DETECT).enabled);
    }
    std::vector<bool> detectEnabledWhileWaiting;

  private:
    ui::CDialog& m_dlg;
    uint64_t m_now = 0;
};

TEST_F(RegisterWritersTest, DetectIsGreyDuringThePause) {
    CWatchingClock clock(*m_editor);
    platform::SetClock(&clock);
    m_editor->WriteDeVEnd();
    platform::SetClock(&m_clock);
    EXPECT_EQ(clock.detectEnabledWhileWaiting, std::vector<bool>{false});
    EXPECT_TRUE(m_editor->Control(IDC_DETECT).enabled);
}

TEST_F(RegisterWritersTest, AFailedReadKeepsItsByteFromTheChip) {
    m_card->failingReads = {{0x44, 0x8B}, {0x40, 0x16}, {0x44, 0xA6}};
    Type(IDC_DE_H_START, "3FF");
    m_editor->WriteDeHStart();
    Type(IDC_PLL_DIV_RATIO, "898");
    m_editor->WritePllDivRatio();
    Type(IDC_F1_VBI_START, "462");
    m_editor->WriteF1VbiStart();
    // Only the writes that need no byte read back go out.
    EXPECT_EQ(m_card->Writes(), (Lines{"W 44/8D FF", "W 44/A5 46"}));
    const std::string trace = TakeTrace();
    EXPECT_NE(trace.find("New_DE_H_START = 0x3FF\r\nValueLow = 0xFF\r\n"), std::string::npos);
    EXPECT_NE(trace.find("NewPLLDivRatio = 0x898\r\nNew_F1_VBI_START = 0x462\r\n"
                         "ValueHigh = 0x46\r\nFPGA"),
              std::string::npos);
    EXPECT_EQ(m_clock.NowMs(), 1000u);  // the pauses still run
}

}  // namespace
}  // namespace timingtest
