// The checker of `expect` lines, shared by the files that hold its checks: what the windows
// show (Expectations.cpp) and what the program wrote and did (ExpectedEffects.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/World.h"

namespace scenarios {

bool ParseHexText(const std::string& text, std::vector<uint8_t>& bytes);

inline std::string Quote(const std::string& ansi) {
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
            {"dialog", &CChecker::Dialog},
            {"text", &CChecker::Text},
            {"enabled", &CChecker::Enabled},
            {"visible", &CChecker::Visible},
            {"checked", &CChecker::Checked},
            {"focus", &CChecker::Focus},
            {"items", &CChecker::Items},
            {"selected", &CChecker::Selected},
            {"columns", &CChecker::Columns},
            {"rows", &CChecker::Rows},
            {"row", &CChecker::Row},
            {"width", &CChecker::Width},
            {"top", &CChecker::TopRow},
            {"exstyle", &CChecker::ExStyle},
            {"message", &CChecker::Message},
            {"no-message", &CChecker::NoMessage},
            {"question", &CChecker::Question},
            {"file", &CChecker::File},
            {"records", &CChecker::Records},
            {"builtin", &CChecker::Builtin},
            {"record", &CChecker::Record},
            {"log", &CChecker::Log},
            {"trace", &CChecker::Trace},
            {"chip", &CChecker::Chip},
            {"exit", &CChecker::Exit},
            {"elapsed", &CChecker::Elapsed},
            {"no-log", &CChecker::NoLog},
            {"name", &CChecker::Name},
            {"description", &CChecker::Description},
            {"named", &CChecker::Named},
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

    void Dialog();
    void Text();

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

    void Focus();
    void Items();
    void Selected();
    void Columns();
    void Rows();
    void Row();
    void Width();
    void ExStyle();
    void TopRow();
    void Message();
    void Question();
    void NoMessage();
    void File();
    bool TableFile(size_t index, std::vector<uint8_t>& bytes);
    void Records();
    void Builtin();
    void Record();

    void Log() { FindLine(m_c.World().LogLines(), m_c.LogCursor(), "driver log"); }

    // A request that must not have been made since the last one matched (a reload after a
    // write that failed, say).
    void NoLog();

    // The debug output read as lines: split at line ends, with "\r" dropped. A write that ends
    // without a line end ("Edit number is 0") also counts as a line of its own, so it can be
    // expected by itself or together with what follows it on the screen.
    void Trace();
    void FindLine(const std::vector<std::string>& lines, size_t& cursor, const char* where);
    void Chip();
    void Exit();
    void Elapsed();

    // What a screen reader reads (ExpectedNames.cpp).
    void Name();
    void Description();
    void Named();
    void Accessible(bool description);

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

}  // namespace scenarios
