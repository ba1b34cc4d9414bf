// "Test": the timing tried on the card, the picture aligned to the measured input and the test
// table handed to the driver.
#include <filesystem>

#include "EditorFixture.h"
#include "format/FormatTable.h"

namespace timingtest {
namespace {

using namespace res;
using Lines = std::vector<std::string>;

class TimingTestTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        m_card->onReload = [this](uint8_t selector) {
            if (selector == 2)
                m_testTable = ReadTestTable();
        };
    }
    void TypeFormat() {
        Type(IDC_H_ACTIVE, "1920");
        TypeTiming(2200, 1125, 1080, 4, 5, "60", "No");
    }
    // The records of "testformat.bin" as the driver finds it.
    std::vector<fmt::FormatRecord> ReadTestTable() {
        fmt::FormatTable file;
        if (file.ReadFormatFile(m_root / "Windows/System32/testformat.bin") != fmt::kOk)
            return {};
        std::vector<fmt::FormatRecord> records;
        for (size_t i = 0; i < file.StagingTags.size(); ++i) {
            records.push_back({file.StagingTags[i], file.StagingEnableFlags[i],
                               file.StagingTimingBlocks[i], file.StagingRegisterBlocks[i]});
        }
        return records;
    }
    std::vector<fmt::FormatRecord> m_testTable;
};

