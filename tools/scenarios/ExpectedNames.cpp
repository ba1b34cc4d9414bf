// `expect` lines about what a screen reader reads: a control's name and description, and that
// every control a window shows has a name of its own. On a host with a screen the real control
// must read the same through the host's accessibility.
#include <map>
#include <stdexcept>
#include <utility>

#include "tools/scenarios/Checker.h"
#include "ui/Accessible.h"

namespace scenarios {
namespace {

size_t IndexOf(const ui::CDialog& dlg, int id) {
    for (size_t i = 0; i < dlg.Controls().size(); ++i) {
        if (dlg.Controls()[i].id == id) {
            return i;
        }
    }
    throw std::runtime_error("no control " + std::to_string(id));
}

std::string Said(const std::string& utf8) {
    return "\"" + utf8 + "\"";
}

}  // namespace

void CChecker::Name() {
    Accessible(false);
}

void CChecker::Description() {
    Accessible(true);
}

void CChecker::Accessible(bool description) {
    const int id = static_cast<int>(Number(2));
    if (m_line.Size() < 4) {
        throw std::runtime_error("expected a text");
    }
    const std::string& expected = m_line.Arg(3);
    ui::CDialog& dlg = Top();
    const size_t index = IndexOf(dlg, id);
    const std::string actual = description ? ui::AccessibleDescription(dlg.Template(), index)
                                           : ui::AccessibleName(dlg, index);
    const char* what = description ? "description" : "name";
    if (actual != expected) {
        return Fail(std::string(what) + " is " + Said(actual));
    }
    std::string name, text;
    if (m_c.Host().ShownAccessible(dlg, id, name, text) &&
        (description ? text : name) != expected) {
        FailShown(std::string("the ") + what + " " + Said(description ? text : name));
    }
}

void CChecker::Named() {
    ui::CDialog& dlg = Top();
    std::map<std::pair<std::string, std::string>, int> heard;
    for (size_t i = 0; i < dlg.Controls().size(); ++i) {
        const ui::ControlState& control = dlg.Controls()[i];
        if (!control.visible || !ui::NeedsAccessibleName(control.kind)) {
            continue;
        }
        const std::string id = std::to_string(control.id);
        const std::string name = ui::AccessibleName(dlg, i);
        const std::string description = ui::AccessibleDescription(dlg.Template(), i);
        if (name.empty()) {
            Fail("control " + id + " has no name");
            continue;
        }
        const auto [alike, fresh] = heard.insert({{name, description}, control.id});
        if (!fresh) {
            Fail("controls " + std::to_string(alike->second) + " and " + id + " both read " +
                 Said(name));
        }
        std::string shownName, shownDescription;
        if (m_c.Host().ShownAccessible(dlg, control.id, shownName, shownDescription) &&
            (shownName != name || shownDescription != description)) {
            FailShown("control " + id + " read as " + Said(shownName) +
                      (shownDescription.empty() ? "" : " (" + shownDescription + ")") + ", not " +
                      Said(name));
        }
    }
}

}  // namespace scenarios
