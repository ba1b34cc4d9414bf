// The dialog object: its window state, its controls by id and the framework's default handlers.
#include "ui/Dialog.h"

#include "platform/Platform.h"
#include "ui/ControlRules.h"

namespace ui {

CDialog::CDialog(const DialogTemplate& dialogTemplate, CDialog* parent)
    : m_template(dialogTemplate), m_parent(parent) {}

CDialog::~CDialog() = default;

intptr_t CDialog::DoModal() {
    return Host().RunModal(*this);
}

void CDialog::EndDialog(intptr_t result) {
    m_result = result;
    // A modeless window has no run to end: it closes.
    if (m_modeless) {
        DestroyWindow();
        return;
    }
    m_ended = true;
}

bool CDialog::OnInitDialog() {
    return UpdateData(false);
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnNotify(const Notify&) {
    return false;
}

void CDialog::OnUserChange(int) {}

bool CDialog::PreTranslateMessage(const Message&) {
    return false;
}

void CDialog::OnSysCommand(uint32_t id) {
    // Windows compares system commands without their low four bits, which it uses itself.
    switch (id & 0xFFF0) {
        case SC_CLOSE:
            // Closing the window is the cancel command, as the dialog manager turns WM_CLOSE
            // into IDCANCEL; a dialog that filters its commands sees it there too.
            OnCommand(IDCANCEL);
            break;
        case SC_MINIMIZE:
            SetIconic(true);
            break;
        case SC_RESTORE:
            SetIconic(false);
            break;
        default:
            break;
    }
}

void CDialog::OnPaint() {}

int CDialog::OnQueryDragIcon() {
    return m_bigIcon;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.m_failed;
}

void CDialog::PostCommand(int id) {
    m_posted.push_back(id);
}

void CDialog::SetWindowText(const std::string& title) {
    m_title = title;
    NotifyChanged(0);
}

void CDialog::ModifyStyle(uint32_t remove, uint32_t add) {
    m_style = (m_style & ~remove) | add;
    NotifyChanged(0);
}

void CDialog::SetIcon(int iconId, bool big) {
    (big ? m_bigIcon : m_smallIcon) = iconId;
    NotifyChanged(0);
}

void CDialog::SetIconic(bool iconic) {
    m_iconic = iconic;
    NotifyChanged(0);
}

void CDialog::AppendSystemMenu(uint32_t id, const std::string& text) {
    m_systemMenu.push_back({id, text});
    NotifyChanged(0);
}

void CDialog::EnableSystemMenuItem(uint32_t id, bool enable) {
    for (MenuItem& item : m_systemMenu) {
        if (item.id == id && item.enabled != enable) {
            item.enabled = enable;
            NotifyChanged(0);
        }
    }
}

bool CDialog::IsSystemMenuItemEnabled(uint32_t id) const {
    for (const MenuItem& item : m_systemMenu) {
        if (item.id == id)
            return item.enabled;
    }
    return false;
}

void CDialog::SetFocus(int controlId) {
    m_focus = controlId;
    m_focusByKey = false;
    NotifyChanged(0);
}

void CDialog::SetFocusByKey(int controlId) {
    m_focus = controlId;
    m_focusByKey = true;
    NotifyChanged(0);
}

void CDialog::SetClientSize(int width, int height) {
    m_clientWidth = width;
    m_clientHeight = height;
}

bool CDialog::HasControl(int id) const {
    return m_index.count(id) != 0;
}

ControlState& CDialog::Control(int id) {
    const auto it = m_index.find(id);
    if (it != m_index.end()) {
        return m_controls[it->second];
    }
    // A fresh blank each time, so that nothing written through a wrong id can be read back.
    m_missing = ControlState{};
    m_missing.id = id;
    return m_missing;
}

const ControlState& CDialog::Control(int id) const {
    static const ControlState kNoControl;
    const auto it = m_index.find(id);
    return it != m_index.end() ? m_controls[it->second] : kNoControl;
}

std::string CDialog::GetDlgItemText(int id) const {
    return detail::WindowTextOf(Control(id));
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    CWndItem(this, id).SetWindowText(text);
}

void CDialog::NotifyChanged(int id) {
    // A window that is not on screen, or a control it does not have, has nothing to show.
    if (!m_created || (id != 0 && !HasControl(id))) {
        return;
    }
    Host().Changed(*this, id);
}

void CDialog::Create() {
    m_controls.clear();
    m_index.clear();
    m_posted.clear();
    m_systemMenu.clear();
    m_title = platform::Utf8ToAnsi(m_template.title);
    m_style = m_template.style;
    m_bigIcon = 0;
    m_smallIcon = 0;
    m_iconic = false;
    m_ended = false;
    m_result = 0;
    m_focus = 0;
    m_focusByKey = false;
    m_lastIconDraw = {};
    m_timers.clear();
    m_controls.reserve(m_template.controls.size());
    for (const ControlTemplate& source : m_template.controls) {
        ControlState state;
        state.id = source.id;
        state.kind = source.kind;
        state.style = source.style;
        state.rect = source.rect;
        state.enabled = !source.disabled;
        state.visible = !source.hidden;
        // A drop-down list has no text of its own: its caption is meaningless there.
        if (source.kind != ControlKind::DropDownList) {
            state.text = platform::Utf8ToAnsi(source.caption);
        }
        for (const std::string& item : source.items) {
            state.items.push_back(platform::Utf8ToAnsi(item));
        }
        // Static texts share one id, so they cannot be reached by it; of two controls with the
        // same id the first one answers, as GetDlgItem does.
        if (source.id != IDC_STATIC && m_index.count(source.id) == 0) {
            m_index[source.id] = m_controls.size();
        }
        m_controls.push_back(std::move(state));
    }
    m_created = true;
}

void CDialog::Destroy() {
    m_controls.clear();
    m_index.clear();
    m_posted.clear();
    m_timers.clear();
    m_created = false;
}

}  // namespace ui
