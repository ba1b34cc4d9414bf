// Moving user formats between machines as table files.
#include "app/VuverezeDlg.h"
#include "platform/Platform.h"

namespace app {
namespace {

ui::FileDialogRequest TableFileDialog(bool open) {
    ui::FileDialogRequest request;
    request.open = open;
    request.filter = "Text File(*.bin)| *.bin| All Files(*.*)| *.*||";
    request.defaultExtension = open ? "" : ".bin";
    request.flags = ui::OFN_EXPLORER | ui::OFN_OVERWRITEPROMPT | ui::OFN_HIDEREADONLY;
    return request;
}

}  // namespace

void CVuverezeDlg::ExportFile() {
    std::string path;
    if (!ui::Host().FileDialog(TableFileDialog(false), path))
        return;
    CopyChecksToEnableFlags();
    if (m_formatTable.WriteFormatFile(path, "format.bin", false) != fmt::kOk) {
        ui::MessageBox(kMsgExportFailed);
    }
}

void CVuverezeDlg::ImportFile() {
    std::string path;
    if (!ui::Host().FileDialog(TableFileDialog(true), path))
        return;
    fmt::FormatTable& table = m_formatTable;
    const uint16_t b0 = table.BuiltinCount;
    const uint16_t t0 = table.RecordCount;
    const uint16_t u0 = table.UserCount;

    if (table.ReadFormatFile(path) != fmt::kOk) {
        platform::TraceOut("ReadCertificatefromFile Fail!");
        ui::MessageBox(kMsgNoImportFile);
    } else {
        const uint16_t b = table.BuiltinCount;
        const uint16_t t = table.RecordCount;
        const uint16_t u = static_cast<uint16_t>(t - b);
        if (t0 + u > static_cast<int>(fmt::kMaxRecords)) {
            // Taking some of the file's formats would silently drop the rest: take none.
            table.BuiltinCount = b0;
            table.RecordCount = t0;
            table.UserCount = u0;
            ui::MessageBox(kMsgImportTooMany);
        } else {
            platform::TraceOut("ReadCertificatefromFile add format");
            for (uint16_t i = 0; i < u; ++i) {
                const size_t from = b + i;
                const size_t to = t0 + i;
                table.TimingBlocks[to] = table.StagingTimingBlocks[from];
                table.EnableFlags[to] = table.StagingEnableFlags[from];
                table.RegisterBlocks[to] = table.StagingRegisterBlocks[from];
                table.Tags[to] = table.StagingTags[from];
            }
            table.BuiltinCount = b0;
            table.RecordCount = static_cast<uint16_t>(t0 + u);
            table.UserCount = static_cast<uint16_t>(u0 + u);
        }
    }
    RebuildLists();
}

void CVuverezeDlg::RebuildLists() {
    m_supportedList.DeleteAllItems();
    m_userList.DeleteAllItems();
    for (int r = 0; r < m_formatTable.RecordCount; ++r) {
        AppendResolutionRow(r < m_formatTable.BuiltinCount ? m_supportedList : m_userList, r);
    }
    AutoSizeColumns();
}

}  // namespace app
