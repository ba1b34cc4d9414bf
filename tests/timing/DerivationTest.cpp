// Register values derived from an entered timing, as the hidden fields show them.
#include "EditorFixture.h"

namespace timingtest {
namespace {

using namespace res;

class DerivationTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        Open();
    }
    void Derive() {
        m_editor->CalcFrameRegisters();
        m_editor->CalcField1Blanking();
        m_editor->CalcField2Blanking();
    }
};

TEST_F(DerivationTest, Progressive1080p60) {
    TypeTiming(2200, 1125, 1080, 4, 5, "60.00", "No");
    Derive();
    EXPECT_EQ(Field(IDC_PLL_DIV_RATIO), "898");
    EXPECT_EQ(Field(IDC_FR_LL), "1A8");
    EXPECT_EQ(Field(IDC_L_MAX), "465");
    EXPECT_EQ(Field(IDC_PIXEL_CLOCK), "148.5000");
    EXPECT_EQ(Field(IDC_F1_VBI_START), "462");
    EXPECT_EQ(Field(IDC_F1_VBI_END), "02A");
    EXPECT_EQ(Field(IDC_F2_VBI_START), "462");
    EXPECT_EQ(Field(IDC_F2_VBI_END), "48F");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DerivationTest, InterlacedHalvesEachTermOnItsOwn) {
    TypeTiming(2200, 1125, 1080, 5, 10, "30", "Yes");
    m_editor->CalcField1Blanking();
    EXPECT_EQ(TakeTrace(),
              "VTotal_F1 = 1125\r\nVActive_F1 = 1080\r\nVS_Width = 10\r\nVFrontPorch = 5\r\n"
              "VBackPorch = 30\r\n");
    m_editor->CalcField2Blanking();
    EXPECT_EQ(TakeTrace(),
              "VTotal = 1125\r\nVActive_F1 = 1080\r\nVS_Width = 10\r\nVFrontPorch = 5\r\n"
              "VBackPorch = 30\r\n");
    EXPECT_EQ(Field(IDC_F1_VBI_START), "464");
    EXPECT_EQ(Field(IDC_F1_VBI_END), "015");
    EXPECT_EQ(Field(IDC_F2_VBI_START), "231");
    EXPECT_EQ(Field(IDC_F2_VBI_END), "248");

    // Odd values lose their half line: VFP 5 and VS 5 contribute 2 each.
    TypeTiming(2200, 1125, 1080, 5, 5, "30", "Yes");
    m_editor->CalcField1Blanking();
    EXPECT_EQ(Field(IDC_F1_VBI_START), "464");
    EXPECT_EQ(Field(IDC_F1_VBI_END), "014");  // 35/2 + 5/2 + 1
}

TEST_F(DerivationTest, FractionalFrameRateUsesItsIntegerPart) {
    TypeTiming(2200, 1125, 1080, 4, 5, "59.94", "No");
    m_editor->CalcFrameRegisters();
    EXPECT_EQ(Field(IDC_FR_LL), "1AF");
    EXPECT_EQ(Field(IDC_PIXEL_CLOCK), "146.0250");
}

TEST_F(DerivationTest, NoInterlaceChoiceIsProgressive) {
    TypeTiming(2200, 1125, 1080, 4, 5, "60", "");
    Derive();
    EXPECT_EQ(Field(IDC_F1_VBI_END), "02A");
    EXPECT_EQ(Field(IDC_F2_VBI_END), "48F");
}

TEST_F(DerivationTest, WideAndNegativeResultsKeepTheirHexForm) {
    TypeTiming(4096, 1125, 1124, 4, 5, "60", "No");  // the totals are too small: VBP -8
    Derive();
    EXPECT_EQ(Field(IDC_PLL_DIV_RATIO), "1000");
    EXPECT_NE(TakeTrace().find("VBackPorch = -8\r\n"), std::string::npos);
    EXPECT_EQ(Field(IDC_F1_VBI_END), "FFFE");  // 5 - 8 + 1
    EXPECT_EQ(Field(IDC_F2_VBI_END), "463");   // 5 - 8 + 1125 + 1
}

TEST_F(DerivationTest, ZeroFrameRateIsRefusedAfterThePllField) {
    TypeTiming(2200, 1125, 1080, 4, 5, "0.50", "No");
    m_editor->CalcFrameRegisters();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Frame Rate can not set zero"});
    EXPECT_EQ(Field(IDC_PLL_DIV_RATIO), "898");
    EXPECT_EQ(Field(IDC_FR_LL), "0");
    EXPECT_EQ(Field(IDC_L_MAX), "0");
    EXPECT_EQ(Field(IDC_PIXEL_CLOCK), "0");
}

TEST_F(DerivationTest, ZeroVerticalTotalIsRefusedNeverDividedBy) {
    TypeTiming(2200, 0, 1080, 4, 5, "60", "No");
    m_editor->CalcFrameRegisters();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Vertical Total can not set zero"});
    EXPECT_EQ(Field(IDC_PLL_DIV_RATIO), "898");
    EXPECT_EQ(Field(IDC_FR_LL), "0");
    EXPECT_EQ(Field(IDC_PIXEL_CLOCK), "0");
}

TEST_F(DerivationTest, PixelClockProductBeyond32Bits) {
    // 240 x 20000 x 20000 = 96 000 000 000, far past the 32-bit range.
    TypeTiming(20000, 20000, 1080, 4, 5, "240", "No");
    m_editor->CalcFrameRegisters();
    EXPECT_EQ(Field(IDC_PIXEL_CLOCK), "96000.0000");
    EXPECT_EQ(Field(IDC_FR_LL), "005");  // 28636300 / 4800000
}

}  // namespace
}  // namespace timingtest
