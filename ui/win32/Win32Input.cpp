// What the user does to a real window, turned into Input records: mouse buttons and keys taken
// from the message loop before the controls see them, and the real controls' notifications
// (typed texts, chosen items, list check boxes, selections, double clicks, header clicks, system
// commands). Buttons and check boxes never act on their own: the dialog layer decides.
#include <algorithm>

#include "ui/win32/Win32Host.h"
#include "ui/win32/Win32Window.h"

namespace ui::win32 {
namespace {

bool IsButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox;
}

std::wstring ComboItem(HWND box, int index) {
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

INT_PTR CALLBACK CWin32Window::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<CWin32Window*>(lParam);
        window->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        return FALSE;  // the dialog layer says where the focus goes
    }
    auto* window = reinterpret_cast<CWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return window != nullptr ? window->Proc(message, wParam, lParam) : FALSE;
}

LRESULT CALLBACK CWin32Window::ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    if (message == BM_CLICK) {
        reinterpret_cast<CWin32Window*>(self)->OnButtonClick(hwnd);
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void CWin32Window::OnButtonClick(HWND button) {
    // BM_CLICK is what a screen reader, UI Automation's Invoke or a test tool sends. It is a
    // click, made by the dialog layer as one, unless a modal window over this one keeps every
    // click from the button.
    const Control* control = ControlOf(button);
    if (control == nullptr || !IsWindowEnabled(m_hwnd)) {
        return;
    }
    Input input;
    input.kind = Input::Press;
    input.id = control->id;
    Queue(std::move(input));
}

INT_PTR CWin32Window::Result(LRESULT result) {
    SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CWin32Window::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return TRUE;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
            return Result(0);
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam) ? Result(0) : FALSE;
        case WM_CLOSE: {
            Input input;
            input.kind = Input::Close;
            Queue(input);
            return TRUE;
        }
        case WM_SETCURSOR:
            if (m_host.Waiting()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return Result(TRUE);
            }
            return FALSE;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                m_dlg.SetClientSize(LOWORD(lParam), HIWORD(lParam));
            }
            return FALSE;
        case WM_PAINT:
            if (IsIconic(m_hwnd)) {
                Paint();
                return TRUE;
            }
            return FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(m_host.Icon(m_dlg.OnQueryDragIcon(), true));
        default:
            return FALSE;
    }
}

void CWin32Window::Queue(Input input) {
    // What another program sends (a screen reader's BM_CLICK, a tool's list change) is served
    // while the loop waits for a message, and the wait goes on until one is posted: this one
    // wakes it for the input.
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
    m_inputs.Queue(std::move(input));
}

bool CWin32Window::PumpEvents() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        Quit(static_cast<int>(msg.wParam));
        return true;
    }
    // The loop pumps for every window of the thread; a message for a modeless window beside
    // this one goes through that window's interception and dialog navigation. A window under
    // a modal one is disabled, and the system gives it no input to intercept.
    CWin32Window* owner = m_host.WindowOwning(msg.hwnd);
    (owner != nullptr ? *owner : *this).Route(msg);
    return true;
}

