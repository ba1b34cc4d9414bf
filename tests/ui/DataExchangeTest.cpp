// Data exchange and the range check, as OK runs them.
#include "UiTestSupport.h"

namespace uitest {
namespace {

class DataExchangeTest : public UiTest {};

TEST_F(DataExchangeTest, AStepOutsideTheRangeShowsTheRangeMessageFocusesTheFieldAndStaysOpen) {
    CTestDialog dlg(m_template);
    dlg.m_flag = 1;
    m_script.Add(Type(kStep, "600"))
        .Add(Click(kFlag))  // the box goes off, and takes the focus
        .Add(Key(ui::Input::KeyEnter))
        .Add(Type(kStep, "511"))
        .Add(Key(ui::Input::KeyEnter));
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(m_host.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_host.MessageBoxes()[0].text, "輸入 0 和 511 之間的整數。");
    EXPECT_EQ(m_host.MessageBoxes()[0].type, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    EXPECT_EQ(dlg.m_step, "511");
    EXPECT_EQ(dlg.m_flag, 0);
}

TEST_F(DataExchangeTest, AFailedExchangeStopsAtTheFailingFieldAndFocusesIt) {
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);
    ui::CButton(&dlg, kFlag).SetCheck(1);
    ui::DispatchInput(dlg, Type(kStep, "-1"));
    ui::DispatchInput(dlg, Click(kGo));

    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.GetFocus(), kStep);
    EXPECT_EQ(dlg.m_flag, 0);  // the exchange stopped before the check box
    EXPECT_EQ(m_host.MessageBoxes().back().text, "輸入 0 和 511 之間的整數。");

    dlg.m_step = "9";
    dlg.m_flag = 0;
    EXPECT_TRUE(dlg.UpdateData(false));  // writing never validates
    EXPECT_EQ(dlg.GetDlgItemText(kStep), "9");
    EXPECT_EQ(ui::CButton(&dlg, kFlag).GetCheck(), 0);
}

TEST_F(DataExchangeTest, TheRangeMessageIsInTheAnsiCodePage) {
    platform::SetAnsiCodePage(platform::CodePage::Big5);
    CTestDialog dlg(m_template);
    ui::InitDialog(dlg);
    ui::DispatchInput(dlg, Type(kStep, "512"));
    EXPECT_FALSE(dlg.UpdateData(true));
    ASSERT_EQ(m_host.MessageBoxes().size(), 1u);
    const std::string& text = m_host.MessageBoxes()[0].text;
    EXPECT_EQ(platform::AnsiToUtf8(text), "輸入 0 和 511 之間的整數。");
    EXPECT_NE(text, "輸入 0 和 511 之間的整數。");  // Big5 bytes, not UTF-8
}

}  // namespace
}  // namespace uitest
