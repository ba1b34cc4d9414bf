// Import of arbitrary bytes into a loaded table, then a write: the table keeps its invariant,
// its own records are untouched, and the file written reads back as the table, record by record.
#include <memory>
#include <string>

#include "app/VuverezeDlg.h"
#include "device/DeviceBackend.h"
#include "format/FormatTable.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Platform.h"
#include "ui/headless/HeadlessHost.h"

namespace {

class CNoDevices final : public device::IDeviceBackend {
  public:
    device::HRESULT CreateSystemDeviceEnum(device::ICreateDevEnum** out) override {
        *out = nullptr;
        return device::E_FAIL;
    }
};

// The user picks the fuzzer's file in the Import dialog.
class CAnswer final : public ui::IInputSource {
  public:
    std::string path;
    bool NextInput(ui::CDialog&, ui::Input&) override { return false; }
    bool AnswerFileDialog(const ui::FileDialogRequest&, std::string& chosen,
                          bool& answered) override {
        answered = true;
        chosen = path;
        return true;
    }
};

struct Window {
    CAnswer answer;
    ui::CHeadlessHost host{&answer};
    platform::CVirtualClock clock;
    CNoDevices devices;
    app::CVuverezeDlg main{devices};
    fmt::FormatRecord base[5];

    Window() {
        ui::SetHost(&host);
        platform::SetClock(&clock);
        platform::SetDebugSink([](std::string_view) {});
        main.Create();
        for (int i = 0; i < 3; ++i) {
            main.m_supportedList.InsertColumn(i, "c");
            main.m_userList.InsertColumn(i, "c");
        }
        for (int i = 0; i < 5; ++i) {
            base[i].Timing.HActive = static_cast<uint16_t>(640 + i);
            base[i].Enabled = static_cast<uint32_t>(i % 2);
        }
    }

    // Two built-in and three user formats, as Lock would leave them.
    void Reset() {
        fmt::FormatTable& table = main.m_formatTable;
        for (int i = 0; i < 5; ++i)
            table.SetRecord(i, base[i]);
        table.BuiltinCount = 2;
        table.UserCount = 3;
        table.RecordCount = 5;
        host.ClearRecords();
    }
};

bool SameRecord(const fmt::FormatRecord& a, const fmt::FormatRecord& b) {
    uint8_t x[fmt::kRecordSize], y[fmt::kRecordSize];
    fmt::EncodeRecord(a, x);
    fmt::EncodeRecord(b, y);
    return std::equal(x, x + fmt::kRecordSize, y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Window window;
    window.Reset();
    window.answer.path = fuzz::WriteScratchFile("import.bin", data, size);
    window.main.ImportFile();

    fmt::FormatTable& table = window.main.m_formatTable;
    FUZZ_CHECK(table.BuiltinCount == 2);
    FUZZ_CHECK(table.RecordCount == table.BuiltinCount + table.UserCount);
    FUZZ_CHECK(table.RecordCount >= 5 && table.RecordCount <= fmt::kMaxRecords);
    for (int i = 0; i < 5; ++i)
        FUZZ_CHECK(SameRecord(table.Record(i), window.base[i]));
    FUZZ_CHECK(window.main.m_userList.GetItemCount() == table.UserCount);

    const std::string out = fuzz::ScratchFolder() + "/written.bin";
    FUZZ_CHECK(table.WriteFormatFile(out, "", false) == fmt::kOk);
    static fmt::FormatTable back;
    FUZZ_CHECK(back.ReadFormatFile(out) == fmt::kOk);
    FUZZ_CHECK(back.BuiltinCount == table.BuiltinCount && back.RecordCount == table.RecordCount);
    back.CopyStagingToTable();
    for (size_t i = 0; i < table.RecordCount; ++i)
        FUZZ_CHECK(SameRecord(back.Record(i), table.Record(i)));
    return 0;
}
