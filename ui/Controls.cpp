// Handles to controls by id: windows in general, buttons and combo boxes.
#include <algorithm>

#include "platform/Platform.h"
#include "ui/ControlRules.h"
#include "ui/Dialog.h"

namespace ui {
namespace detail {

bool IsMouseTransparent(ControlKind kind) {
    return kind == ControlKind::Static || kind == ControlKind::GroupBox ||
           kind == ControlKind::Icon;
}

bool IsTabStop(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::ComboBox:
        case ControlKind::DropDownList:
        case ControlKind::ListView:
            return true;
        default:
            return false;
    }
}

std::string WindowTextOf(const ControlState& state) {
    if (state.kind != ControlKind::DropDownList) {
        return state.text;
    }
    if (state.curSel < 0 || state.curSel >= static_cast<int>(state.items.size())) {
        return "";
    }
    return state.items[state.curSel];
}

int SelectComboItem(ControlState& state, int index) {
    if (index < 0 || index >= static_cast<int>(state.items.size())) {
        state.curSel = -1;
        state.text.clear();
        return -1;
    }
    state.curSel = index;
    state.text = state.kind == ControlKind::ComboBox ? state.items[index] : std::string();
    return index;
}

int FindComboItem(const ControlState& state, const std::string& text) {
    const auto it = std::find(state.items.begin(), state.items.end(), text);
    return it == state.items.end() ? -1 : static_cast<int>(it - state.items.begin());
}

const ControlState* Live(const CDialog& dlg, int id) {
    if (id == 0 || !dlg.HasControl(id)) {
        return nullptr;
    }
    const ControlState& state = dlg.Control(id);
    return state.visible && state.enabled ? &state : nullptr;
}

void FocusIfLive(CDialog& dlg, int id) {
    if (Live(dlg, id) != nullptr) {
        dlg.SetFocus(id);
    }
}

}  // namespace detail

namespace {

// Sorted boxes order their items as the user reads them: by the wide text, ignoring case.
std::u16string SortKey(const std::string& ansiText) {
    std::u16string key = platform::AnsiToWide(ansiText);
    for (char16_t& c : key) {
        const bool asciiUpper = c >= u'A' && c <= u'Z';
        const bool latin1Upper = c >= 0xC0 && c <= 0xDE && c != 0xD7;
        if (asciiUpper || latin1Upper) {
            c = static_cast<char16_t>(c + 0x20);
        }
    }
    return key;
}

}  // namespace

ControlState& CWndItem::State() const {
    if (m_dlg == nullptr) {
        static ControlState detached;
        detached = ControlState{};
        return detached;
    }
    return m_dlg->Control(m_id);
}

void CWndItem::Changed() const {
    if (m_dlg != nullptr) {
        m_dlg->NotifyChanged(m_id);
    }
}

std::string CWndItem::GetWindowText() const {
    return detail::WindowTextOf(State());
}

void CWndItem::SetWindowText(const std::string& text) {
    ControlState& state = State();
    if (state.kind == ControlKind::DropDownList) {
        // A list without an edit field can only show one of its items.
        const int index = detail::FindComboItem(state, text);
        if (index >= 0) {
            detail::SelectComboItem(state, index);
        }
    } else {
        state.text = text;
    }
    Changed();
}

void CWndItem::EnableWindow(bool enable) {
    State().enabled = enable;
    Changed();
}

bool CWndItem::IsWindowEnabled() const {
    return State().enabled;
}

void CWndItem::ShowWindow(bool show) {
    State().visible = show;
    Changed();
}

bool CWndItem::IsWindowVisible() const {
    return State().visible;
}

int CButton::GetCheck() const {
    return State().check;
}

void CButton::SetCheck(int check) {
    State().check = check != 0 ? 1 : 0;
    Changed();
}

void CComboBox::ResetContent() {
    ControlState& state = State();
    state.items.clear();
    state.curSel = -1;
    state.text.clear();
    Changed();
}

int CComboBox::AddString(const std::string& text) {
    ControlState& state = State();
    auto position = state.items.end();
    if ((state.style & CBS_SORT) != 0) {
        const std::u16string key = SortKey(text);
        position = std::upper_bound(
            state.items.begin(), state.items.end(), key,
            [](const std::u16string& k, const std::string& item) { return k < SortKey(item); });
    }
    const int index = static_cast<int>(position - state.items.begin());
    state.items.insert(position, text);
    // The selection stays on its item when a new one is inserted before it.
    if (state.curSel >= index) {
        ++state.curSel;
    }
    Changed();
    return index;
}

int CComboBox::GetCount() const {
    return static_cast<int>(State().items.size());
}

int CComboBox::GetCurSel() const {
    return State().curSel;
}

int CComboBox::SetCurSel(int index) {
    const int selected = detail::SelectComboItem(State(), index);
    Changed();
    return selected;
}

std::string CComboBox::GetLBText(int index) const {
    const ControlState& state = State();
    if (index < 0 || index >= static_cast<int>(state.items.size())) {
        return "";
    }
    return state.items[index];
}

}  // namespace ui
