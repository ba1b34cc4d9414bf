// Creating the real window of a dialog from its compiled template, pairing its controls with the
// dialog's states, and what the window measures and draws itself.
#include <algorithm>

#include "ui/Placement.h"
#include "ui/win32/Win32Host.h"
#include "ui/win32/Win32Window.h"

namespace ui::win32 {

std::wstring TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

CWin32Window::CWin32Window(CWin32Host& host, CDialog& dlg, HWND owner)
    : m_host(host), m_dlg(dlg), m_owner(owner) {}

CWin32Window::~CWin32Window() {
    if (m_hwnd != nullptr) {
        // The windows it disabled come back first, so that the system gives the activation to
        // one of them rather than to another program's window.
        for (HWND disabled : m_disabled) {
            if (IsWindow(disabled)) {
                EnableWindow(disabled, TRUE);
            }
        }
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        for (const Control& control : m_controls) {
            if (control.hwnd != nullptr && (control.kind == ControlKind::PushButton ||
                                            control.kind == ControlKind::CheckBox)) {
                RemoveWindowSubclass(control.hwnd, &CWin32Window::ButtonProc, 0);
            }
            if (control.answersAccess) {
                StopAnswering(control.hwnd);
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

void CWin32Window::Show(bool modal) {
    PushAll();
    FlushLists();
    // As the dialog framework starts a modal dialog: over the middle of its owner, or of the
    // screen's work area for the main window.
    CentreWindow(m_hwnd, m_owner);
    if (modal) {
        m_disabled = m_host.DisableOthers(m_hwnd);
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
        // The controls stay where they are from here on, so their texts do too.
        if (control.hwnd != nullptr && OwnAccessibleTexts(m_dlg.Template(), i, control.access)) {
            AnswerAccessibility(control.hwnd, &control.access);
            control.answersAccess = true;
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
