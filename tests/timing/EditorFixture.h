// The editor as the main window opens it, on the headless host with a virtual clock, a fake
// card behind the main window's handle and the debugger output captured. The editor is created
// but not run modally, so a test calls its operations and looks at its fields directly.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeCard.h"
#include "app/VuverezeDlg.h"
#include "format/FormatRecord.h"
#include "platform/Platform.h"
#include "platform/TempFolder.h"
#include "resources/Resource.h"
#include "timing/InputFormatDlg.h"
#include "ui/headless/HeadlessHost.h"

namespace timingtest {

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // -1 adds a format; k edits user format k. The posted first detection has not run yet.
    timing::CInputFormatDlg& Open(int editIndex = -1);
    // Appends a user format to the main window's table and its row to the user list.
    void AddUserFormat(const fmt::FormatRecord& record);
    void SetBuiltinCount(int count);

    std::string Field(int id) const { return m_editor->GetDlgItemText(id); }
    void Type(int id, const std::string& text) { m_editor->SetDlgItemText(id, text); }
    // Picks a drop-down item by its text; an empty text leaves the list without a selection.
    void Choose(int id, const std::string& text);
    // Types a whole timing into the visible fields.
    void TypeTiming(int hTotal, int vTotal, int vActive, int vFrontPorch, int vSync,
                    const std::string& frameRate, const std::string& interlace);
    std::vector<std::string> Messages() const;
    // The captured debug output since the last call, cleared.
    std::string TakeTrace();
    fmt::FormatTable& Table() { return m_main.m_formatTable; }

    ui::CHeadlessHost m_host;
    platform::CVirtualClock m_clock;
    CNoDevices m_devices;
    app::CVuverezeDlg m_main{m_devices};
    CFakeCard* m_card = nullptr;
    std::unique_ptr<timing::CInputFormatDlg> m_editor;
    CTempFolder m_root;
    std::string m_trace;
};

}  // namespace timingtest
