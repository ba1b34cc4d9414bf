// The editor's window: what it shows when it opens, and what OK stores.
#include <cstring>

#include "EditorFixture.h"

namespace timingtest {
namespace {

using namespace res;
using Texts = std::vector<std::string>;

class EditorDialogTest : public EditorTest {
  protected:
    Texts Row(int row) {
        ui::CListCtrl& list = m_main.m_userList;
        return {list.GetItemText(row, 0), list.GetItemText(row, 1), list.GetItemText(row, 2)};
    }
    void TypeSize(const std::string& width, const std::string& height, const std::string& rate) {
        Type(IDC_H_ACTIVE, width);
        Type(IDC_V_ACTIVE, height);
        Type(IDC_FRAME_RATE, rate);
    }
    // A user format with bytes the editor does not interpret.
    static fmt::FormatRecord Stored() {
        fmt::FormatRecord r;
        r.TagBytes = fmt::MakeTag("my own format");
        r.TagBytes[17] = 0xAB;
        r.Enabled = 0;
        r.Timing.PixelClockMHz = 148;
        r.Timing.FrameRate = 5994;
        r.Timing.HPolarity = 1;
        r.Timing.Interlace = 1;
        r.Timing.Byte11 = 0x5C;
        r.Timing.HActive = 1920;
        r.Timing.VActive = 1080;
        r.Timing.HTotal = 2200;
        r.Timing.VTotal = 1125;
        r.Timing.VSyncRange1 = fmt::VSyncRange(5);
        r.Timing.Bytes56 = {1, 2, 3, 4, 5, 6, 7, 8};
        r.Registers.PLLDivRatio = 0x898;
        r.Registers.Byte3 = 0x99;
        r.Registers.Word6 = 0x1234;
        r.Registers.FR_LL = 0x1A8;
        r.Registers.L_MAX = 0x465;
        r.Registers.DE_H_START = 0x3F6;
        r.Registers.DE_V_START = 0x4;
        r.Registers.F1_VBI_START = 0x462;
        r.Registers.F1_VBI_END = 0x2A;
        r.Registers.F2_VBI_START = 0x462;
        r.Registers.F2_VBI_END = 0x48F;
        return r;
    }
};

TEST_F(EditorDialogTest, ANewFormatStartsAtZeroAndAsksForADetection) {
    Open();
    for (int id :
         {IDC_H_TOTAL,   IDC_H_ACTIVE,      IDC_V_TOTAL,      IDC_V_ACTIVE,      IDC_FRAME_RATE,
          IDC_H_SYNC,    IDC_H_FRONT_PORCH, IDC_V_SYNC,       IDC_V_FRONT_PORCH, IDC_DE_H_START,
          IDC_DE_H_END,  IDC_DE_V_START,    IDC_DE_V_END,     IDC_PIXEL_CLOCK,   IDC_PLL_DIV_RATIO,
          IDC_FR_LL,     IDC_L_MAX,         IDC_F1_VBI_START, IDC_F1_VBI_END,    IDC_F2_VBI_START,
          IDC_F2_VBI_END}) {
        EXPECT_EQ(Field(id), "0") << id;
    }
    EXPECT_EQ(Field(IDC_LINE_LENGTH), "");
    EXPECT_EQ(Field(IDC_LINE_FREQ), "");
    EXPECT_EQ(Field(IDC_STEP), "1");
    for (int id : {IDC_INTERLACE, IDC_H_POLARITY, IDC_V_POLARITY}) {
        EXPECT_EQ(m_editor->Control(id).curSel, -1);
    }
    EXPECT_EQ(m_editor->PostedCommands(), std::deque<int>{IDC_DETECT});
    EXPECT_EQ(m_editor->GetFocus(), IDC_H_ACTIVE);
    EXPECT_EQ(TakeTrace(), "");
}

TEST_F(EditorDialogTest, OkAddsTheFormatAndItsRow) {
    Open();
    ui::ServePosted(*m_editor);
    TypeSize("1024", "768", "60");
    Choose(IDC_H_POLARITY, "Positive");
    Choose(IDC_V_POLARITY, "Positive");
    Choose(IDC_INTERLACE, "No");
    Type(IDC_V_SYNC, "1");
    Type(IDC_V_TOTAL, "20");
    m_editor->OnOkButton();

    EXPECT_TRUE(m_editor->HasEnded());
    EXPECT_EQ(m_editor->Result(), ui::IDOK);
    EXPECT_EQ(Row(0), (Texts{"0", "1024x768", "60.00"}));
    EXPECT_TRUE(m_main.m_userList.GetCheck(0));
    ASSERT_EQ(Table().UserCount, 1);
    EXPECT_EQ(Table().RecordCount, 3);
    const fmt::FormatRecord r = Table().Record(2);
    EXPECT_EQ(fmt::TagText(r.TagBytes), "_autogr_support");
    EXPECT_EQ(r.Enabled, 1u);
    EXPECT_EQ(r.Timing.FrameRate, 6000);
    EXPECT_EQ(r.Timing.HPolarity, 1);
    EXPECT_EQ(r.Timing.VPolarity, 1);
    EXPECT_EQ(r.Timing.Interlace, 0);
    EXPECT_EQ(r.Registers.Interlace, 0);
    EXPECT_EQ(r.Timing.HActive, 1024);
    EXPECT_EQ(r.Timing.VActive, 768);
    EXPECT_EQ(r.Timing.LineFreq, 6750);
    EXPECT_EQ(r.Timing.LineLengthRange, (fmt::RangeTriple{3354, 3394, 3434}));
    EXPECT_EQ(r.Timing.VSyncRange3, (fmt::RangeTriple{0, 1, 3}));
    EXPECT_EQ(r.Timing.VTotalRange2, (fmt::RangeTriple{0, 20, 45}));
    EXPECT_EQ(r.Timing.Word64, 12u);
    EXPECT_EQ(r.Registers.Word12, 2u);
}

TEST_F(EditorDialogTest, AFractionalRateKeepsItsHundredths) {
    Open();
    TypeSize("1920", "1080", "59.94");
    m_editor->OnOkButton();
    EXPECT_EQ(Row(0)[2], "59.94");
    EXPECT_EQ(Table().TimingBlocks[2].FrameRate, 5994);
    // A list with no selection gives flags of 0; a format never detected has no line length.
    EXPECT_EQ(Table().TimingBlocks[2].HPolarity, 0);
    EXPECT_EQ(Table().TimingBlocks[2].Interlace, 0);
    EXPECT_EQ(Table().TimingBlocks[2].LineLengthRange, (fmt::RangeTriple{0, 0, 40}));
}

TEST_F(EditorDialogTest, AStepOutOfRangeStopsOkBeforeAnythingIsStored) {
    Open();
    Type(IDC_STEP, "600");
    m_editor->OnOkButton();
    EXPECT_EQ(Messages(), Texts{platform::Utf8ToAnsi("輸入 0 和 511 之間的整數。")});
    EXPECT_EQ(m_editor->GetFocus(), IDC_STEP);
    EXPECT_FALSE(m_editor->HasEnded());
    EXPECT_EQ(Table().UserCount, 0);
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 0);
    Type(IDC_STEP, "5");
    m_editor->OnOkButton();
    EXPECT_EQ(Table().UserCount, 1);
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 1);
}

