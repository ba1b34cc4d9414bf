// Showing the dialog's state in the real controls: each push touches only what differs, and
// marks itself as the host's own change so that the notifications it causes are never taken for
// the user's.
#include <algorithm>

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
        m_shownMenuEnabled.assign(menu.size(), true);
    }
    // A grey item is grey in the real menu too, and the system sends no command for it.
    for (size_t i = 0; i < menu.size() && i < m_shownMenuEnabled.size(); ++i) {
        if (menu[i].id != 0 && menu[i].enabled != m_shownMenuEnabled[i]) {
            if (HMENU system = GetSystemMenu(m_hwnd, FALSE)) {
                EnableMenuItem(system, menu[i].id,
                               MF_BYCOMMAND | (menu[i].enabled ? MF_ENABLED : MF_GRAYED));
                m_shownMenuEnabled[i] = menu[i].enabled;
            }
        }
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
            if (target != nullptr && m_dlg.FocusByKey()) {
                // As the dialog manager moves the focus for Tab: from now on the window shows
                // where it is, an edit it lands on has its text selected, and a push button
                // takes the default button's frame.
                SendMessageW(m_hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
                SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
            } else if (target != nullptr && GetFocus() != target) {
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

}  // namespace ui::win32
