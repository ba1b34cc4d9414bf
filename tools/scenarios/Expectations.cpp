// `expect` lines: what the program shows.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "tools/scenarios/Checker.h"
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/Readers.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/World.h"

namespace scenarios {

void CChecker::Dialog() {
    if (m_line.Size() == 3 && m_line.Arg(2) == "none") {
        if (ui::CDialog* top = m_c.Host().Topmost()) {
            Fail("dialog " + std::to_string(top->Template().id) + " is open");
        }
        return;
    }
    int expected = static_cast<int>(Number(2));
    ui::CDialog* top = m_c.Host().Topmost();
    if (!top)
        return Fail("no dialog is open");
    if (top->Template().id != expected)
        Fail("dialog is " + std::to_string(top->Template().id));
}

void CChecker::Text() {
    int id = static_cast<int>(Number(2));
    std::string actual = id == 0 ? Top().GetWindowText() : Ctl(2).text;
    if (actual != Expected(3))
        return Fail("text is " + Quote(actual));
    // A drop-down list has no text of its own: what it shows is its selected item.
    const ShownControl* real = Real(2);
    if (real && real->kind != ui::ControlKind::DropDownList && real->text != Expected(3))
        FailShown(Quote(real->text));
}

void CChecker::Focus() {
    int id = static_cast<int>(Number(2));
    if (Top().GetFocus() != id)
        return Fail("focus is on " + std::to_string(Top().GetFocus()));
    int real = 0;
    if (m_c.Host().ShownFocus(Top(), real) && real != id)
        FailShown("the focus on " + std::to_string(real));
}

void CChecker::Items() {
    const ui::ControlState& ctl = Ctl(2);
    std::vector<std::string> expected;
    for (size_t i = 3; i < m_line.Size(); ++i)
        expected.push_back(Expected(i));
    if (ctl.items != expected)
        return Fail("items are " + Join(ctl.items));
    const ShownControl* real = Real(2);
    if (real && real->items != expected)
        FailShown("the items " + Join(real->items));
}

void CChecker::Selected() {
    const ui::ControlState& ctl = Ctl(2);
    bool none = m_line.Size() == 4 && !m_line.tokens[3].quoted && m_line.Arg(3) == "none";
    std::string actual;
    bool any = false;
    if (ctl.kind == ui::ControlKind::ListView) {
        for (const ui::ListRow& row : ctl.rows) {
            if (row.state & ui::LVIS_SELECTED) {
                actual = row.texts.empty() ? "" : row.texts[0];
                any = true;
                break;
            }
        }
    } else if (ctl.curSel >= 0 && ctl.curSel < static_cast<int>(ctl.items.size())) {
        actual = ctl.items[ctl.curSel];
        any = true;
    }
    if (none) {
        if (any)
            return Fail("selected is " + Quote(actual));
    } else if (!any) {
        return Fail("nothing is selected");
    } else if (actual != Expected(3)) {
        return Fail("selected is " + Quote(actual));
    }
    const ShownControl* real = Real(2);
    if (!real)
        return;
    std::string shown;
    bool shownAny = false;
    if (real->kind == ui::ControlKind::ListView) {
        for (const ShownRow& row : real->rows) {
            if (row.selected) {
                shown = row.texts.empty() ? "" : row.texts[0];
                shownAny = true;
                break;
            }
        }
    } else if (real->curSel >= 0 && real->curSel < static_cast<int>(real->items.size())) {
        shown = real->items[real->curSel];
        shownAny = true;
    }
    if (shownAny != any || (any && shown != actual))
        FailShown(shownAny ? "selected " + Quote(shown) : std::string("nothing selected"));
}

void CChecker::Columns() {
    const ui::ControlState& ctl = Ctl(2);
    std::vector<std::string> actual, expected;
    for (const ui::ListColumn& column : ctl.columns)
        actual.push_back(column.title);
    bool none = m_line.Size() == 4 && !m_line.tokens[3].quoted && m_line.Arg(3) == "none";
    for (size_t i = 3; i < m_line.Size() && !none; ++i)
        expected.push_back(Expected(i));
    if (actual != expected)
        return Fail("columns are " + Join(actual));
    const ShownControl* real = Real(2);
    if (real && real->columns != expected)
        FailShown("the columns " + Join(real->columns));
}

void CChecker::Rows() {
    const ui::ControlState& ctl = Ctl(2);
    int64_t expected = Number(3);
    if (static_cast<int64_t>(ctl.rows.size()) != expected) {
        return Fail("rows: " + std::to_string(ctl.rows.size()));
    }
    const ShownControl* real = Real(2);
    if (real && static_cast<int64_t>(real->rows.size()) != expected)
        FailShown(std::to_string(real->rows.size()) + " rows");
}

void CChecker::Row() {
    const ui::ControlState& ctl = Ctl(2);
    int64_t index = Number(3);
    if (index < 0 || index >= static_cast<int64_t>(ctl.rows.size())) {
        return Fail("no row " + std::to_string(index));
    }
    const ui::ListRow& row = ctl.rows[index];
    if (m_line.Size() < 5 || (m_line.Arg(4) != "on" && m_line.Arg(4) != "off")) {
        throw std::runtime_error("row takes LIST ROW on|off texts");
    }
    bool on = m_line.Arg(4) == "on";
    std::vector<std::string> actual;
    for (size_t i = 5; i < m_line.Size(); ++i) {
        size_t column = i - 5;
        actual.push_back(column < row.texts.size() ? row.texts[column] : "");
        if (actual.back() != Expected(i)) {
            return Fail("row " + std::to_string(index) + " is " + (row.checked ? "on " : "off ") +
                        Join(actual));
        }
    }
    if (row.checked != on)
        return Fail("row " + std::to_string(index) + " is " + (row.checked ? "on" : "off"));
    const ShownControl* real = Real(2);
    if (!real)
        return;
    if (index >= static_cast<int64_t>(real->rows.size()))
        return FailShown("no row " + std::to_string(index));
    const ShownRow& shown = real->rows[index];
    std::vector<std::string> texts;
    for (size_t i = 5; i < m_line.Size(); ++i) {
        size_t column = i - 5;
        texts.push_back(column < shown.texts.size() ? shown.texts[column] : "");
    }
    if (texts != actual || shown.checked != on) {
        FailShown("row " + std::to_string(index) + " " + (shown.checked ? "on " : "off ") +
                  Join(texts));
    }
}

void CChecker::Width() {
    const ui::ControlState& ctl = Ctl(2);
    int64_t column = Number(3);
    if (column < 0 || column >= static_cast<int64_t>(ctl.columns.size()))
        return Fail("no such column");
    if (ctl.columns[column].width != Number(4)) {
        Fail("width is " + std::to_string(ctl.columns[column].width));
    }
}

void CChecker::ExStyle() {
    const ui::ControlState& ctl = Ctl(2);
    if (ctl.extendedStyle != Number(3)) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", ctl.extendedStyle);
        Fail(std::string("extended style is ") + text);
    }
}

