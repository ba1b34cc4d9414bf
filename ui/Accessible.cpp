#include "ui/Accessible.h"

#include "platform/Platform.h"

namespace ui {
namespace {

bool NamedByLabel(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::ComboBox:
        case ControlKind::DropDownList:
        case ControlKind::ListView:
            return true;
        default:
            return false;
    }
}

// The dialog's accessibility looks back through the controls made before this one and stops at
// the first static text, or at a control that starts a new group of tab stops.
int LabelBefore(const DialogTemplate& t, size_t index) {
    constexpr uint32_t kGroupStart = WS_GROUP | WS_TABSTOP;
    for (size_t i = index; i-- > 0;) {
        const ControlTemplate& control = t.controls[i];
        if (control.kind == ControlKind::Static) {
            return static_cast<int>(i);
        }
        if ((control.style & kGroupStart) == kGroupStart) {
            return -1;
        }
    }
    return -1;
}

}  // namespace

bool NeedsAccessibleName(ControlKind kind) {
    return NamedByLabel(kind) || kind == ControlKind::PushButton || kind == ControlKind::CheckBox;
}

std::string WithoutMnemonics(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 >= caption.size()) {
                break;
            }
            ++i;
        }
        out += caption[i];
    }
    return out;
}

int NamingLabel(const DialogTemplate& t, size_t index) {
    if (index >= t.controls.size() || !t.controls[index].accessibleName.empty() ||
        !NamedByLabel(t.controls[index].kind)) {
        return -1;
    }
    return LabelBefore(t, index);
}

std::string AccessibleName(const DialogTemplate& t, size_t index) {
    if (index >= t.controls.size()) {
        return {};
    }
    const ControlTemplate& control = t.controls[index];
    if (!control.accessibleName.empty()) {
        return control.accessibleName;
    }
    if (control.kind == ControlKind::Icon) {
        return {};
    }
    if (!NamedByLabel(control.kind)) {
        return WithoutMnemonics(control.caption);
    }
    const int label = NamingLabel(t, index);
    return label >= 0 ? WithoutMnemonics(t.controls[static_cast<size_t>(label)].caption)
                      : std::string();
}

std::string AccessibleName(const CDialog& dlg, size_t index) {
    const DialogTemplate& t = dlg.Template();
    if (index >= t.controls.size() || index >= dlg.Controls().size()) {
        return {};
    }
    const ControlTemplate& control = t.controls[index];
    if (!control.accessibleName.empty() || NamedByLabel(control.kind) ||
        control.kind == ControlKind::Icon) {
        return AccessibleName(t, index);
    }
    return WithoutMnemonics(platform::AnsiToUtf8(dlg.Controls()[index].text));
}

std::string AccessibleDescription(const DialogTemplate& t, size_t index) {
    return index < t.controls.size() ? t.controls[index].accessibleDescription : std::string();
}

}  // namespace ui
