#include "app/VuverezeDlg.h"

#include <algorithm>
#include <cstdio>

#include "app/AboutDlg.h"
#include "app/SignalDlg.h"
#include "platform/Platform.h"
#include "resources/Resource.h"

namespace app {
namespace {

constexpr int kOperationControls[] = {
    res::IDC_ADD,   res::IDC_DELETE, res::IDC_EXPORT,          res::IDC_IMPORT,
    res::IDC_APPLY, res::IDC_OK,     res::IDC_SELECT_ALL_USER, res::IDC_SELECT_ALL_SUPPORTED};
constexpr const char* kColumnTitles[] = {"Id", "Format", "Frame Rate"};
constexpr int kIconSize = 32;  // SM_CXICON, SM_CYICON

}  // namespace

CVuverezeDlg::CVuverezeDlg(device::IDeviceBackend& devices)
    : ui::CDialog(res::MainTemplate()),
      m_deviceBox(this, res::IDC_DEVICE_BOX),
      m_lockButton(this, res::IDC_LOCK),
      m_supportedList(this, res::IDC_SUPPORTED_LIST),
      m_userList(this, res::IDC_USER_LIST),
      m_hIcon(res::IDR_MAINFRAME),
      m_devices(devices) {}

CVuverezeDlg::~CVuverezeDlg() {
    // The signal window reads through the handle; the handle borrows the device's interface.
    CloseSignalWindow();
    m_pDeviceHandle.reset();
    m_pVideoDevice.reset();
}

void CVuverezeDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Check(dx, res::IDC_SELECT_ALL_USER, m_selectAllUser);
    ui::DDX_Check(dx, res::IDC_SELECT_ALL_SUPPORTED, m_selectAllSupported);
}

bool CVuverezeDlg::IsLocked() const {
    return m_lockButton.GetWindowText() != "Lock";
}

bool CVuverezeDlg::OnInitDialog() {
    ui::CDialog::OnInitDialog();

    // Unlock runs this again; the About item is added once only, and the signal window's
    // below it, grey until a device is locked.
    if (HasSystemMenu()) {
        std::string about = platform::Utf8ToAnsi(res::LoadResourceString(res::IDS_ABOUTBOX));
        bool present =
            std::any_of(SystemMenu().begin(), SystemMenu().end(),
                        [](const MenuItem& item) { return item.id == res::IDM_ABOUTBOX; });
        if (!about.empty() && !present) {
            AppendSystemMenu(0, "");
            AppendSystemMenu(res::IDM_ABOUTBOX, about);
            AppendSystemMenu(res::IDM_SIGNAL,
                             platform::Utf8ToAnsi(res::LoadResourceString(res::IDS_SIGNAL)));
        }
        EnableSystemMenuItem(res::IDM_SIGNAL, m_pDeviceHandle != nullptr);
    }
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    m_pVideoDevice = std::make_unique<device::CVideoDevice>(m_devices);
    m_deviceBox.ResetContent();
    for (const std::string& name : m_pVideoDevice->DeviceList())
        m_deviceBox.AddString(name);
    if (m_deviceBox.GetCount() > 0) {
        m_deviceBox.SetCurSel(0);
        m_lockButton.EnableWindow(true);
    } else {
        m_deviceBox.AddString("N/A");
        m_deviceBox.SetCurSel(0);
        m_deviceBox.EnableWindow(false);
        m_lockButton.EnableWindow(false);
    }
    ModifyStyle(0, ui::WS_SYSMENU);
    UpdateData(false);
    return true;
}

void CVuverezeDlg::Lock() {
    UpdateData(true);
    platform::Sleep(1000);

    // The name travels as UTF-16 in a 128-unit buffer, as the driver's device names are kept; a
    // longer typed text is cut rather than left without its terminator.
    std::u16string name = platform::AnsiToWide(m_deviceBox.GetWindowText());
    if (name.size() > 127)
        name.resize(127);
    m_pVideoDevice->BindByFriendlyName(name.c_str());

    m_pDeviceHandle = m_pVideoDevice->CreateDeviceHandle(device::kDeviceHandleTag);
    if (!m_pDeviceHandle) {
        ui::MessageBox(kMsgDeviceError);
        return;
    }
    m_lockButton.SetWindowText("UnLock");
    m_deviceBox.EnableWindow(false);

    m_formatTable.ClearEntries();
    if (m_formatTable.ReadFormatFile("", m_tableOnDisk) != fmt::kOk) {
        platform::TraceOut("ReadCertificatefromFile Fail!");
        ui::MessageBox(kMsgNoFormatFile);
        ui::Quit(0);
        return;
    }
    platform::TraceOut("ReadCertificatefromFile add format");
    m_formatTable.CopyStagingToTable();

    for (ui::CListCtrl* list : {&m_userList, &m_supportedList}) {
        for (int i = 0; i < 3; ++i)
            list->InsertColumn(i, kColumnTitles[i], ui::LVCFMT_LEFT);
    }
    const uint32_t style = ui::LVS_EX_GRIDLINES | ui::LVS_EX_CHECKBOXES | ui::LVS_EX_FULLROWSELECT;
    m_userList.SetExtendedStyle(style);
    m_supportedList.SetExtendedStyle(style);
    for (ui::CListCtrl* list : {&m_userList, &m_supportedList}) {
        for (int i = 0; i < 3; ++i)
            list->SetColumnWidth(i, ui::LVSCW_AUTOSIZE_USEHEADER);
    }
    for (int r = 0; r < m_formatTable.RecordCount; ++r) {
        AppendResolutionRow(r < m_formatTable.BuiltinCount ? m_supportedList : m_userList, r);
    }
    AutoSizeColumns();
    EnableOperations(true);
    EnableSystemMenuItem(res::IDM_SIGNAL, true);
}

