// What Tab and the arrow keys do, on every host: the dialog manager's moves of the focus, and
// what a closed drop-down list and a list do with the arrows. The real hosts leave to their
// native controls what those already do as Windows does (a list's arrows on Windows), and hand
// the rest to these, so the focus the dialog keeps is always the one on screen.
#include <algorithm>

#include "ui/ControlRules.h"
#include "ui/Dialog.h"
#include "ui/HostLoop.h"

namespace ui::detail {
namespace {

// Takes the focus from the keyboard: the dialog manager moves it only to a control that shows,
// is enabled and can hold it.
bool TakesFocus(const ControlState& control) {
    return control.visible && control.enabled && IsTabStop(control.kind);
}

int IndexOf(const CDialog& dlg, int id) {
    const std::vector<ControlState>& controls = dlg.Controls();
    for (size_t i = 0; id != 0 && i < controls.size(); ++i) {
        if (controls[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The next control of [first, last) after `from` (before it, backwards) that `fits`, round the
// range; -1 when none does. From outside the range the first (or last) that fits.
template <class Fits>
int NextIn(const CDialog& dlg, int first, int last, int from, bool backwards, Fits fits) {
    const int count = last - first;
    if (count <= 0) {
        return -1;
    }
    int at = from >= first && from < last ? from - first : (backwards ? 0 : count - 1);
    for (int step = 0; step < count; ++step) {
        at = backwards ? (at + count - 1) % count : (at + 1) % count;
        const ControlState& control = dlg.Controls()[static_cast<size_t>(first + at)];
        if (fits(control)) {
            return control.id;
        }
    }
    return -1;
}

// Arrows on a button or check box go to the next control of its group (the controls from one
// with WS_GROUP up to the next one with it; the whole window when none has it), round the group.
void MoveInGroup(CDialog& dlg, bool backwards) {
    const std::vector<ControlState>& controls = dlg.Controls();
    const int at = IndexOf(dlg, dlg.GetFocus());
    if (at < 0) {
        return;
    }
    int first = at;
    while (first > 0 && (controls[static_cast<size_t>(first)].style & WS_GROUP) == 0) {
        --first;
    }
    int last = at + 1;
    while (last < static_cast<int>(controls.size()) &&
           (controls[static_cast<size_t>(last)].style & WS_GROUP) == 0) {
        ++last;
    }
    const int next = NextIn(dlg, first, last, at, backwards, TakesFocus);
    if (next > 0) {
        dlg.SetFocusByKey(next);
    }
}

// A closed drop-down list steps through its items with all four arrows, Home and End; a box one
// can type into only with Up and Down, the others moving the caret in its text.
void MoveInCombo(CDialog& dlg, ControlState& box, Input::Kind key) {
    const int count = static_cast<int>(box.items.size());
    const bool typable = box.kind == ControlKind::ComboBox;
    const int at = box.curSel;
    int to = at;
    switch (key) {
        case Input::KeyUp:
            to = at > 0 ? at - 1 : at;
            break;
        case Input::KeyDown:
            to = at + 1 < count ? at + 1 : at;
            break;
        case Input::KeyLeft:
            to = typable ? at : (at > 0 ? at - 1 : at);
            break;
        case Input::KeyRight:
            to = typable ? at : (at + 1 < count ? at + 1 : at);
            break;
        case Input::KeyHome:
            to = typable ? at : 0;
            break;
        case Input::KeyEnd:
            to = typable ? at : count - 1;
            break;
        default:
            break;
    }
    if (count == 0 || to == at || to < 0) {
        return;
    }
    SelectComboItem(box, to);
    dlg.NotifyChanged(box.id);
    dlg.OnUserChange(box.id);
}

// A list moves its focused row, and selects it alone, with Up, Down, Home and End; the first
// Down goes to the first row. The list scrolls to keep that row in view.
void MoveInList(CDialog& dlg, ControlState& list, Input::Kind key) {
    const int count = static_cast<int>(list.rows.size());
    const int at = FocusedRow(list);
    int to = -1;
    switch (key) {
        case Input::KeyUp:
            to = at > 0 ? at - 1 : 0;
            break;
        case Input::KeyDown:
            to = at < 0 ? 0 : (at + 1 < count ? at + 1 : at);
            break;
        case Input::KeyHome:
            to = 0;
            break;
        case Input::KeyEnd:
            to = count - 1;
            break;
        default:
            return;
    }
    if (count == 0) {
        return;
    }
    const bool changed = SelectOnly(list, {to});
    FocusRow(list, to);
    const int page = std::max(1, Host().ListPageRows(dlg, list.id));
    if (to < list.topIndex) {
        list.topIndex = to;
    } else if (to >= list.topIndex + page) {
        list.topIndex = to - page + 1;
    }
    dlg.NotifyChanged(list.id);
    if (changed) {
        dlg.OnUserChange(list.id);
    }
}

int KeyCode(Input::Kind key) {
    switch (key) {
        case Input::KeyUp:
            return VK_UP;
        case Input::KeyDown:
            return VK_DOWN;
        case Input::KeyLeft:
            return VK_LEFT;
        case Input::KeyRight:
            return VK_RIGHT;
        case Input::KeyHome:
            return VK_HOME;
        default:
            return VK_END;
    }
}

}  // namespace

void KeyTab(CDialog& dlg, int id, bool backwards) {
    FocusIfLive(dlg, id);
    if (PreFilterKey(dlg, VK_TAB) || Stopped(dlg)) {
        return;
    }
    const int next = NextIn(
        dlg, 0, static_cast<int>(dlg.Controls().size()), IndexOf(dlg, dlg.GetFocus()), backwards,
        [](const ControlState& c) { return TakesFocus(c) && (c.style & WS_TABSTOP) != 0; });
    if (next > 0) {
        dlg.SetFocusByKey(next);
    }
}

void KeyMove(CDialog& dlg, int id, Input::Kind key) {
    FocusIfLive(dlg, id);
    if (PreFilterKey(dlg, KeyCode(key)) || Stopped(dlg)) {
        return;
    }
    const ControlState* focused = Live(dlg, dlg.GetFocus());
    if (focused == nullptr) {
        return;
    }
    ControlState& control = dlg.Control(focused->id);
    switch (control.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
            if (key != Input::KeyHome && key != Input::KeyEnd) {
                MoveInGroup(dlg, key == Input::KeyUp || key == Input::KeyLeft);
            }
            break;
        case ControlKind::ComboBox:
        case ControlKind::DropDownList:
            MoveInCombo(dlg, control, key);
            break;
        case ControlKind::ListView:
            MoveInList(dlg, control, key);
            break;
        default:
            break;  // an edit moves its caret
    }
}

}  // namespace ui::detail
