// Creating the real window of a dialog from its compiled template and showing the dialog's state
// in its controls: each push touches only what differs, and marks itself as the host's own change
// so that the notifications it causes are never taken for the user's.
#include <algorithm>

#include "ui/Placement.h"
#include "ui/win32/Win32Host.h"
#include "ui/win32/Win32Window.h"

namespace ui::win32 {
namespace {

// Marks the controls as being changed by the host for as long as it lives.
class CPushing {
  public:
    explicit CPushing(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~CPushing() { m_flag = m_before; }
    CPushing(const CPushing&) = delete;
    CPushing& operator=(const CPushing&) = delete;

  private:
    bool& m_flag;
    bool m_before;
};

std::wstring TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void SetTextIfDiffers(HWND hwnd, const std::wstring& text) {
    if (TextOf(hwnd) != text) {
        SetWindowTextW(hwnd, text.c_str());
    }
}

// A text the user does not type (a caption, a button's or a label's text) is kept as the window
// shows it when it says the same in the ANSI code page: the template's own characters, Chinese
// ones on a Western system included, stay as their author wrote them instead of turning into the
// code page's question marks.
void SetLabelIfDiffers(HWND hwnd, const std::string& ansi) {
    if (FromWide(TextOf(hwnd)) != ansi) {
        SetWindowTextW(hwnd, ToWide(ansi).c_str());
    }
}

const std::string& CellText(const ListRow& row, size_t column) {
    static const std::string kEmpty;
    return column < row.texts.size() ? row.texts[column] : kEmpty;
}

}  // namespace

CWin32Window::CWin32Window(CWin32Host& host, CDialog& dlg, HWND owner)
    : m_host(host), m_dlg(dlg), m_owner(owner) {}

CWin32Window::~CWin32Window() {
    if (m_hwnd != nullptr) {
        // The owner comes back first, so that the system gives it the activation rather than
        // another program's window.
        if (m_owner != nullptr) {
            EnableWindow(m_owner, TRUE);
        }
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        for (const Control& control : m_controls) {
            if (control.hwnd != nullptr && (control.kind == ControlKind::PushButton ||
                                            control.kind == ControlKind::CheckBox)) {
                RemoveWindowSubclass(control.hwnd, &CWin32Window::ButtonProc, 0);
            }
        }
        DestroyWindow(m_hwnd);
    }
}

bool CWin32Window::Create() {
    m_hwnd = CreateDialogParamW(m_host.Resources(), MAKEINTRESOURCEW(m_dlg.Template().id), m_owner,
                                &CWin32Window::DialogProc, reinterpret_cast<LPARAM>(this));
    if (m_hwnd == nullptr) {
        return false;
    }
    PairControls();
    return true;
}

void CWin32Window::Show() {
    PushAll();
    FlushLists();
    // As the dialog framework starts a modal dialog: over the middle of its owner, or of the
    // screen's work area for the main window.
    CentreWindow(m_hwnd, m_owner);
    if (m_owner != nullptr) {
        EnableWindow(m_owner, FALSE);
    }
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    // The focus the dialog chose, now that the window can take it.
    m_shownFocus = -1;
    PushWindow();
    UpdateWindow(m_hwnd);
}

void CWin32Window::PairControls() {
    // Controls with an id of their own are found by it. Statics share one id, so they are
    // paired in the order the dialog manager created them, which is the template's order.
    const std::vector<ControlState>& states = m_dlg.Controls();
    m_controls.assign(states.size(), Control{});
    std::vector<HWND> statics;
    for (HWND child = GetWindow(m_hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id == IDC_STATIC || id == 0xFFFF) {
            statics.push_back(child);
        }
    }
    size_t nextStatic = 0;
    for (size_t i = 0; i < states.size(); ++i) {
        Control& control = m_controls[i];
        control.id = states[i].id;
        control.kind = states[i].kind;
        if (states[i].id != IDC_STATIC) {
            control.hwnd = GetDlgItem(m_hwnd, states[i].id);
        } else if (nextStatic < statics.size()) {
            control.hwnd = statics[nextStatic++];
        }
        // A button clicks itself on BM_CLICK; the dialog layer is to decide instead.
        if (control.hwnd != nullptr &&
            (control.kind == ControlKind::PushButton || control.kind == ControlKind::CheckBox)) {
            SetWindowSubclass(control.hwnd, &CWin32Window::ButtonProc, 0,
                              reinterpret_cast<DWORD_PTR>(this));
        }
    }
}

void CentreWindow(HWND hwnd, HWND owner) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    HWND around = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner) ? owner : nullptr;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(around != nullptr ? around : hwnd, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;
    ScreenRect ownerRect{};
    if (around != nullptr) {
        RECT rect{};
        GetWindowRect(around, &rect);
        ownerRect = ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
    }
    const ScreenRect placed =
        CentredWindow(ScreenRect{window.left, window.top, window.right, window.bottom},
                      around != nullptr ? &ownerRect : nullptr,
                      ScreenRect{work.left, work.top, work.right, work.bottom});
    SetWindowPos(hwnd, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWin32Window::Control* CWin32Window::Find(int id) {
    if (id == IDC_STATIC) {
        return nullptr;
    }
    for (Control& control : m_controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

const CWin32Window::Control* CWin32Window::Find(int id) const {
    return const_cast<CWin32Window*>(this)->Find(id);
}

CWin32Window::Control* CWin32Window::ControlOf(HWND hwnd) {
    // A combo box's edit field and a list's header are windows of their own inside the control.
    for (HWND h = hwnd; h != nullptr && h != m_hwnd; h = GetParent(h)) {
        for (Control& control : m_controls) {
            if (control.hwnd == h) {
                return &control;
            }
        }
        if ((GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) == 0) {
            break;  // a popup, such as a dropped list: not part of the dialog
        }
    }
    return nullptr;
}

const ControlState* CWin32Window::StateOf(const Control& control) const {
    const size_t index = static_cast<size_t>(&control - m_controls.data());
    const CDialog& dlg = m_dlg;
    return index < dlg.Controls().size() ? &dlg.Controls()[index] : nullptr;
}

HWND CWin32Window::ControlWindow(int controlId) const {
    const Control* control = Find(controlId);
    return control != nullptr ? control->hwnd : nullptr;
}

bool CWin32Window::Owns(HWND hwnd) const {
    return hwnd == m_hwnd || (hwnd != nullptr && IsChild(m_hwnd, hwnd));
}

void CWin32Window::Push(int controlId) {
    if (m_hwnd == nullptr) {
        return;
    }
    if (controlId == 0) {
        PushWindow();
        return;
    }
    if (Control* control = Find(controlId)) {
        if (control->kind == ControlKind::ListView) {
            control->listDirty = true;
        } else {
            PushControl(*control);
        }
    }
}

void CWin32Window::PushAll() {
    if (m_hwnd == nullptr) {
        return;
    }
    PushWindow();
    for (Control& control : m_controls) {
        if (control.kind == ControlKind::ListView) {
            control.listDirty = true;
        } else {
            PushControl(control);
        }
    }
}

void CWin32Window::FlushLists() {
    for (Control& control : m_controls) {
        if (control.listDirty) {
            control.listDirty = false;
            if (const ControlState* state = StateOf(control)) {
                CPushing pushing(m_pushing);
                PushList(control, *state);
            }
        }
    }
}

void CWin32Window::PushWindow() {
    CPushing pushing(m_pushing);
    const std::wstring title = ToWide(m_dlg.GetWindowText());
    if (!m_titleValid || title != m_shownTitle) {
        SetLabelIfDiffers(m_hwnd, m_dlg.GetWindowText());
        m_shownTitle = title;
        m_titleValid = true;
    }
    if ((m_dlg.GetStyle() & WS_SYSMENU) != 0 &&
        (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_SYSMENU) == 0) {
        SetWindowLongPtrW(m_hwnd, GWL_STYLE, GetWindowLongPtrW(m_hwnd, GWL_STYLE) | WS_SYSMENU);
    }
    const std::vector<CDialog::MenuItem>& menu = m_dlg.SystemMenu();
    if (menu.size() > m_shownMenuItems) {
        if (HMENU system = GetSystemMenu(m_hwnd, FALSE)) {
            for (size_t i = m_shownMenuItems; i < menu.size(); ++i) {
                if (menu[i].id == 0) {
                    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
                } else {
                    AppendMenuW(system, MF_STRING, menu[i].id, ToWide(menu[i].text).c_str());
                }
            }
        }
        m_shownMenuItems = menu.size();
    }
    if (m_dlg.GetIcon(true) != m_shownBigIcon) {
        m_shownBigIcon = m_dlg.GetIcon(true);
        SendMessageW(m_hwnd, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(m_host.Icon(m_shownBigIcon, true)));
    }
    if (m_dlg.GetIcon(false) != m_shownSmallIcon) {
        m_shownSmallIcon = m_dlg.GetIcon(false);
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(m_host.Icon(m_shownSmallIcon, false)));
    }
    if (IsWindowVisible(m_hwnd)) {
        const int focus = m_dlg.GetFocus();
        if (focus != m_shownFocus) {
            m_shownFocus = focus;
            HWND target = ControlWindow(focus);
            if (target != nullptr && GetFocus() != target) {
                SetFocus(target);
            }
        }
        if (m_dlg.IsIconic() != m_shownIconic) {
            m_shownIconic = m_dlg.IsIconic();
            ShowWindow(m_hwnd, m_shownIconic ? SW_MINIMIZE : SW_RESTORE);
        }
    }
}

void CWin32Window::PushControl(Control& control) {
    const ControlState* found = StateOf(control);
    if (found == nullptr || control.hwnd == nullptr) {
        return;
    }
    const ControlState& state = *found;
    CPushing pushing(m_pushing);
    HWND hwnd = control.hwnd;
    switch (control.kind) {
        case ControlKind::Edit:
            SetTextIfDiffers(hwnd, ToWide(state.text));
            break;
        case ControlKind::PushButton:
        case ControlKind::Static:
        case ControlKind::GroupBox:
            SetLabelIfDiffers(hwnd, state.text);
            break;
        case ControlKind::CheckBox: {
            SetLabelIfDiffers(hwnd, state.text);
            const WPARAM check = state.check != 0 ? BST_CHECKED : BST_UNCHECKED;
            if (static_cast<WPARAM>(SendMessageW(hwnd, BM_GETCHECK, 0, 0)) != check) {
                SendMessageW(hwnd, BM_SETCHECK, check, 0);
            }
            break;
        }
        case ControlKind::ComboBox:
        case ControlKind::DropDownList:
            PushCombo(control, state);
            break;
        case ControlKind::ListView:
        case ControlKind::Icon:
            break;
    }
    if ((IsWindowEnabled(hwnd) != FALSE) != state.enabled) {
        EnableWindow(hwnd, state.enabled ? TRUE : FALSE);
    }
    const bool shown = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != state.visible) {
        ShowWindow(hwnd, state.visible ? SW_SHOWNA : SW_HIDE);
    }
}

void CWin32Window::PushCombo(Control& control, const ControlState& state) {
    HWND box = control.hwnd;
    if (!control.itemsValid || control.items != state.items) {
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        // Inserting keeps the dialog's own order even where the box was made sorted: the
        // dialog has sorted them already, the way the program sorts.
        for (size_t i = 0; i < state.items.size(); ++i) {
            SendMessageW(box, CB_INSERTSTRING, i,
                         reinterpret_cast<LPARAM>(ToWide(state.items[i]).c_str()));
        }
        control.items = state.items;
        control.itemsValid = true;
    }
    if (SendMessageW(box, CB_GETCURSEL, 0, 0) != state.curSel) {
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(state.curSel), 0);
    }
    if (control.kind == ControlKind::ComboBox) {
        SetTextIfDiffers(box, ToWide(state.text));
    }
}

void CWin32Window::PushList(Control& control, const ControlState& state) {
    HWND list = control.hwnd;
    ShownList& shown = control.list;
    if (!shown.styleValid || shown.extendedStyle != state.extendedStyle) {
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, state.extendedStyle);
        shown.extendedStyle = state.extendedStyle;
        shown.styleValid = true;
        shown.rows.clear();  // the boxes come and go with the style: every row anew
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    }
    if (shown.columns.size() != state.columns.size()) {
        while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0) != FALSE) {
        }
        shown.columns.clear();
        for (size_t c = 0; c < state.columns.size(); ++c) {
            std::wstring title = ToWide(state.columns[c].title);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = LVCFMT_LEFT;
            column.cx = state.columns[c].width;
            column.pszText = title.data();
            SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
            shown.columns.push_back(state.columns[c]);
        }
        shown.rows.clear();
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    }
    for (size_t c = 0; c < state.columns.size(); ++c) {
        if (shown.columns[c].title != state.columns[c].title) {
            std::wstring title = ToWide(state.columns[c].title);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT;
            column.pszText = title.data();
            SendMessageW(list, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
            shown.columns[c].title = state.columns[c].title;
        }
        if (shown.columns[c].width != state.columns[c].width) {
            SendMessageW(list, LVM_SETCOLUMNWIDTH, c, MAKELPARAM(state.columns[c].width, 0));
            shown.columns[c].width = state.columns[c].width;
        }
    }
    PushListRows(control, state);
    if (!state.rows.empty()) {
        const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
        if (top != state.topIndex) {
            const int height = RowHeight(control.id);
            SendMessageW(list, LVM_SCROLL, 0, (state.topIndex - top) * height);
        }
    }
    shown.topIndex = state.topIndex;
}

