// The input lines of a story as real input messages on the Win32 host's windows.
#include "tools/scenarios/win32/Win32ScenarioInput.h"

#include <algorithm>

#include "tools/win32driver/Driver.h"
#include "ui/HostLoop.h"

namespace scenarios {

using namespace windriver;

// Where a user's click on control `id` lands: the control itself, or the dialog under it when
// the control cannot take the mouse (missing, hidden, disabled, or a static that lets it
// through), as the system's hit test decides.
void CWin32InputPlayer::Aim(ui::CDialog& dlg, int id, HWND& target, POINT& at) const {
    HWND window = m_host.WindowOf(dlg);
    HWND control = m_host.ControlWindow(dlg, id);
    target = window;
    at = CentreOf(window);
    if (control == nullptr)
        return;
    at = CentreOf(control);
    const ui::ControlKind kind = dlg.Control(id).kind;
    const bool transparent = kind == ui::ControlKind::Static || kind == ui::ControlKind::GroupBox ||
                             kind == ui::ControlKind::Icon;
    if (Live(control) && !transparent) {
        target = control;
        return;
    }
    MapWindowPoints(control, window, &at, 1);
}

void CWin32InputPlayer::Perform(ui::CDialog& dlg, const ui::Input& input) {
    if (input.kind == ui::Input::Idle)
        return;
    if (input.kind == ui::Input::Activate) {
        TurnTo(input);
        return;
    }
    HoldShift(false);
    HWND window = m_host.WindowOf(dlg);
    if (window == nullptr)
        return;
    // Another program on the same desktop may have taken the activation: the user brings the
    // window back to the front before going on.
    if (GetActiveWindow() != window) {
        SetForegroundWindow(window);
        SetActiveWindow(window);
    }
    HWND target = nullptr;
    POINT at{};
    switch (input.kind) {
        case ui::Input::Click:
            Aim(dlg, input.id, target, at);
            PostClick(target, at);
            break;
        case ui::Input::Check:
            if ((dlg.Control(input.id).check != 0) != input.on) {
                Aim(dlg, input.id, target, at);
                PostClick(target, at);
            }
            break;
        case ui::Input::Release:
            Aim(dlg, input.id, target, at);
            PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
            break;
        case ui::Input::Press:
            if (HWND control = m_host.ControlWindow(dlg, input.id))
                PostPress(control);
            break;
        case ui::Input::KeyEnter:
        case ui::Input::KeyEsc:
        case ui::Input::KeySpace:
        case ui::Input::KeyTab:
        case ui::Input::KeyUp:
        case ui::Input::KeyDown:
        case ui::Input::KeyLeft:
        case ui::Input::KeyRight:
        case ui::Input::KeyHome:
        case ui::Input::KeyEnd:
            PressKey(dlg, input);
            break;
        case ui::Input::Type:
            TypeText(dlg, input.id, input.text);
            break;
        case ui::Input::Choose:
            ChooseItem(dlg, input.id, input.text);
            break;
        case ui::Input::Tick:
            TickRow(dlg, input.id, input.row, input.on);
            break;
        case ui::Input::Select:
            SelectRows(dlg, input.id, input.rows);
            break;
        case ui::Input::DblClick:
            DoubleClickRow(dlg, input.id, input.row);
            break;
        case ui::Input::Header:
            ClickHeader(dlg, input.id, input.row);
            break;
        case ui::Input::SysMenu:
            PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(input.id), 0);
            break;
        case ui::Input::Close:
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case ui::Input::Minimize:
            PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case ui::Input::Restore:
            PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            break;
        case ui::Input::Activate:
        case ui::Input::Idle:
            break;
    }
}

// The user turns to another open window: it comes to the front and takes the keyboard, and
// the dialog layer hears of it as the user's act, in order with the others.
void CWin32InputPlayer::TurnTo(const ui::Input& input) {
    for (ui::CDialog* served : ui::ServedDialogs()) {
        if (served->Template().id != input.id)
            continue;
        if (HWND window = m_host.WindowOf(*served)) {
            SetForegroundWindow(window);
            SetActiveWindow(window);
        }
        ui::QueueInput(*served, input);
        return;
    }
}

HWND CWin32InputPlayer::LiveControl(ui::CDialog& dlg, int id) const {
    HWND control = m_host.ControlWindow(dlg, id);
    return control != nullptr && Live(control) ? control : nullptr;
}

void CWin32InputPlayer::PressKey(ui::CDialog& dlg, const ui::Input& input) {
    // The user moves the focus there first (with Tab, or a click that is not part of the
    // story), then presses the key.
    if (HWND control = LiveControl(dlg, input.id))
        SetFocus(control);
    HWND focus = GetFocus();
    if (focus == nullptr)
        focus = m_host.WindowOf(dlg);
    const UINT key = KeyOf(input.kind);
    // Shift stays down until the next line: the window reads it when the key comes.
    HoldShift(input.kind == ui::Input::KeyTab && input.on);
    PostKey(focus, key);
    // Only the keys that make a character make one.
    const wchar_t typed = key == VK_RETURN   ? L'\r'
                          : key == VK_ESCAPE ? wchar_t{27}
                          : key == VK_SPACE  ? L' '
                          : key == VK_TAB    ? L'\t'
                                             : 0;
    if (typed != 0)
        PostMessageW(focus, WM_CHAR, typed, 1);
}