void CWin32Window::WaitForEvents(int64_t timeoutMs) {
    // Until a message comes, or the dialog layer's next timer is due.
    MsgWaitForMultipleObjectsEx(0, nullptr,
                                timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs),
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// Every message passes the window's interception (mouse buttons and keys become Input records
// for the dialog's pre-filter) before IsDialogMessage, TranslateMessage and DispatchMessage, as
// the dialog framework hands messages to PreTranslateMessage first. The loop that pumps is the
// topmost window's: a window under it is disabled and hears of nothing but what is sent to it.
void CWin32Window::Route(MSG& msg) {
    // A press into a window beside the one the user works in turns the user to it, before the
    // press itself is served.
    const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                       msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN;
    if (press && Owns(msg.hwnd) && ActiveWindow() != &m_dlg) {
        Input input;
        input.kind = Input::Activate;
        input.id = m_dlg.Template().id;
        Queue(std::move(input));
    }
    if (Intercept(msg) || IsDialogMessageW(m_hwnd, &msg)) {
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool CWin32Window::Intercept(const MSG& msg) {
    switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            return OnMouse(msg);
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            return OnKey(msg);
        default:
            return false;
    }
}

bool CWin32Window::OnMouse(const MSG& msg) {
    Control* control = ControlOf(msg.hwnd);
    const bool onDialog = msg.hwnd == m_hwnd;
    if (control == nullptr && !onDialog) {
        return false;  // a dropped list or another window: not ours to judge
    }
    const int id = control != nullptr ? control->id : 0;
    const bool button = control != nullptr && IsButton(control->kind);
    if (msg.message != WM_LBUTTONUP) {
        m_clicks.Press(id);
        m_pressHwnd = msg.hwnd;
        m_pressCaptured = button;
        if (button) {
            // The button looks pressed and keeps the mouse, as it would itself; whether it was
            // clicked is the dialog layer's to say once the release comes.
            SetCapture(control->hwnd);
            SendMessageW(control->hwnd, BM_SETSTATE, TRUE, 0);
        }
        return button || onDialog;
    }
    if (m_clicks.Pressed() && m_pressCaptured) {
        ReleaseCapture();
        HWND pressed = m_pressHwnd;
        SendMessageW(pressed, BM_SETSTATE, FALSE, 0);
        // Where the release happened, in the pressed button's own terms: the button holds the
        // mouse, so the message comes to it wherever the pointer is.
        RECT rect;
        GetClientRect(pressed, &rect);
        POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        if (msg.hwnd != pressed) {
            MapWindowPoints(msg.hwnd, pressed, &at, 1);
        }
        Queue(m_clicks.Release(id, PtInRect(&rect, at) != FALSE));
        return true;
    }
    // Any other control that had the press holds the mouse itself, so the release comes to it.
    Queue(m_clicks.Release(id, m_clicks.Pressed() && m_clicks.PressedId() == id));
    return button || onDialog;
}

bool CWin32Window::OnKey(const MSG& msg) {
    Control* control = ControlOf(msg.hwnd);
    if (control == nullptr && msg.hwnd != m_hwnd) {
        return false;
    }
    const int id = control != nullptr ? control->id : 0;
    const WPARAM key = msg.wParam;
    // An open drop-down list owns Enter and Esc: they choose the highlighted item or put it
    // back, and close the list; the window never hears of them.
    const bool listKey =
        msg.message == WM_CHAR ? key == L'\r' || key == 27 : key == VK_RETURN || key == VK_ESCAPE;
    if (listKey && control != nullptr &&
        (control->kind == ControlKind::ComboBox || control->kind == ControlKind::DropDownList) &&
        SendMessageW(control->hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE) {
        return false;
    }
    Input input;
    input.id = id;
    if (msg.message == WM_CHAR) {
        // The characters of the keys taken below must not reach the control either.
        return key == L'\r' || key == 27 || key == L'\t' ||
               (key == L' ' && control != nullptr && IsButton(control->kind));
    }
    switch (key) {
        case VK_RETURN:
            input.kind = Input::KeyEnter;
            break;
        case VK_ESCAPE:
            input.kind = Input::KeyEsc;
            break;
        case VK_SPACE:
            // Space types into edits and ticks list rows; only buttons are pressed by it here.
            if (control == nullptr || !IsButton(control->kind)) {
                return false;
            }
            input.kind = Input::KeySpace;
            break;
        case VK_TAB:
            // The dialog layer moves the focus along the template's tab stops, as the dialog
            // manager would, so that the focus it keeps is the one on screen.
            if (GetKeyState(VK_CONTROL) < 0) {
                return false;
            }
            input.kind = Input::KeyTab;
            input.on = GetKeyState(VK_SHIFT) < 0;
            break;
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
            // On a button or check box the arrows move the focus in its group, which the dialog
            // layer does for the same reason; the other controls use them themselves.
            if (control == nullptr || !IsButton(control->kind)) {
                return false;
            }
            input.kind = key == VK_UP     ? Input::KeyUp
                         : key == VK_DOWN ? Input::KeyDown
                         : key == VK_LEFT ? Input::KeyLeft
                                          : Input::KeyRight;
            break;
        default:
            return false;
    }
    // A held Tab or arrow goes on moving; Enter, Esc and Space act once.
    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    const bool moves = input.kind != Input::KeyEnter && input.kind != Input::KeyEsc &&
                       input.kind != Input::KeySpace;
    if (msg.message == WM_KEYDOWN && (moves || !repeat)) {
        Queue(input);
    }
    return true;
}

void CWin32Window::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (m_pushing || lParam == 0) {
        return;
    }
    Control* control = ControlOf(reinterpret_cast<HWND>(lParam));
    if (control == nullptr) {
        return;
    }
    const UINT code = HIWORD(wParam);
    Input input;
    input.id = control->id;
    switch (control->kind) {
        case ControlKind::Edit:
            if (code != EN_CHANGE) {
                return;
            }
            input.kind = Input::Type;
            input.text = FromWide(TextOf(control->hwnd));
            break;
        case ControlKind::ComboBox:
        case ControlKind::DropDownList:
            if (code == CBN_EDITCHANGE) {
                input.kind = Input::Type;
                input.text = FromWide(TextOf(control->hwnd));
            } else if (code == CBN_SELCHANGE) {
                const int index = static_cast<int>(SendMessageW(control->hwnd, CB_GETCURSEL, 0, 0));
                input.kind = Input::Choose;
                input.text = index >= 0 ? FromWide(ComboItem(control->hwnd, index)) : "";
            } else {
                return;
            }
            break;
        default:
            // Button clicks are the dialog layer's to make from the mouse and keys above.
            return;
    }
    Queue(std::move(input));
}

void CWin32Window::QueueListSelection(const Control& control) {
    Input input;
    input.kind = Input::Select;
    input.id = control.id;
    int row = -1;
    while ((row = static_cast<int>(
                SendMessageW(control.hwnd, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0) {
        input.rows.push_back(row);
    }
    // The row with the focus is the one Space ticks; the dialog keeps it as the list has it.
    input.row = static_cast<int>(SendMessageW(control.hwnd, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
    Queue(std::move(input));
}

void CWin32Window::OnNotify(const NMHDR& header, LPARAM lParam) {
    if (m_pushing) {
        return;
    }
    Control* control = ControlOf(header.hwndFrom);
    if (control == nullptr || control->kind != ControlKind::ListView) {
        return;
    }
    Input input;
    input.id = control->id;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) {
                return;
            }
            const UINT changed = change.uNewState ^ change.uOldState;
            if ((changed & LVIS_STATEIMAGEMASK) != 0 && (change.uOldState & LVIS_STATEIMAGEMASK)) {
                input.kind = Input::Tick;
                input.row = change.iItem;
                input.on = (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
                Queue(std::move(input));
            }
            if ((changed & (LVIS_SELECTED | LVIS_FOCUSED)) != 0) {
                QueueListSelection(*control);
            }
            return;
        }
        case NM_DBLCLK: {
            const auto& activate = *reinterpret_cast<const NMITEMACTIVATE*>(lParam);
            input.kind = Input::DblClick;
            input.row = activate.iItem;
            Queue(std::move(input));
            return;
        }
        case LVN_COLUMNCLICK: {
            const auto& click = *reinterpret_cast<const NMLISTVIEW*>(lParam);
            input.kind = Input::Header;
            input.row = click.iSubItem;
            Queue(std::move(input));
            return;
        }
        default:
            return;
    }
}

bool CWin32Window::OnSysCommand(WPARAM wParam) {
    const uint32_t command = static_cast<uint32_t>(wParam);
    Input input;
    switch (command & 0xFFF0) {
        case SC_CLOSE:
            input.kind = Input::Close;
            break;
        case SC_MINIMIZE:
            input.kind = Input::Minimize;
            break;
        case SC_RESTORE:
            input.kind = Input::Restore;
            break;
        default: {
            // The program's own items; moving, sizing and the rest are the system's.
            const auto& items = m_dlg.SystemMenu();
            const bool ours = std::any_of(items.begin(), items.end(), [&](const auto& item) {
                return item.id != 0 && (item.id & 0xFFF0) == (command & 0xFFF0);
            });
            if (!ours) {
                return false;
            }
            input.kind = Input::SysMenu;
            input.id = static_cast<int>(command);
            break;
        }
    }
    Queue(std::move(input));
    return true;
}

}  // namespace ui::win32