void CWin32Window::PushListRows(Control& control, const ControlState& state) {
    HWND list = control.hwnd;
    ShownList& shown = control.list;
    // Rows past the dialog's go from the end, new ones are appended: the cells are compared
    // below, so a list refilled in another order still ends up showing the dialog's rows.
    while (shown.rows.size() > state.rows.size()) {
        SendMessageW(list, LVM_DELETEITEM, shown.rows.size() - 1, 0);
        shown.rows.pop_back();
    }
    const size_t columns = std::max<size_t>(state.columns.size(), 1);
    while (shown.rows.size() < state.rows.size()) {
        std::wstring text = ToWide(CellText(state.rows[shown.rows.size()], 0));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(shown.rows.size());
        item.pszText = text.data();
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ListRow row;
        row.texts.assign(1, CellText(state.rows[shown.rows.size()], 0));
        row.checked = false;
        row.state = 0;
        // A new row shows an unticked box whatever the list says; the compare below sets it.
        row.data = -1;
        shown.rows.push_back(row);
    }
    const bool boxes = (state.extendedStyle & LVS_EX_CHECKBOXES) != 0;
    for (size_t r = 0; r < state.rows.size(); ++r) {
        const ListRow& wanted = state.rows[r];
        ListRow& row = shown.rows[r];
        row.texts.resize(columns);
        for (size_t c = 0; c < columns; ++c) {
            const std::string& text = CellText(wanted, c);
            if (row.texts[c] != text || row.data == -1) {
                std::wstring wide = ToWide(text);
                LVITEMW item{};
                item.iSubItem = static_cast<int>(c);
                item.pszText = wide.data();
                SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
                row.texts[c] = text;
            }
        }
        const UINT mask = LVIS_SELECTED | LVIS_FOCUSED | (boxes ? LVIS_STATEIMAGEMASK : 0u);
        const UINT realState = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, r, mask));
        UINT state = wanted.state & (LVIS_SELECTED | LVIS_FOCUSED);
        if (boxes) {
            state |= INDEXTOSTATEIMAGEMASK(wanted.checked ? 2 : 1);
        }
        if (realState != state) {
            LVITEMW item{};
            item.stateMask = mask;
            item.state = state;
            SendMessageW(list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&item));
        }
        row.checked = wanted.checked;
        row.state = wanted.state;
        row.data = 0;
    }
}