TEST_F(TimingTestTest, AddModeTriesTheFormatWithoutKeepingIt) {
    Open();
    ui::ServePosted(*m_editor);
    TypeFormat();
    m_card->log.clear();
    m_editor->RunTimingTest();

    EXPECT_EQ(m_card->log.front(), "Reload 0");
    EXPECT_EQ(m_card->log.back(), "Reload 2");
    EXPECT_EQ(m_card->Writes(),
              (Lines{"W 44/A5 46", "W 44/A6 20", "W 44/A6 20", "W 44/A7 2A", "W 44/A8 46",
                     "W 44/A9 20", "W 44/A9 24", "W 44/AA 8F", "W 40/16 08 98", "W 44/8F 01 A8",
                     "W 44/AB 46 50", "W 44/91 00", "W 44/8B 00", "W 44/8D 00", "W 44/8B 00",
                     "W 44/8C 00", "W 44/8E 00", "W 44/8E 00"}));
    EXPECT_EQ(m_clock.NowMs(), 4500u);  // the settling wait and eight pauses
    ASSERT_EQ(m_testTable.size(), 3u);
    EXPECT_EQ(m_testTable[2].Timing.HActive, 1920);
    EXPECT_EQ(m_testTable[2].Registers.F2_VBI_END, 0x48F);
    EXPECT_EQ(Table().UserCount, 0);
    EXPECT_EQ(Table().RecordCount, 2);
    EXPECT_EQ(Table().Record(2), fmt::FormatRecord{});
    EXPECT_EQ(m_main.m_userList.GetItemCount(), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TimingTestTest, OnlyALoneVgaLockGetsTheVgaSettings) {
    Open();
    TypeFormat();
    m_card->vgaStatus = 1;
    m_card->Reg(0x40, 0x00) = 0xFF;
    m_card->Reg(0x40, 0x01) = 0xFF;
    m_editor->RunTimingTest();
    Lines writes = m_card->Writes();
    EXPECT_EQ(Lines(writes.begin() + 8, writes.begin() + 12),
              (Lines{"W 40/00 C7", "W 40/01 F2", "W 40/16 80", "W 40/16 88 98"}));
    std::string trace = TakeTrace();
    EXPECT_NE(trace.find("VGA Lock (1)"), std::string::npos);
    EXPECT_NE(trace.find("NewVidStd = 7\r\nWrite Value = 0xC7\r\nNewePrimMode = 2\r\n"
                         "Write Value = 0xF2\r\nNeweInterlace = 1\r\nWrite Value = 0x80\r\n"),
              std::string::npos);

    m_card->log.clear();
    m_card->hdmiStatus = 3;
    m_editor->RunTimingTest();
    writes = m_card->Writes();
    EXPECT_EQ(writes[8], "W 40/16 88 98");
    trace = TakeTrace();
    EXPECT_NE(trace.find("VGA Lock (1)\nHDMI Lock (3)\n"), std::string::npos);
    EXPECT_EQ(trace.find("NewVidStd"), std::string::npos);
}

TEST_F(TimingTestTest, EditModeCommitsTheTriedFormat) {
    fmt::FormatRecord stored;
    stored.Timing.HActive = 640;
    AddUserFormat(stored);
    AddUserFormat(stored);
    Open(1);
    TypeFormat();
    TakeTrace();
    m_editor->RunTimingTest();
    ASSERT_EQ(m_testTable.size(), 4u);
    EXPECT_EQ(m_testTable[3].Timing.HActive, 1920);
    EXPECT_EQ(m_testTable[2].Timing.HActive, 640);
    EXPECT_EQ(Table().TimingBlocks[3].HActive, 1920);
    EXPECT_EQ(Table().UserCount, 2);
    EXPECT_EQ(m_main.m_userList.GetItemText(1, 1), "1920x1080");
    EXPECT_NE(TakeTrace().find("Edit number is 1"), std::string::npos);
}

TEST_F(TimingTestTest, AFullTableIsTestedWithoutTheTemporaryFormat) {
    SetBuiltinCount(256);
    Open();
    TypeFormat();
    m_editor->RunTimingTest();
    EXPECT_EQ(Messages(), Lines{timing::kMsgTestTableFull});
    EXPECT_EQ(Table().RecordCount, 256);
    EXPECT_EQ(Table().UserCount, 0);
}

TEST_F(TimingTestTest, FailedReloadsAreReportedAndTheTestGoesOn) {
    Open();
    TypeFormat();
    m_card->reloadFails = true;
    m_editor->RunTimingTest();
    EXPECT_EQ(Messages(), (Lines{"ReLoad file is fail!", "ReLoad file is fail!"}));
    EXPECT_EQ(m_testTable.size(), 3u);
}

class AlignmentTest : public TimingTestTest {
  protected:
    void Align(const std::string& detectedWidth, const std::string& detectedHeight,
               const std::string& interlace) {
        Open();
        Type(IDC_H_ACTIVE, "1920");
        Type(IDC_V_ACTIVE, "1080");
        Choose(IDC_INTERLACE, interlace);
        Type(IDC_DETECTED_WIDTH, detectedWidth);
        Type(IDC_DETECTED_HEIGHT, detectedHeight);
        m_editor->AlignToDetectedInput();
    }
    std::string Starts() { return Field(IDC_DE_H_START) + "," + Field(IDC_DE_V_START); }
};

TEST_F(AlignmentTest, AWiderInputMovesTheStart) {
    Align("1930", "1080", "No");
    EXPECT_EQ(Starts(), "A,0");
    EXPECT_EQ(m_card->Writes(), (Lines{"W 44/8B 00", "W 44/8D 0A"}));
    EXPECT_NE(TakeTrace().find("HStart = 10\r\n"), std::string::npos);
}

TEST_F(AlignmentTest, TheVerticalStartUsesTheHeightReadBeforeTheWrites) {
    // The card still measures 1080 lines after the horizontal write's pause.
    Align("1910", "1084", "No");
    EXPECT_EQ(Starts(), "3F6,4");
    EXPECT_NE(TakeTrace().find("VStart = 4\r\n"), std::string::npos);
}

TEST_F(AlignmentTest, AnInterlacedInputIsMeasuredOneFieldAtATime) {
    Align("1910", "540", "Yes");
    EXPECT_EQ(Starts(), "3F6,0");
    Align("1910", "530", "Yes");
    EXPECT_EQ(Field(IDC_DE_V_START), "6");  // -10 in four bits, lower case hex
    Align("1910", "529", "Yes");
    EXPECT_EQ(Field(IDC_DE_V_START), "5");
    Align("1910", "534", "Yes");
    EXPECT_EQ(Field(IDC_DE_V_START), "a");
}

TEST_F(AlignmentTest, AnEqualWidthLeavesBothOffsetsAlone) {
    Align("1920", "1084", "No");
    EXPECT_EQ(Starts(), "0,0");
    EXPECT_TRUE(m_card->log.empty());
}

TEST_F(AlignmentTest, NoMeasurementNoAlignment) {
    Align("", "", "No");
    EXPECT_EQ(Starts(), "0,0");
    EXPECT_TRUE(m_card->log.empty());
    Type(IDC_H_ACTIVE, "");
    Type(IDC_DETECTED_WIDTH, "1930");
    m_editor->AlignToDetectedInput();
    EXPECT_EQ(Starts(), "0,0");
}

}  // namespace
}  // namespace timingtest
