// `expect` lines: what the program shows, wrote and did.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/Readers.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/World.h"

namespace scenarios {

bool ParseHexText(const std::string& text, std::vector<uint8_t>& bytes);

namespace {

std::string Quote(const std::string& ansi) {
    return "\"" + platform::AnsiToUtf8(ansi) + "\"";
}

class CChecker {
  public:
    CChecker(IScenarioContext& context, const Line& line) : m_c(context), m_line(line) {}

    void Run() {
        m_c.Counted();
        if (m_line.Size() < 2)
            return Fail("expect what?");
        const std::string& what = m_line.Arg(1);
        static const std::map<std::string, void (CChecker::*)()> checks = {
            {"dialog", &CChecker::Dialog},   {"text", &CChecker::Text},
            {"enabled", &CChecker::Enabled}, {"visible", &CChecker::Visible},
            {"checked", &CChecker::Checked}, {"focus", &CChecker::Focus},
            {"items", &CChecker::Items},     {"selected", &CChecker::Selected},
            {"columns", &CChecker::Columns}, {"rows", &CChecker::Rows},
            {"row", &CChecker::Row},         {"width", &CChecker::Width},
            {"top", &CChecker::TopRow},      {"exstyle", &CChecker::ExStyle},
            {"message", &CChecker::Message}, {"no-message", &CChecker::NoMessage},
            {"file", &CChecker::File},       {"records", &CChecker::Records},
            {"builtin", &CChecker::Builtin}, {"record", &CChecker::Record},
            {"log", &CChecker::Log},         {"trace", &CChecker::Trace},
            {"chip", &CChecker::Chip},       {"exit", &CChecker::Exit},
            {"elapsed", &CChecker::Elapsed}, {"no-log", &CChecker::NoLog},
        };
        auto it = checks.find(what);
        if (it == checks.end())
            return Fail("unknown expectation '" + what + "'");
        (this->*it->second)();
    }

  private:
    void Fail(const std::string& what) { m_c.Fail(m_line, what); }

    int64_t Number(size_t index) {
        int64_t value = 0;
        if (index >= m_line.Size() || !ParseNumber(m_line.Arg(index), value)) {
            throw std::runtime_error("expected a number at token " + std::to_string(index + 1));
        }
        return value;
    }

    bool YesNo(size_t index) {
        if (index >= m_line.Size() || (m_line.Arg(index) != "yes" && m_line.Arg(index) != "no")) {
            throw std::runtime_error("expected yes or no");
        }
        return m_line.Arg(index) == "yes";
    }

    ui::CDialog& Top() {
        ui::CDialog* top = m_c.Host().Topmost();
        if (!top)
            throw std::runtime_error("no dialog is open");
        return *top;
    }

    ui::ControlState& Ctl(size_t index) {
        int id = static_cast<int>(Number(index));
        ui::CDialog& dlg = Top();
        if (!dlg.HasControl(id))
            throw std::runtime_error("no control " + std::to_string(id));
        return dlg.Control(id);
    }

    // What the real control shows, on a host with a screen; nullptr on the headless host.
    const ShownControl* Real(size_t index) {
        const int id = static_cast<int>(Number(index));
        if (!m_c.Host().Shown(Top(), id, m_shown))
            return nullptr;
        return &m_shown;
    }
    void FailShown(const std::string& what) { Fail("the window shows " + what); }

    std::string Expected(size_t index) {
        if (index >= m_line.Size())
            throw std::runtime_error("expected a text");
        return platform::Utf8ToAnsi(m_line.Arg(index));
    }

