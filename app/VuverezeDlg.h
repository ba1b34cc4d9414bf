// The main window: device choice, Lock/Unlock, the two resolution lists and the operations on the
// format table. One class over several files, one concern each: VuverezeDlg.cpp (start-up, Lock,
// Unlock, rows), Apply.cpp, Editing.cpp, Sorting.cpp, ImportExport.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "device/VideoDevice.h"
#include "format/FormatTable.h"
#include "standards/Timing.h"
#include "timing/EditorOwner.h"
#include "ui/Dialog.h"

namespace app {

class CSignalDlg;

class CVuverezeDlg : public ui::CDialog, public timing::IEditorOwner {
  public:
    explicit CVuverezeDlg(device::IDeviceBackend& devices);
    ~CVuverezeDlg() override;

    ui::CComboBox m_deviceBox;
    ui::CButton m_lockButton;
    ui::CListCtrl m_supportedList;
    ui::CListCtrl m_userList;
    fmt::FormatTable m_formatTable;
    // What "format.bin" held as this window last knew it: what Lock read, then what Apply
    // wrote. Anything else there was written by another program meanwhile.
    platform::FileContents m_tableOnDisk;
    std::unique_ptr<device::CVideoDevice> m_pVideoDevice;
    std::unique_ptr<device::DeviceHandle> m_pDeviceHandle;
    int m_hIcon;
    int m_selectAllUser = 1;
    int m_selectAllSupported = 1;
    int m_deviceSel = 0;

    bool IsLocked() const;
    // Fits every column of the user list, then of the supported list.
    void AutoSizeColumns();
    void AutoSizeColumns(ui::CListCtrl& list);
    // Appends the resolution row of record r to its list (supported or user, by the Id rule).
    void AppendResolutionRow(ui::CListCtrl& list, int record) override;

    // What the timing editor works on.
    ui::CDialog* EditorParent() override { return this; }
    fmt::FormatTable& EditedTable() override { return m_formatTable; }
    const device::DeviceHandle* BoundDevice() const override { return m_pDeviceHandle.get(); }
    ui::CListCtrl& UserFormatList() override { return m_userList; }
    // Copies the check boxes into the enable flags, writes "format.bin" and asks the driver to
    // reload it. A file another program changed since is replaced only when the user says so.
    // False when the table was not written (the reload was not asked for then).
    bool Apply();

    // Operations, as the buttons and notifications run them.
    void Lock();
    void Unlock();
    void OnOkButton();
    // A new user format through the timing editor; with `startFrom`, the editor opens with that
    // standard timing filled in, as "Standard..." and OK fill it.
    void Add(const standards::Timing* startFrom = nullptr);
    void Edit(int row);
    void Delete();
    void SelectAll(int checkBoxId);
    void SortByColumn(ui::CListCtrl& list, int column);
    int CompareRows(intptr_t a, intptr_t b, ui::CListCtrl& list);
    void ExportFile();
    void ImportFile();
    // The signal window, while a device is locked: opened, or brought to the front.
    void OpenSignalWindow();
    void CloseSignalWindow();
    CSignalDlg* SignalWindow() const { return m_signalWindow.get(); }

    bool OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id) override;
    bool OnNotify(const ui::Notify& notify) override;
    void OnSysCommand(uint32_t id) override;
    void OnPaint() override;
    int OnQueryDragIcon() override;

  private:
    void CopyChecksToEnableFlags();
    // Writes "format.bin" over what this window last knew it to hold, asking first when another
    // program changed it; false when nothing was written (a failure said, or the user kept it).
    bool WriteTableFile();
    void RebuildLists();
    void EnableOperations(bool enable);

    device::IDeviceBackend& m_devices;
    std::unique_ptr<CSignalDlg> m_signalWindow;
    std::vector<std::array<std::string, 3>> m_sortTexts;  // the rows' texts while a sort runs
};

// Sort arrows as they stand in a column title, in the narrow text of the ANSI code page.
std::string SortArrowUp();
std::string SortArrowDown();

}  // namespace app
