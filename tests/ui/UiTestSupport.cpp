#include "UiTestSupport.h"

#include <cstdlib>

namespace uitest {

using ui::ControlKind;

namespace {

ui::ControlTemplate Ctl(int id, ControlKind kind, const char* caption, uint32_t style = 0) {
    ui::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.caption = caption;
    c.style = style;
    return c;
}

std::string KindName(ui::Message::Kind kind) {
    switch (kind) {
        case ui::Message::LButtonDown:
            return "down";
        case ui::Message::LButtonUp:
            return "up";
        case ui::Message::KeyDown:
            return "keydown";
        case ui::Message::KeyUp:
            return "keyup";
        default:
            return "other";
    }
}

}  // namespace

ui::DialogTemplate MakeTemplate(bool withDefaultButton) {
    ui::DialogTemplate t;
    t.id = kTemplateId;
    t.title = "Test";
    t.style = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
    ui::ControlTemplate off = Ctl(kOff, ControlKind::PushButton, "Off");
    off.disabled = true;
    ui::ControlTemplate hidden = Ctl(kHidden, ControlKind::Edit, "");
    hidden.hidden = true;
    ui::ControlTemplate mode = Ctl(kMode, ControlKind::DropDownList, "", ui::CBS_DROPDOWNLIST);
    mode.items = {"No", "Yes"};
    t.controls = {
        Ctl(kLabel, ControlKind::Static, "Name:"),
        Ctl(kGroup, ControlKind::GroupBox, "Group"),
        hidden,
        Ctl(kName, ControlKind::Edit, ""),
        Ctl(kStep, ControlKind::Edit, ""),
        Ctl(kReadOnly, ControlKind::Edit, "fixed", ui::ES_READONLY),
        Ctl(kDevice, ControlKind::ComboBox, "", ui::CBS_DROPDOWN | ui::CBS_SORT),
        mode,
        Ctl(kFlag, ControlKind::CheckBox, "Flag", ui::BS_AUTOCHECKBOX),
        Ctl(kList, ControlKind::ListView, "", ui::LVS_REPORT),
        Ctl(kGo, ControlKind::PushButton, "Go"),
        off,
        Ctl(ui::IDOK, ControlKind::PushButton, "OK"),
        Ctl(ui::IDCANCEL, ControlKind::PushButton, "Cancel"),
    };
    if (withDefaultButton) {
        t.controls.push_back(
            Ctl(kDefault, ControlKind::PushButton, "Default", ui::BS_DEFPUSHBUTTON));
    }
    return t;
}

bool CScript::NextInput(ui::CDialog& topmost, ui::Input& input) {
    seenDialogs.push_back(topmost.Template().id);
    if (m_inputs.empty()) {
        return false;
    }
    input = std::move(m_inputs.front());
    m_inputs.pop_front();
    return true;
}

bool CScript::AnswerFileDialog(const ui::FileDialogRequest& request, std::string& path,
                               bool& answered) {
    fileRequests.push_back(request);
    answered = !m_fileAnswers.empty();
    if (!answered) {
        return false;
    }
    const auto [accept, chosen] = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    path = chosen;
    return accept;
}

bool CScript::AnswerQuestion(const ui::MessageBoxRecord&, bool& answered) {
    answered = !m_questionAnswers.empty();
    if (!answered)
        return false;
    const bool yes = m_questionAnswers.front();
    m_questionAnswers.pop_front();
    return yes;
}

ui::Input Click(int id) {
    return Sys(ui::Input::Click, id);
}
ui::Input Release(int id) {
    return Sys(ui::Input::Release, id);
}
ui::Input Press(int id) {
    return Sys(ui::Input::Press, id);
}

ui::Input Key(ui::Input::Kind kind, int id) {
    return Sys(kind, id);
}

ui::Input Type(int id, const std::string& text) {
    ui::Input input = Sys(ui::Input::Type, id);
    input.text = text;
    return input;
}

ui::Input Choose(int id, const std::string& text) {
    ui::Input input = Sys(ui::Input::Choose, id);
    input.text = text;
    return input;
}

ui::Input Check(int id, bool on) {
    ui::Input input = Sys(ui::Input::Check, id);
    input.on = on;
    return input;
}

ui::Input ListInput(ui::Input::Kind kind, int id, int row, bool on) {
    ui::Input input = Sys(kind, id);
    input.row = row;
    input.on = on;
    return input;
}

ui::Input Select(int id, std::vector<int> rows) {
    ui::Input input = Sys(ui::Input::Select, id);
    input.rows = std::move(rows);
    return input;
}

ui::Input Sys(ui::Input::Kind kind, int id) {
    ui::Input input;
    input.kind = kind;
    input.id = id;
    return input;
}

bool CTestDialog::OnInitDialog() {
    const bool focusFirst = CDialog::OnInitDialog();
    log.push_back("init");
    for (int id : postAtInit) {
        PostCommand(id);
    }
    return focusFirst;
}

void CTestDialog::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Text(dx, kStep, m_step);
    if (dx.m_bSaveAndValidate) {
        ui::DDV_MinMaxInt(dx, std::atoi(m_step.c_str()), 0, 511);
    }
    ui::DDX_Check(dx, kFlag, m_flag);
}

bool CTestDialog::OnCommand(int id) {
    log.push_back("cmd:" + std::to_string(id));
    if (onCommand && onCommand(id)) {
        return true;
    }
    return CDialog::OnCommand(id);
}

bool CTestDialog::OnNotify(const ui::Notify& notify) {
    const bool dbl = notify.code == ui::Notify::DblClick;
    log.push_back(std::string(dbl ? "dblclick:" : "column:") + std::to_string(notify.controlId) +
                  ":" + std::to_string(dbl ? notify.item : notify.subItem));
    return true;
}

void CTestDialog::OnUserChange(int id) {
    if (logChanges) {
        log.push_back("change:" + std::to_string(id));
    }
}

bool CTestDialog::PreTranslateMessage(const ui::Message& message) {
    std::string entry = "pre:" + KindName(message.kind) + ":" + std::to_string(message.targetId);
    if (message.key != 0) {
        entry += ":" + std::to_string(message.key);
    }
    log.push_back(entry);
    if (message.kind == ui::Message::LButtonUp) {
        focusAtRelease = GetFocus();
        if (focusOnRelease != 0) {
            SetFocus(focusOnRelease);
        }
    }
    if (message.kind == ui::Message::LButtonUp && message.targetId == eatReleaseOn) {
        return true;
    }
    return CDialog::PreTranslateMessage(message);
}

void CTestDialog::OnSysCommand(uint32_t id) {
    log.push_back("sys:" + std::to_string(id));
    CDialog::OnSysCommand(id);
}

void CTestDialog::OnTimer(int id) {
    log.push_back("timer:" + std::to_string(id));
}

void CTestDialog::OnEnable(bool enabled) {
    if (logEnable) {
        log.push_back(enabled ? "enable:1" : "enable:0");
    }
}

void CTestDialog::OnDestroy() {
    log.push_back("destroy");
}

void CTestDialog::OnPaint() {
    log.push_back(IsIconic() ? "paint:iconic" : "paint");
}

void UiTest::SetUp() {
    ui::ResetQuit();
    ui::SetHost(&m_host);
    platform::SetAnsiCodePage(platform::CodePage::Utf8);
}

void UiTest::TearDown() {
    ui::SetHost(nullptr);
    ui::ResetQuit();
    platform::SetAnsiCodePage(platform::CodePage::Utf8);
}

}  // namespace uitest