void CVuverezeDlg::Unlock() {
    // Nothing reads the card once it is given back.
    CloseSignalWindow();
    m_pDeviceHandle.reset();
    m_pVideoDevice.reset();
    m_deviceSel = m_deviceBox.GetCurSel();
    OnInitDialog();
    if (m_deviceBox.SetCurSel(m_deviceSel) < 0)
        m_deviceBox.SetCurSel(-1);
    EnableOperations(false);
    for (ui::CListCtrl* list : {&m_supportedList, &m_userList}) {
        for (int i = 0; i < 3; ++i)
            list->DeleteColumn(0);
    }
    m_supportedList.DeleteAllItems();
    m_userList.DeleteAllItems();
    m_lockButton.SetWindowText("Lock");
    // A box that only says "N/A" stays disabled: there is nothing to choose.
    m_deviceBox.EnableWindow(!m_pVideoDevice->DeviceList().empty());
}

void CVuverezeDlg::EnableOperations(bool enable) {
    for (int id : kOperationControls)
        GetDlgItem(id).EnableWindow(enable);
}

void CVuverezeDlg::AppendResolutionRow(ui::CListCtrl& list, int record) {
    const fmt::TimingBlock& timing = m_formatTable.TimingBlocks[record];
    int id = record < m_formatTable.BuiltinCount ? record : record - m_formatTable.BuiltinCount;
    int row = list.InsertItem(list.GetItemCount(), "");
    list.SetCheck(row, m_formatTable.EnableFlags[record] != 0);
    list.SetItemText(row, 0, platform::FormatText("%d", id));
    list.SetItemText(row, 1, platform::FormatText("%dx%d", timing.HActive, timing.VActive));
    list.SetItemText(row, 2, platform::FormatText("%.2f", timing.FrameRate / 100.0));
}

void CVuverezeDlg::AutoSizeColumns(ui::CListCtrl& list) {
    for (int i = 0; i < list.GetHeaderItemCount(); ++i) {
        list.SetColumnWidth(i, ui::LVSCW_AUTOSIZE);
        int fitCells = list.GetColumnWidth(i);
        list.SetColumnWidth(i, ui::LVSCW_AUTOSIZE_USEHEADER);
        int fitHeader = list.GetColumnWidth(i);
        list.SetColumnWidth(i, static_cast<uint16_t>(std::max(fitCells, fitHeader) + 2));
    }
}

void CVuverezeDlg::AutoSizeColumns() {
    AutoSizeColumns(m_userList);
    AutoSizeColumns(m_supportedList);
}

void CVuverezeDlg::OnOK() {
    // Enter must never close the main window.
}

bool CVuverezeDlg::OnCommand(int id) {
    switch (id) {
        case res::IDC_LOCK:
            if (m_lockButton.GetWindowText() == "Lock") {
                Lock();
            } else {
                Unlock();
            }
            return true;
        case res::IDC_ADD:
            Add();
            return true;
        case res::IDC_DELETE:
            Delete();
            return true;
        case res::IDC_SELECT_ALL_USER:
        case res::IDC_SELECT_ALL_SUPPORTED:
            SelectAll(id);
            return true;
        case res::IDC_APPLY:
            Apply();
            return true;
        case res::IDC_OK:
            OnOkButton();
            return true;
        case res::IDC_CANCEL:
            OnCancel();
            return true;
        case res::IDC_EXPORT:
            ExportFile();
            return true;
        case res::IDC_IMPORT:
            ImportFile();
            return true;
        default:
            return ui::CDialog::OnCommand(id);
    }
}

bool CVuverezeDlg::OnNotify(const ui::Notify& notify) {
    if (notify.code == ui::Notify::DblClick && notify.controlId == res::IDC_USER_LIST) {
        Edit(notify.item);
        return true;
    }
    if (notify.code == ui::Notify::ColumnClick) {
        if (notify.controlId == res::IDC_USER_LIST) {
            SortByColumn(m_userList, notify.subItem);
            return true;
        }
        if (notify.controlId == res::IDC_SUPPORTED_LIST) {
            SortByColumn(m_supportedList, notify.subItem);
            return true;
        }
    }
    return false;
}

void CVuverezeDlg::OnSysCommand(uint32_t id) {
    if ((id & 0xFFF0) == res::IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    if ((id & 0xFFF0) == res::IDM_SIGNAL) {
        OpenSignalWindow();
        return;
    }
    ui::CDialog::OnSysCommand(id);
}

void CVuverezeDlg::OpenSignalWindow() {
    // Another program may send the command while the item is grey: without a card there is
    // nothing to read.
    if (!m_pDeviceHandle)
        return;
    if (m_signalWindow && m_signalWindow->IsCreated()) {
        m_signalWindow->BringToFront();
        return;
    }
    m_signalWindow = std::make_unique<CSignalDlg>(*this);
    m_signalWindow->CreateModeless();
}

void CVuverezeDlg::CloseSignalWindow() {
    if (m_signalWindow)
        m_signalWindow->DestroyWindow();
}

void CVuverezeDlg::OnPaint() {
    if (!IsIconic()) {
        ui::CDialog::OnPaint();
        return;
    }
    int x = (ClientWidth() - kIconSize + 1) / 2;
    int y = (ClientHeight() - kIconSize + 1) / 2;
    DrawIcon(m_hIcon, x, y);
}

int CVuverezeDlg::OnQueryDragIcon() {
    return m_hIcon;
}

}  // namespace app