void CChecker::TopRow() {
    const ui::ControlState& ctl = Ctl(2);
    if (ctl.topIndex != Number(3))
        Fail("top row is " + std::to_string(ctl.topIndex));
}

void CChecker::Message() {
    const auto& boxes = m_c.Host().MessageBoxes();
    size_t& cursor = m_c.MessageCursor();
    if (cursor >= boxes.size())
        return Fail("no message box was shown");
    const ui::MessageBoxRecord& box = boxes[cursor++];
    if (ui::IsQuestion(box.type))
        return Fail("a question was shown: " + Quote(box.text));
    if (box.text != Expected(2))
        Fail("message is " + Quote(box.text));
}

// "expect question "T" [yes|no]": the next box was a question of that text, answered so.
void CChecker::Question() {
    const auto& boxes = m_c.Host().MessageBoxes();
    size_t& cursor = m_c.MessageCursor();
    if (cursor >= boxes.size())
        return Fail("no question was shown");
    const ui::MessageBoxRecord& box = boxes[cursor++];
    if (!ui::IsQuestion(box.type))
        return Fail("a message was shown: " + Quote(box.text));
    if (box.text != Expected(2))
        return Fail("question is " + Quote(box.text));
    if (m_line.Size() > 3) {
        const std::string& answer = m_line.Arg(3);
        if (answer != "yes" && answer != "no")
            return Fail("question takes \"T\" [yes|no]");
        if ((box.answer == ui::IDYES) != (answer == "yes"))
            Fail(std::string("the answer was ") + (box.answer == ui::IDYES ? "yes" : "no"));
    }
}

void CChecker::NoMessage() {
    const auto& boxes = m_c.Host().MessageBoxes();
    size_t& cursor = m_c.MessageCursor();
    if (cursor < boxes.size()) {
        Fail("message shown: " + Quote(boxes[cursor].text));
        cursor = boxes.size();
    }
}

void CheckExpectation(IScenarioContext& context, const Line& line) {
    try {
        CChecker(context, line).Run();
    } catch (const std::exception& e) {
        context.Fail(line, e.what());
    }
}

}  // namespace scenarios