    void Dialog() {
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

    void Text() {
        int id = static_cast<int>(Number(2));
        std::string actual = id == 0 ? Top().GetWindowText() : Ctl(2).text;
        if (actual != Expected(3))
            return Fail("text is " + Quote(actual));
        // A drop-down list has no text of its own: what it shows is its selected item.
        const ShownControl* real = Real(2);
        if (real && real->kind != ui::ControlKind::DropDownList && real->text != Expected(3))
            FailShown(Quote(real->text));
    }

    void Enabled() { Flag(Ctl(2).enabled, "enabled", &ShownControl::enabled); }
    void Visible() { Flag(Ctl(2).visible, "visible", &ShownControl::visible); }
    void Checked() { Flag(Ctl(2).check != 0, "checked", &ShownControl::checked); }
    void Flag(bool actual, const char* name, bool ShownControl::*shown) {
        const bool expected = YesNo(3);
        if (actual != expected)
            return Fail(std::string(name) + " is " + (actual ? "yes" : "no"));
        const ShownControl* real = Real(2);
        if (real && real->*shown != expected)
            FailShown(std::string(name) + " " + (real->*shown ? "yes" : "no"));
    }

    void Focus() {
        int id = static_cast<int>(Number(2));
        if (Top().GetFocus() != id)
            return Fail("focus is on " + std::to_string(Top().GetFocus()));
        int real = 0;
        if (m_c.Host().ShownFocus(Top(), real) && real != id)
            FailShown("the focus on " + std::to_string(real));
    }

    void Items() {
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

    void Selected() {
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

    void Columns() {
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

    void Rows() {
        const ui::ControlState& ctl = Ctl(2);
        int64_t expected = Number(3);
        if (static_cast<int64_t>(ctl.rows.size()) != expected) {
            return Fail("rows: " + std::to_string(ctl.rows.size()));
        }
        const ShownControl* real = Real(2);
        if (real && static_cast<int64_t>(real->rows.size()) != expected)
            FailShown(std::to_string(real->rows.size()) + " rows");
    }

    void Row() {
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
                return Fail("row " + std::to_string(index) + " is " +
                            (row.checked ? "on " : "off ") + Join(actual));
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

    void Width() {
        const ui::ControlState& ctl = Ctl(2);
        int64_t column = Number(3);
        if (column < 0 || column >= static_cast<int64_t>(ctl.columns.size()))
            return Fail("no such column");
        if (ctl.columns[column].width != Number(4)) {
            Fail("width is " + std::to_string(ctl.columns[column].width));
        }
    }

    void ExStyle() {
        const ui::ControlState& ctl = Ctl(2);
        if (ctl.extendedStyle != Number(3)) {
            char text[16];
            std::snprintf(text, sizeof text, "0x%X", ctl.extendedStyle);
            Fail(std::string("extended style is ") + text);
        }
    }

    void TopRow() {
        const ui::ControlState& ctl = Ctl(2);
        if (ctl.topIndex != Number(3))
            Fail("top row is " + std::to_string(ctl.topIndex));
    }

    void Message() {
        const auto& boxes = m_c.Host().MessageBoxes();
        size_t& cursor = m_c.MessageCursor();
        if (cursor >= boxes.size())
            return Fail("no message box was shown");
        const ui::MessageBoxRecord& box = boxes[cursor++];
        if (box.text != Expected(2))
            Fail("message is " + Quote(box.text));
    }

    void NoMessage() {
        const auto& boxes = m_c.Host().MessageBoxes();
        size_t& cursor = m_c.MessageCursor();
        if (cursor < boxes.size()) {
            Fail("message shown: " + Quote(boxes[cursor].text));
            cursor = boxes.size();
        }
    }

    void File() {
        if (m_line.Size() < 4)
            throw std::runtime_error("file takes PATH and a condition");
        std::string path = m_c.FilePath(m_line.Arg(2));
        std::vector<uint8_t> actual;
        bool exists = platform::ReadWholeFile(path, actual);
        const std::string& how = m_line.Arg(3);
        if (how == "absent") {
            if (exists)
                Fail("the file exists");
            return;
        }
        std::vector<uint8_t> expected;
        if (how == "unchanged") {
            const std::vector<uint8_t>* before = m_c.Snapshot(path);
            if (!before) {
                if (exists)
                    Fail("the file did not exist at start");
                return;
            }
            expected = *before;
        } else if (how == "same-as" && m_line.Size() == 5) {
            if (!platform::ReadWholeFile(m_c.HostFile(m_line.Arg(4)), expected)) {
                throw std::runtime_error("cannot read " + m_line.Arg(4));
            }
        } else if (how == "hex" && m_line.Size() == 5) {
            if (!ParseHexText(m_line.Arg(4), expected))
                throw std::runtime_error("bad hex bytes");
        } else {
            throw std::runtime_error("file takes same-as, hex, absent or unchanged");
        }
        if (!exists)
            return Fail("the file does not exist");
        if (actual != expected) {
            size_t at = 0;
            while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
                ++at;
            Fail("the file differs at byte " + std::to_string(at) + " (" +
                 std::to_string(actual.size()) + " bytes, expected " +
                 std::to_string(expected.size()) + ")");
        }
    }

    bool TableFile(size_t index, std::vector<uint8_t>& bytes) {
        if (index >= m_line.Size())
            throw std::runtime_error("expected a PATH");
        if (!platform::ReadWholeFile(m_c.FilePath(m_line.Arg(index)), bytes)) {
            Fail("the file does not exist");
            return false;
        }
        if (bytes.size() < 2 || (bytes.size() - 2) % fmt::kRecordSize != 0) {
            Fail("not a table file (" + std::to_string(bytes.size()) + " bytes)");
            return false;
        }
        return true;
    }

    void Records() {
        std::vector<uint8_t> bytes;
        if (!TableFile(2, bytes))
            return;
        int64_t count = static_cast<int64_t>((bytes.size() - 2) / fmt::kRecordSize);
        if (count != Number(3))
            Fail("records: " + std::to_string(count));
    }

    void Builtin() {
        std::vector<uint8_t> bytes;
        if (!TableFile(2, bytes))
            return;
        int header = bytes[0] | (bytes[1] << 8);
        if (header != Number(3))
            Fail("built-in count is " + std::to_string(header));
    }

    void Record() {
        std::vector<uint8_t> bytes;
        if (!TableFile(2, bytes))
            return;
        int64_t index = Number(3);
        size_t count = (bytes.size() - 2) / fmt::kRecordSize;
        if (index < 0 || static_cast<size_t>(index) >= count)
            return Fail("no record " + std::to_string(index));
        fmt::FormatRecord record = fmt::DecodeRecord(bytes.data() + 2 + index * fmt::kRecordSize);
        for (size_t i = 4; i < m_line.Size(); ++i) {
            const std::string& pair = m_line.Arg(i);
            size_t eq = pair.find('=');
            if (eq == std::string::npos)
                throw std::runtime_error("FIELD=VALUE expected");
            std::string name = pair.substr(0, eq);
            std::string actual;
            if (!ReadRecordField(record, name, actual))
                throw std::runtime_error("unknown field " + name);
            std::string expected =
                name == "Tag" ? pair.substr(eq + 1) : NormaliseFieldValue(pair.substr(eq + 1));
            if (actual != expected)
                Fail(name + " is " + actual);
        }
    }

    void Log() { FindLine(m_c.World().LogLines(), m_c.LogCursor(), "driver log"); }

    // A request that must not have been made since the last one matched (a reload after a
    // write that failed, say).
    void NoLog() {
        const std::vector<std::string> lines = m_c.World().LogLines();
        const std::string expected = Expected(2);
        for (size_t i = m_c.LogCursor(); i < lines.size(); ++i) {
            if (lines[i] == expected)
                return Fail("the driver log has \"" + expected + "\"");
        }
    }

    // The debug output read as lines: split at line ends, with "\r" dropped. A write that ends
    // without a line end ("Edit number is 0") also counts as a line of its own, so it can be
    // expected by itself or together with what follows it on the screen.
    void Trace() {
        size_t plainLines = 0;
        const std::vector<DebugLine> lines =
            SplitDebugOutput(m_c.DebugOutput(), m_c.DebugWriteEnds(), plainLines);
        const std::string expected = Expected(2);
        size_t& cursor = m_c.TraceCursor();
        const DebugLine* found = nullptr;
        for (const DebugLine& line : lines) {
            if (line.begin >= cursor && line.text == expected &&
                (!found || line.begin < found->begin)) {
                found = &line;
            }
        }
        if (found) {
            cursor = found->end;
            return;
        }
        std::string tail;
        size_t shown = 0;
        for (size_t i = 0; i < plainLines && shown < 6; ++i) {
            if (lines[i].begin >= cursor) {
                tail += "\n    " + lines[i].text;
                ++shown;
            }
        }
        Fail("not in the debug output after offset " + std::to_string(cursor) + ":" +
             (tail.empty() ? std::string(" (nothing more)") : tail));
    }

    void FindLine(const std::vector<std::string>& lines, size_t& cursor, const char* where) {
        std::string expected = Expected(2);
        for (size_t i = cursor; i < lines.size(); ++i) {
            if (lines[i] == expected) {
                cursor = i + 1;
                return;
            }
        }
        std::string tail;
        for (size_t i = cursor; i < lines.size() && i < cursor + 6; ++i)
            tail += "\n    " + lines[i];
        Fail(std::string("not in the ") + where + " after line " + std::to_string(cursor) + ":" +
             (tail.empty() ? std::string(" (nothing more)") : tail));
    }

    void Chip() {
        uint8_t value = 0;
        if (!m_c.World().ChipRegister(static_cast<uint32_t>(Number(2)),
                                      static_cast<uint32_t>(Number(3)), value)) {
            return Fail("no such chip register");
        }
        if (value != Number(4)) {
            char text[16];
            std::snprintf(text, sizeof text, "0x%02X", value);
            Fail(std::string("register holds ") + text);
        }
    }

    void Exit() {
        if (!m_c.Ended())
            return Fail("the program is still running");
        if (m_c.ExitCode() != Number(2))
            Fail("exit code is " + std::to_string(m_c.ExitCode()));
    }

    void Elapsed() {
        if (static_cast<int64_t>(m_c.ElapsedMs()) < Number(2)) {
            Fail("elapsed " + std::to_string(m_c.ElapsedMs()) + " ms");
        }
    }

    static std::string Join(const std::vector<std::string>& texts) {
        std::string out;
        for (const std::string& t : texts)
            out += (out.empty() ? "" : " ") + Quote(t);
        return out.empty() ? "none" : out;
    }

    IScenarioContext& m_c;
    const Line& m_line;
    ShownControl m_shown;
};

}  // namespace

void CheckExpectation(IScenarioContext& context, const Line& line) {
    try {
        CChecker(context, line).Run();
    } catch (const std::exception& e) {
        context.Fail(line, e.what());
    }
}

}  // namespace scenarios