TEST_F(EditorDialogTest, EnterInAFieldClosesWithOkButOnlyTheOkButtonStores) {
    Open();
    TypeSize("800", "600", "75");
    ui::Input enter;
    enter.kind = ui::Input::KeyEnter;
    ui::DispatchInput(*m_editor, enter);
    EXPECT_EQ(m_editor->Result(), ui::IDOK);
    EXPECT_EQ(Table().UserCount, 0);
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 0);

    Open();
    TypeSize("800", "600", "75");
    enter.id = IDC_OK;  // Enter on the focused OK button is that button
    ui::DispatchInput(*m_editor, enter);
    EXPECT_EQ(m_editor->Result(), ui::IDOK);
    EXPECT_EQ(Table().UserCount, 1);
    EXPECT_EQ(Row(0), (Texts{"0", "800x600", "75.00"}));
}

TEST_F(EditorDialogTest, AFullTableTakesNoMoreFormats) {
    SetBuiltinCount(256);
    Open();
    m_editor->OnOkButton();
    EXPECT_EQ(Messages(), Texts{timing::kMsgTableFull});
    EXPECT_EQ(Table().UserCount, 0);
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 0);
    EXPECT_FALSE(m_editor->HasEnded());
}

TEST_F(EditorDialogTest, EditingShowsTheStoredFormat) {
    AddUserFormat(Stored());
    Open(0);
    EXPECT_EQ(TakeTrace(), "Edit number is 0");
    EXPECT_EQ(Field(IDC_H_TOTAL), "2200");
    EXPECT_EQ(Field(IDC_V_ACTIVE), "1080");
    EXPECT_EQ(Field(IDC_FRAME_RATE), "59.94");
    EXPECT_EQ(Field(IDC_H_POLARITY), "Positive");
    EXPECT_EQ(Field(IDC_V_POLARITY), "Negtive");
    EXPECT_EQ(Field(IDC_INTERLACE), "Yes");
    for (int id : {IDC_H_SYNC, IDC_H_FRONT_PORCH}) {
        EXPECT_EQ(Field(id), "N/A");
        EXPECT_FALSE(m_editor->Control(id).enabled);
    }
    EXPECT_EQ(Field(IDC_V_SYNC), "5");
    EXPECT_EQ(Field(IDC_V_FRONT_PORCH), "4");  // 1125 - 0x462 + 1
    EXPECT_EQ(Field(IDC_DE_H_START), "3F6");
    EXPECT_EQ(Field(IDC_DE_V_START), "4");
    EXPECT_EQ(Field(IDC_PIXEL_CLOCK), "148");
    EXPECT_EQ(Field(IDC_F1_VBI_END), "2A");
    EXPECT_EQ(Field(IDC_F2_VBI_END), "48F");
}

