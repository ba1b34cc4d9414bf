// How the runner reads set-up and input lines: what each verb makes of its arguments, and the
// message a line it cannot read is refused with (the user fixes the scenario from that alone).
#include <stdexcept>
#include <utility>

#include "tools/scenarios/Checks.h"
#include "tools/scenarios/World.h"

#include <gtest/gtest.h>

namespace scenarios {
namespace {

// A context that records what the lines tell it; the rest is never reached by these lines.
class CContext final : public IScenarioContext {
  public:
    void Fail(const Line&, const std::string& what) override { failures.push_back(what); }
    void Skip(const Line&, const std::string& why) override { skips.push_back(why); }
    void Counted() override {}
    IScenarioHost& Host() override { throw std::logic_error("no host"); }
    CWorld& World() override { throw std::logic_error("no world"); }
    bool Ended() const override { return false; }
    int ExitCode() const override { return 0; }
    uint64_t ElapsedMs() const override { return 0; }
    const std::string& DebugOutput() const override { return m_empty; }
    const std::vector<size_t>& DebugWriteEnds() const override { return m_ends; }
    size_t& MessageCursor() override { return m_cursor; }
    size_t& LogCursor() override { return m_cursor; }
    size_t& TraceCursor() override { return m_cursor; }
    std::string HostFile(const std::string& path) const override { return path; }
    std::string FilePath(const std::string& path) const override { return path; }
    const std::vector<uint8_t>* Snapshot(const std::string&) const override { return nullptr; }

    std::vector<std::string> failures;
    std::vector<std::string> skips;

  private:
    std::string m_empty;
    std::vector<size_t> m_ends;
    size_t m_cursor = 0;
};

Line Read(const std::string& text) {
    Script script;
    std::string error;
    EXPECT_TRUE(ParseScript(text + "\n", script, error)) << error;
    return script.lines.empty() ? Line{} : script.lines.front();
}

// The message an input line is refused with; "" when it is read.
std::string InputProblem(const std::string& text, ui::Input* input = nullptr) {
    CContext context;
    ui::Input made;
    const bool read = MakeInput(context, Read(text), made);
    EXPECT_EQ(read, context.failures.empty()) << text;
    if (input != nullptr)
        *input = made;
    return context.failures.empty() ? "" : context.failures.front();
}

std::string SetupProblem(const std::string& text) {
    CContext context;
    CWorld world;
    bool comFails = false;
    std::string error;
    const bool done = ApplySetup(context, Read(text), world, comFails, error);
    EXPECT_EQ(done, error.empty()) << text;
    return error;
}

TEST(InputLines, EachVerbFillsItsInput) {
    ui::Input input;
    EXPECT_EQ(InputProblem("press 0x3F1", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Press);
    EXPECT_EQ(input.id, 0x3F1);
    EXPECT_EQ(InputProblem("key esc 1003", &input), "");
    EXPECT_EQ(input.kind, ui::Input::KeyEsc);
    EXPECT_EQ(input.id, 1003);
    EXPECT_EQ(InputProblem("key enter", &input), "");
    EXPECT_EQ(input.kind, ui::Input::KeyEnter);
    EXPECT_EQ(input.id, 0);
    EXPECT_EQ(InputProblem("key shift+tab", &input), "");
    EXPECT_EQ(input.kind, ui::Input::KeyTab);
    EXPECT_TRUE(input.on);
    EXPECT_EQ(InputProblem("key tab 1018", &input), "");
    EXPECT_FALSE(input.on);
    EXPECT_EQ(input.id, 1018);
    EXPECT_EQ(InputProblem("key end", &input), "");
    EXPECT_EQ(input.kind, ui::Input::KeyEnd);
    // Typing with no control named types into the one with the focus.
    EXPECT_EQ(InputProblem("type \"1920\"", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Type);
    EXPECT_EQ(input.id, 0);
    EXPECT_EQ(input.text, "1920");
    EXPECT_EQ(InputProblem("choose 1054 none", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Choose);
    EXPECT_EQ(input.text, "");
    EXPECT_EQ(InputProblem("choose 1054 \"none\"", &input), "");
    EXPECT_EQ(input.text, "none");
    EXPECT_EQ(InputProblem("tick 1003 2 on", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Tick);
    EXPECT_EQ(input.row, 2);
    EXPECT_TRUE(input.on);
    EXPECT_EQ(InputProblem("select 1003", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Select);
    EXPECT_TRUE(input.rows.empty());
    EXPECT_EQ(InputProblem("select 1003 4 1", &input), "");
    EXPECT_EQ(input.rows, (std::vector<int>{4, 1}));
    EXPECT_EQ(InputProblem("dblclick 1003 empty", &input), "");
    EXPECT_EQ(input.row, -1);
    EXPECT_EQ(InputProblem("header 1003 2", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Header);
    EXPECT_EQ(input.row, 2);
    EXPECT_EQ(InputProblem("restore", &input), "");
    EXPECT_EQ(input.kind, ui::Input::Restore);
}

TEST(InputLines, AreRefusedWithWhatTheVerbTakes) {
    const std::pair<const char*, const char*> cases[] = {
        {"click", "click takes an ID"},
        {"release x", "release takes an ID"},
        {"key", "key takes enter, esc, space, tab, shift+tab, up, down, left, right, home or end"},
        {"key f1", "unknown key 'f1'"},
        {"key space x", "bad ID"},
        {"type 1018", "type takes [ID] \"TEXT\""},
        {"type x \"1\"", "type takes [ID] \"TEXT\""},
        {"choose 1054", "choose takes ID \"ITEM\"|none"},
        {"check 1060 yes", "check takes ID on|off"},
        {"tick 1003 on", "tick takes LIST ROW on|off"},
        {"select", "select takes LIST ROW..."},
        {"select 1003 1 x", "bad row"},
        {"dblclick 1003", "dblclick takes LIST ROW|empty"},
        {"dblclick 1003 x", "bad row"},
        {"header 1003", "header takes LIST COL"},
        {"sysmenu", "sysmenu takes N"},
        {"wave 1", "unknown line 'wave'"},
    };
    for (const auto& [line, message] : cases)
        EXPECT_EQ(InputProblem(line), message) << line;
}

TEST(SetupLines, AreRefusedWithWhatTheVerbTakes) {
    const std::pair<const char*, const char*> cases[] = {
        {"machine arm", "machine takes amd64 or x86"},
        {"codepage koi8", "codepage takes utf-8, windows-1252 or big5"},
        {"device", "device takes a name"},
        {"device \"HD\" usb=1", "unknown device option 'usb=1'"},
        {"file a.bin", "file takes PATH from HOSTFILE or PATH hex \"...\""},
        {"file a.bin hex \"0g\"", "bad hex bytes"},
        {"table a.bin 1920x1080@60", "table takes PATH builtin=B REC..."},
        {"table a.bin builtin=x", "bad built-in count"},
        {"table a.bin builtin=0 1920@60", "bad record '1920@60'"},
        {"chip 0x40 0x16", "chip takes BUS REG VALUE"},
        {"chip 0x40 0x16 256", "chip takes BUS REG VALUE"},
        {"write-fails * before 3", "write-fails takes PATH|* after N"},
        {"link a", "link takes PATH to TARGET"},
        {"link a from b", "link takes PATH to TARGET"},
        {"missing", "missing takes a PATH"},
        {"read-only a b", "read-only takes a PATH"},
        {"start", "unknown set-up line"},
    };
    for (const auto& [line, message] : cases)
        EXPECT_EQ(SetupProblem(line), message) << line;
}

}  // namespace
}  // namespace scenarios