int CWin32Window::RowHeight(int controlId) const {
    const Control* control = Find(controlId);
    if (control == nullptr || control->kind != ControlKind::ListView) {
        return 16;
    }
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (SendMessageW(control->hwnd, LVM_GETITEMCOUNT, 0, 0) > 0 &&
        SendMessageW(control->hwnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect)) &&
        rect.bottom > rect.top) {
        return rect.bottom - rect.top;
    }
    // No row yet: what the list's font would give one, with the list view's own padding.
    HDC dc = GetDC(control->hwnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control->hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    ReleaseDC(control->hwnd, dc);
    return std::max<int>(metrics.tmHeight + metrics.tmExternalLeading + 1,
                         GetSystemMetrics(SM_CYSMICON) + 1);
}

int CWin32Window::PageRows(int controlId) const {
    const Control* control = Find(controlId);
    if (control == nullptr || control->kind != ControlKind::ListView) {
        return 1;
    }
    return std::max(1, static_cast<int>(SendMessageW(control->hwnd, LVM_GETCOUNTPERPAGE, 0, 0)));
}

int CWin32Window::TextWidth(int controlId, const std::string& text) const {
    const Control* control = Find(controlId);
    const std::wstring wide = ToWide(text);
    if (control != nullptr && control->kind == ControlKind::ListView) {
        // What the list itself measures when it fits a column.
        return static_cast<int>(SendMessageW(control->hwnd, LVM_GETSTRINGWIDTHW, 0,
                                             reinterpret_cast<LPARAM>(wide.c_str())));
    }
    HWND hwnd = control != nullptr ? control->hwnd : m_hwnd;
    HDC dc = GetDC(hwnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    if (old != nullptr) {
        SelectObject(dc, old);
    }
    ReleaseDC(hwnd, dc);
    return size.cx;
}

void CWin32Window::Paint() {
    // Minimised: the background is erased with the icon-erase message and the program draws its
    // icon where its OnPaint says.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hwnd, &paint);
    SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    m_dlg.OnPaint();
    const CDialog::IconDraw& draw = m_dlg.LastIconDraw();
    if (draw.icon != 0) {
        DrawIcon(dc, draw.x, draw.y, m_host.Icon(draw.icon, true));
    }
    EndPaint(m_hwnd, &paint);
}

}  // namespace ui::win32