UINT CWin32InputPlayer::KeyOf(ui::Input::Kind kind) {
    switch (kind) {
        case ui::Input::KeyEnter:
            return VK_RETURN;
        case ui::Input::KeyEsc:
            return VK_ESCAPE;
        case ui::Input::KeyTab:
            return VK_TAB;
        case ui::Input::KeyUp:
            return VK_UP;
        case ui::Input::KeyDown:
            return VK_DOWN;
        case ui::Input::KeyLeft:
            return VK_LEFT;
        case ui::Input::KeyRight:
            return VK_RIGHT;
        case ui::Input::KeyHome:
            return VK_HOME;
        case ui::Input::KeyEnd:
            return VK_END;
        default:
            return VK_SPACE;
    }
}

// A posted key changes no key's state, so the runner sets the one of Shift itself.
void CWin32InputPlayer::HoldShift(bool down) {
    if (down == m_shiftHeld)
        return;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
    m_shiftHeld = down;
}

void CWin32InputPlayer::TypeText(ui::CDialog& dlg, int id, const std::string& text) {
    // Typing with no control named goes where the keyboard focus is, over what it holds.
    if (id == 0) {
        if (HWND focus = GetFocus())
            TypeOver(focus, ui::ToWide(text));
        return;
    }
    HWND control = LiveControl(dlg, id);
    if (control == nullptr)
        return;
    HWND edit = control;
    if (dlg.Control(id).kind == ui::ControlKind::ComboBox) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(control, &info) && info.hwndItem != nullptr)
            edit = info.hwndItem;
    }
    // As a user selects what is there and types over it.
    SetFocus(edit);
    TypeOver(edit, ui::ToWide(text));
}

void CWin32InputPlayer::ChooseItem(ui::CDialog& dlg, int id, const std::string& text) {
    HWND box = LiveControl(dlg, id);
    const ui::ControlState& state = dlg.Control(id);
    const auto found = std::find(state.items.begin(), state.items.end(), text);
    if (box == nullptr || found == state.items.end())
        return;  // the box does not offer it
    const int index = static_cast<int>(found - state.items.begin());
    if (state.kind == ui::ControlKind::ComboBox) {
        // A box one can type into: its entry follows the text typed last, and Wine's walks down
        // the entries from there stop at an entry without a name. The user opens the list with
        // its arrow and clicks the entry; the click waits until the list shows.
        HWND list = nullptr;
        if (!ClickComboArrow(box, list)) {
            m_problems.push_back("no list to open in box " + std::to_string(id));
            return;
        }
        m_pendingPick = Pick{box, list, index, id};
        return;
    }
    // With the keyboard on the closed list.
    SetFocus(box);
    WalkComboTo(box, index);
}

bool CWin32InputPlayer::FinishPick() {
    if (m_pendingPick.box == nullptr)
        return false;
    const Pick pick = m_pendingPick;
    m_pendingPick = Pick{};
    switch (ClickListEntry(pick.list, pick.index)) {
        case EntryClick::Clicked:
            break;
        case EntryClick::NotOpen: {
            // A list can shut again as it opens when the window is given the activation back at
            // that moment (another program's window on the same desktop had it): the user then
            // clicks the arrow once more. A list that never opens is a fault.
            HWND list = nullptr;
            if (pick.clicks < 3 && IsWindowEnabled(pick.box) && ClickComboArrow(pick.box, list)) {
                m_pendingPick = pick;
                m_pendingPick.list = list;
                ++m_pendingPick.clicks;
                break;
            }
            m_problems.push_back("the list of box " + std::to_string(pick.id) + " did not open");
            break;
        }
        case EntryClick::NoEntry:
            m_problems.push_back("no entry " + std::to_string(pick.index) +
                                 " to click in the list of box " + std::to_string(pick.id));
            break;
    }
    return true;
}

void CWin32InputPlayer::TickRow(ui::CDialog& dlg, int id, int row, bool on) {
    HWND list = LiveControl(dlg, id);
    if (list == nullptr || row < 0 || row >= ItemCount(list) || RowChecked(list, row) == on)
        return;
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    POINT at;
    if (CheckBoxPoint(nullptr, list, row, at)) {
        PostClick(list, at);
        return;
    }
    m_problems.push_back("no check box to click in row " + std::to_string(row));
}

void CWin32InputPlayer::SelectRows(ui::CDialog& dlg, int id, const std::vector<int>& rows) {
    HWND list = LiveControl(dlg, id);
    if (list == nullptr)
        return;
    const int count = ItemCount(list);
    bool first = true;
    for (int row : rows) {
        if (row < 0 || row >= count)
            continue;
        SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
        RECT label;
        RowRect(nullptr, list, row, LVIR_LABEL, label);
        PostClick(list, (label.left + label.right) / 2, (label.top + label.bottom) / 2,
                  first ? 0 : MK_CONTROL);
        first = false;
    }
    if (first) {
        // No row: a click on the empty area below the rows clears the selection.
        POINT empty;
        if (EmptyAreaPoint(nullptr, list, empty)) {
            PostClick(list, empty);
        } else {
            m_problems.push_back("no empty area to click in list " + std::to_string(id));
        }
    }
}

void CWin32InputPlayer::DoubleClickRow(ui::CDialog& dlg, int id, int row) {
    HWND list = LiveControl(dlg, id);
    if (list == nullptr)
        return;
    POINT at{};
    if (row >= 0 && row < ItemCount(list)) {
        SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
        RECT label;
        RowRect(nullptr, list, row, LVIR_LABEL, label);
        at = POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    } else if (!EmptyAreaPoint(nullptr, list, at)) {
        m_problems.push_back("no empty area to double click in list " + std::to_string(id));
        return;
    }
    PostDoubleClick(list, at);
}

void CWin32InputPlayer::ClickHeader(ui::CDialog& dlg, int id, int column) {
    HWND list = LiveControl(dlg, id);
    RECT rect{};
    if (list == nullptr || !HeaderItemRect(nullptr, list, column, rect))
        return;
    PostClick(HeaderOf(list), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

}  // namespace scenarios
