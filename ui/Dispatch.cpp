// What a user action does, the same on every host. The message pre-filter sees the mouse and
// key messages first, as the framework's PreTranslateMessage does before the window gets them;
// only what it lets through reaches the control, which then sends its command or notification.
#include <algorithm>

#include "ui/ControlRules.h"
#include "ui/Dialog.h"
#include "ui/HostLoop.h"

namespace ui {
namespace {

using detail::FocusedRow;
using detail::FocusIfLive;
using detail::FocusRow;
using detail::Live;
using detail::PreFilterKey;
using detail::SelectOnly;

// The window a mouse message is addressed to: the control under the pointer, or the dialog
// when there is none there that takes the mouse (missing, hidden, disabled or transparent).
int MouseTarget(const CDialog& dlg, int id) {
    const ControlState* state = Live(dlg, id);
    return state != nullptr && !detail::IsMouseTransparent(state->kind) ? id : 0;
}

// Sends the messages through the pre-filter; true when any of them was eaten.
bool PreFilter(CDialog& dlg, std::initializer_list<Message> messages) {
    bool eaten = false;
    for (const Message& message : messages) {
        eaten = dlg.PreTranslateMessage(message) || eaten;
    }
    return eaten;
}

void ToggleCheckBox(CDialog& dlg, int id) {
    CButton box(&dlg, id);
    box.SetCheck(box.GetCheck() != 0 ? 0 : 1);
    dlg.OnCommand(id);
}

void Click(CDialog& dlg, int id) {
    const int target = MouseTarget(dlg, id);
    bool eaten = PreFilter(dlg, {Message{Message::LButtonDown, target, 0}});
    // The press moves the focus before the release is even looked at, as a Windows control
    // takes it on the button going down; whatever the release then does (a refused step field
    // taking the focus back) has the last word. A push button keeps the focus where it was: a
    // later Enter then does what the window's default action says ("Enter does nothing" in the
    // main window) rather than pressing the clicked button a second time.
    if (!eaten && target != 0 && !Stopped(dlg) && Live(dlg, id) != nullptr &&
        dlg.Control(id).kind != ControlKind::PushButton) {
        dlg.SetFocus(id);
    }
    eaten = PreFilter(dlg, {Message{Message::LButtonUp, target, 0}}) || eaten;
    // The pre-filter may have disabled the control or closed the window meanwhile.
    if (eaten || target == 0 || Stopped(dlg) || Live(dlg, id) == nullptr) {
        return;
    }
    switch (dlg.Control(id).kind) {
        case ControlKind::PushButton:
            dlg.OnCommand(id);
            break;
        case ControlKind::CheckBox:
            ToggleCheckBox(dlg, id);
            break;
        default:
            break;
    }
}

// A button pressed without the mouse (BM_CLICK, an accessibility action) presses and releases
// itself as a click does, so the pre-filter judges it as it judges a click. What cannot be
// pressed (a grey or hidden button, a field) ignores it: nothing reaches the dialog at all.
void Press(CDialog& dlg, int id) {
    const ControlState* live = Live(dlg, id);
    if (live != nullptr &&
        (live->kind == ControlKind::PushButton || live->kind == ControlKind::CheckBox)) {
        Click(dlg, id);
    }
}

void KeyEnter(CDialog& dlg, int id) {
    FocusIfLive(dlg, id);
    if (PreFilterKey(dlg, VK_RETURN) || Stopped(dlg)) {
        return;
    }
    const ControlState* focused = Live(dlg, dlg.GetFocus());
    if (focused != nullptr && focused->kind == ControlKind::PushButton) {
        dlg.OnCommand(focused->id);
        return;
    }
    for (const ControlTemplate& control : dlg.Template().controls) {
        if (control.kind == ControlKind::PushButton && (control.style & BS_DEFPUSHBUTTON) != 0) {
            // A disabled default button makes Enter do nothing, as the dialog manager does.
            if (dlg.HasControl(control.id) && dlg.Control(control.id).enabled) {
                dlg.OnCommand(control.id);
            }
            return;
        }
    }
    dlg.OnCommand(IDOK);
}

void KeySpace(CDialog& dlg, int id) {
    FocusIfLive(dlg, id);
    if (PreFilterKey(dlg, VK_SPACE) || Stopped(dlg)) {
        return;
    }
    const ControlState* focused = Live(dlg, dlg.GetFocus());
    if (focused == nullptr) {
        return;
    }
    if (focused->kind == ControlKind::PushButton) {
        dlg.OnCommand(focused->id);
    } else if (focused->kind == ControlKind::CheckBox) {
        ToggleCheckBox(dlg, focused->id);
    } else if (focused->kind == ControlKind::ListView &&
               (focused->extendedStyle & LVS_EX_CHECKBOXES) != 0) {
        // The list ticks or unticks the box of its focused row, which it selects alone, as
        // the list view does with Space; a list with no focused row does nothing.
        ControlState& list = dlg.Control(focused->id);
        const int row = FocusedRow(list);
        if (row >= 0) {
            list.rows[row].checked = !list.rows[row].checked;
            const bool changed = SelectOnly(list, {row});
            dlg.NotifyChanged(list.id);
            if (changed) {
                dlg.OnUserChange(list.id);
            }
        }
    }
}

void Type(CDialog& dlg, int id, const std::string& text) {
    if (id == 0) {
        id = dlg.GetFocus();
    }
    const ControlState* live = Live(dlg, id);
    if (live == nullptr) {
        return;
    }
    const bool editable = (live->kind == ControlKind::Edit && (live->style & ES_READONLY) == 0) ||
                          live->kind == ControlKind::ComboBox;
    if (!editable) {
        return;
    }
    dlg.SetFocus(id);
    ControlState& state = dlg.Control(id);
    state.text = text;
    // Typing into the closed box's edit field leaves no entry of its list selected, even when
    // the text equals one: the selection and the edit text part until an entry is chosen.
    if (state.kind == ControlKind::ComboBox) {
        state.curSel = -1;
    }
    dlg.NotifyChanged(id);
    dlg.OnUserChange(id);
}

void Choose(CDialog& dlg, int id, const std::string& text) {
    const ControlState* live = Live(dlg, id);
    if (live == nullptr ||
        (live->kind != ControlKind::ComboBox && live->kind != ControlKind::DropDownList)) {
        return;
    }
    const int index = text.empty() ? -1 : detail::FindComboItem(*live, text);
    if (!text.empty() && index < 0) {
        return;  // the box does not offer it
    }
    dlg.SetFocus(id);
    detail::SelectComboItem(dlg.Control(id), index);
    dlg.NotifyChanged(id);
    dlg.OnUserChange(id);
}

ControlState* LiveList(CDialog& dlg, int id) {
    const ControlState* live = Live(dlg, id);
    return live != nullptr && live->kind == ControlKind::ListView ? &dlg.Control(id) : nullptr;
}

void Tick(CDialog& dlg, int id, int row, bool on) {
    ControlState* list = LiveList(dlg, id);
    if (list == nullptr || (list->extendedStyle & LVS_EX_CHECKBOXES) == 0 || row < 0 ||
        row >= static_cast<int>(list->rows.size())) {
        return;
    }
    dlg.SetFocus(id);
    list->rows[row].checked = on;
    dlg.NotifyChanged(id);
}

// The focus goes to `focusRow`, or else to the last row of the selection the list has, as the
// clicks that made the selection leave it; a click on the empty area leaves it where it was.
void Select(CDialog& dlg, int id, const std::vector<int>& rows, int focusRow) {
    ControlState* list = LiveList(dlg, id);
    if (list == nullptr) {
        return;
    }
    dlg.SetFocus(id);
    const bool changed = SelectOnly(*list, rows);
    const int count = static_cast<int>(list->rows.size());
    for (auto row = rows.rbegin(); focusRow < 0 && row != rows.rend(); ++row) {
        focusRow = *row >= 0 && *row < count ? *row : -1;
    }
    FocusRow(*list, focusRow);
    dlg.NotifyChanged(id);
    if (changed) {
        dlg.OnUserChange(id);
    }
}

void DblClick(CDialog& dlg, int id, int row) {
    ControlState* list = LiveList(dlg, id);
    if (list == nullptr) {
        return;
    }
    dlg.SetFocus(id);
    // Below the last row is the empty area, as far as the list is concerned.
    if (row < 0 || row >= static_cast<int>(list->rows.size())) {
        row = -1;
    } else {
        const bool changed = SelectOnly(*list, {row});
        FocusRow(*list, row);
        dlg.NotifyChanged(id);
        if (changed) {
            dlg.OnUserChange(id);
        }
        // The change may have refilled the list or ended the dialog.
        if (Stopped(dlg) || LiveList(dlg, id) == nullptr ||
            row >= static_cast<int>(dlg.Control(id).rows.size())) {
            return;
        }
    }
    dlg.OnNotify(Notify{Notify::DblClick, id, row, -1});
}

void Header(CDialog& dlg, int id, int column) {
    ControlState* list = LiveList(dlg, id);
    if (list == nullptr || column < 0 || column >= static_cast<int>(list->columns.size())) {
        return;
    }
    dlg.OnNotify(Notify{Notify::ColumnClick, id, -1, column});
}

void MinimizeOrRestore(CDialog& dlg, uint32_t command) {
    dlg.OnSysCommand(command);
    if (dlg.IsIconic()) {
        dlg.OnPaint();
    }
}

}  // namespace

namespace detail {

bool PreFilterKey(CDialog& dlg, int key) {
    const int target = dlg.GetFocus();
    return PreFilter(
        dlg, {Message{Message::KeyDown, target, key}, Message{Message::KeyUp, target, key}});
}

}  // namespace detail

void InitDialog(CDialog& dlg) {
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    if (!dlg.OnInitDialog()) {
        return;
    }
    for (const ControlState& control : dlg.Controls()) {
        if (detail::IsTabStop(control.kind) && control.visible && control.enabled) {
            dlg.SetFocus(control.id);
            return;
        }
    }
}

void ServePosted(CDialog& dlg) {
    std::deque<int>& posted = dlg.PostedCommands();
    while (!posted.empty() && !Stopped(dlg)) {
        const int id = posted.front();
        posted.pop_front();
        dlg.OnCommand(id);
    }
}

void DispatchInput(CDialog& dlg, const Input& input) {
    switch (input.kind) {
        case Input::Click:
            Click(dlg, input.id);
            break;
        case Input::Press:
            Press(dlg, input.id);
            break;
        case Input::Release:
            dlg.PreTranslateMessage(Message{Message::LButtonUp, MouseTarget(dlg, input.id), 0});
            break;
        case Input::KeyEnter:
            KeyEnter(dlg, input.id);
            break;
        case Input::KeyEsc:
            if (!PreFilterKey(dlg, VK_ESCAPE) && !Stopped(dlg)) {
                dlg.OnCommand(IDCANCEL);
            }
            break;
        case Input::KeySpace:
            KeySpace(dlg, input.id);
            break;
        case Input::KeyTab:
            detail::KeyTab(dlg, input.id, input.on);
            break;
        case Input::KeyUp:
        case Input::KeyDown:
        case Input::KeyLeft:
        case Input::KeyRight:
        case Input::KeyHome:
        case Input::KeyEnd:
            detail::KeyMove(dlg, input.id, input.kind);
            break;
        case Input::Type:
            Type(dlg, input.id, input.text);
            break;
        case Input::Choose:
            Choose(dlg, input.id, input.text);
            break;
        case Input::Check: {
            const ControlState* box = dlg.HasControl(input.id) ? &dlg.Control(input.id) : nullptr;
            if (box != nullptr && box->kind == ControlKind::CheckBox &&
                (box->check != 0) != input.on) {
                Click(dlg, input.id);
            }
            break;
        }
        case Input::Tick:
            Tick(dlg, input.id, input.row, input.on);
            break;
        case Input::Select:
            Select(dlg, input.id, input.rows, input.row);
            break;
        case Input::DblClick:
            DblClick(dlg, input.id, input.row);
            break;
        case Input::Header:
            Header(dlg, input.id, input.row);
            break;
        case Input::SysMenu: {
            // A grey item of the menu is not there to be chosen.
            const uint32_t command = static_cast<uint32_t>(input.id);
            for (const CDialog::MenuItem& item : dlg.SystemMenu()) {
                if (item.id != 0 && (item.id & 0xFFF0) == (command & 0xFFF0) && !item.enabled)
                    return;
            }
            dlg.OnSysCommand(command);
            break;
        }
        case Input::Close:
            dlg.OnSysCommand(SC_CLOSE);
            break;
        case Input::Minimize:
            MinimizeOrRestore(dlg, SC_MINIMIZE);
            break;
        case Input::Restore:
            MinimizeOrRestore(dlg, SC_RESTORE);
            break;
        case Input::Activate:  // the loop's own: which window the user works in
        case Input::Idle:
            break;
    }
}

}  // namespace ui
