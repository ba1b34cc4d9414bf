#include "EditorFixture.h"

#include <filesystem>

#include "device/VideoDevice.h"

namespace timingtest {

void EditorTest::SetUp() {
    ui::SetHost(&m_host);
    ui::ResetQuit();
    platform::SetClock(&m_clock);
    platform::SetDebugSink([this](std::string_view text) { m_trace += text; });
    platform::SetSystemRoot(m_root.Path());
    std::filesystem::create_directories(m_root / "Windows/System32");

    m_main.Create();
    for (int i = 0; i < 3; ++i) {
        m_main.m_userList.InsertColumn(i, i == 0 ? "Id" : i == 1 ? "Format" : "Frame Rate");
    }
    m_card = new CFakeCard;
    m_main.m_pDeviceHandle = std::make_unique<device::DeviceHandle>(
        device::DeviceHandle{m_card, device::kDeviceHandleTag});
    Table().TableDirectory = "C:\\Windows\\System32";
    SetBuiltinCount(2);
}

void EditorTest::TearDown() {
    m_editor.reset();
    m_main.m_pDeviceHandle.reset();
    m_card->Release();
    platform::SetDebugSink({});
    platform::SetClock(nullptr);
    ui::SetHost(nullptr);
}

timing::CInputFormatDlg& EditorTest::Open(int editIndex) {
    m_editor = std::make_unique<timing::CInputFormatDlg>(&m_main, editIndex);
    ui::InitDialog(*m_editor);
    return *m_editor;
}

void EditorTest::SetBuiltinCount(int count) {
    fmt::FormatTable& table = Table();
    table.BuiltinCount = static_cast<uint16_t>(count);
    table.RecordCount = static_cast<uint16_t>(count + table.UserCount);
}

void EditorTest::AddUserFormat(const fmt::FormatRecord& record) {
    fmt::FormatTable& table = Table();
    const int r = table.BuiltinCount + table.UserCount;
    table.SetRecord(r, record);
    ++table.UserCount;
    ++table.RecordCount;
    m_main.AppendResolutionRow(m_main.m_userList, r);
}

void EditorTest::Choose(int id, const std::string& text) {
    ui::CComboBox box(m_editor.get(), id);
    int index = -1;
    for (int i = 0; i < box.GetCount(); ++i) {
        if (box.GetLBText(i) == text)
            index = i;
    }
    box.SetCurSel(index);
}

void EditorTest::TypeTiming(int hTotal, int vTotal, int vActive, int vFrontPorch, int vSync,
                            const std::string& frameRate, const std::string& interlace) {
    Type(res::IDC_H_TOTAL, std::to_string(hTotal));
    Type(res::IDC_V_TOTAL, std::to_string(vTotal));
    Type(res::IDC_V_ACTIVE, std::to_string(vActive));
    Type(res::IDC_V_FRONT_PORCH, std::to_string(vFrontPorch));
    Type(res::IDC_V_SYNC, std::to_string(vSync));
    Type(res::IDC_FRAME_RATE, frameRate);
    Choose(res::IDC_INTERLACE, interlace);
}

std::vector<std::string> EditorTest::Messages() const {
    std::vector<std::string> texts;
    for (const ui::MessageBoxRecord& box : m_host.MessageBoxes())
        texts.push_back(box.text);
    return texts;
}

std::string EditorTest::TakeTrace() {
    std::string trace;
    trace.swap(m_trace);
    return trace;
}

}  // namespace timingtest