TEST_F(EditorDialogTest, AnUnchangedEditKeepsWhatTheEditorDoesNotInterpret) {
    const fmt::FormatRecord before = Stored();
    AddUserFormat(before);
    AddUserFormat(before);
    m_main.m_userList.SetCheck(1, false);  // an unapplied click the refill drops
    Table().EnableFlags[3] = 1;
    Open(0);
    ui::ServePosted(*m_editor);
    m_editor->OnOkButton();

    const fmt::FormatRecord after = Table().Record(2);
    EXPECT_EQ(fmt::TagText(after.TagBytes), "_autogr_support");
    EXPECT_EQ(after.TagBytes[17], 0xAB);
    EXPECT_EQ(after.Enabled, 1u);
    EXPECT_EQ(after.Timing.Byte11, 0x5C);
    EXPECT_EQ(after.Timing.Bytes56, before.Timing.Bytes56);
    EXPECT_EQ(after.Registers.Byte3, 0x99);
    EXPECT_EQ(after.Registers.Word6, 0);
    EXPECT_EQ(after.Timing.LineLengthRange, (fmt::RangeTriple{3354, 3394, 3434}));
    EXPECT_EQ(after.Registers, [&] {
        fmt::RegisterBlock g = before.Registers;
        g.Interlace = 1;
        g.Word6 = 0;
        g.Word12 = 2;
        return g;
    }());
    EXPECT_EQ(after.Timing.FrameRate, 5994);
    fmt::FormatRecord second = before;
    second.Enabled = 1;
    EXPECT_EQ(Table().Record(3), second);
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 2);
    EXPECT_EQ(Row(0), (Texts{"0", "1920x1080", "59.94"}));
    EXPECT_TRUE(m_main.m_userList.GetCheck(1));
}

TEST_F(EditorDialogTest, AnEditIndexOutsideTheUserFormatsStoresNothing) {
    AddUserFormat(Stored());
    const fmt::FormatRecord before = Table().Record(2);
    Open(1);
    EXPECT_EQ(Field(IDC_H_TOTAL), "0");
    m_editor->OnOkButton();
    EXPECT_EQ(Table().Record(2), before);
    EXPECT_EQ(Table().Record(3), fmt::FormatRecord{});
    EXPECT_EQ(Table().UserCount, 1);
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 1);
}

TEST_F(EditorDialogTest, CancelStoresNothing) {
    Open();
    TypeSize("1024", "768", "60");
    ui::Input click;
    click.id = IDC_CANCEL;
    ui::DispatchInput(*m_editor, click);
    EXPECT_EQ(m_editor->Result(), ui::IDCANCEL);
    EXPECT_EQ(Table().UserCount, 0);
}

}  // namespace
}  // namespace timingtest
