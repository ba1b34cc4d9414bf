// Applying the window's table to the driver, and closing the window.
#include "app/VuverezeDlg.h"
#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "timing/TextNumber.h"

namespace app {

void CVuverezeDlg::CopyChecksToEnableFlags() {
    // Rows are found by their Id text, never by position: a sorted list still sets the flag of
    // the record that the row shows. An Id that names no record is passed over.
    fmt::FormatTable& table = m_formatTable;
    for (int i = 0; i < m_supportedList.GetItemCount(); ++i) {
        int id = timing::ParseDecimalInt(m_supportedList.GetItemText(i, 0));
        if (id < 0 || id >= table.BuiltinCount)
            continue;
        table.EnableFlags[id] = m_supportedList.GetCheck(i) ? 1 : 0;
    }
    for (int i = 0; i < m_userList.GetItemCount(); ++i) {
        int id = timing::ParseDecimalInt(m_userList.GetItemText(i, 0));
        if (id < 0 || id >= table.UserCount)
            continue;
        table.EnableFlags[table.BuiltinCount + id] = m_userList.GetCheck(i) ? 1 : 0;
    }
}

bool CVuverezeDlg::WriteTableFile() {
    fmt::FormatTable& table = m_formatTable;
    platform::FileContents expected = m_tableOnDisk;
    for (;;) {
        platform::FileContents found;
        switch (table.WriteFormatFileIfUnchanged(table.TableDirectory, "format.bin", true, expected,
                                                 &found)) {
            case platform::ReplaceResult::Replaced:
                m_tableOnDisk = platform::FileContents{true, table.FileBytes()};
                return true;
            case platform::ReplaceResult::Failed:
                // The driver must not be asked to reload a file that was not written.
                ui::MessageBox(kMsgWriteFailed);
                return false;
            case platform::ReplaceResult::Changed:
                // Another program's table is never lost without the user's word: unless it is
                // this very table, the user is asked. Yes replaces the table the user was asked
                // about; one that changes again meanwhile is asked about again.
                if (found != platform::FileContents{true, table.FileBytes()} &&
                    ui::AskYesNo(kMsgTableChangedElsewhere) != ui::IDYES) {
                    return false;
                }
                expected = std::move(found);
                break;
        }
    }
}

bool CVuverezeDlg::Apply() {
    if (!IsLocked()) {
        ui::MessageBox(kMsgPleaseLock);
        return true;
    }
    CopyChecksToEnableFlags();
    if (!WriteTableFile())
        return false;
    if (!device::ReloadFormatTable(m_pDeviceHandle.get(), device::kReloadFormatFile))
        ui::MessageBox(kMsgReloadFail);
    return true;
}

void CVuverezeDlg::OnOkButton() {
    // A table that was not written (it could not be, or the user kept another program's)
    // keeps the window open, so nothing the user did is lost.
    if (!Apply())
        return;
    UpdateData(true);
    EndDialog(ui::IDOK);
}

}  // namespace app
