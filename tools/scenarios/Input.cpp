// Input lines of a scenario: a table of verbs, each with its kind of input and the function
// that fills the rest in from the line's arguments.
#include "platform/Platform.h"
#include "tools/scenarios/Checks.h"

namespace scenarios {
namespace {

bool ParseId(const Line& line, size_t index, int& id) {
    int64_t value;
    if (index >= line.Size() || !ParseNumber(line.Arg(index), value))
        return false;
    id = static_cast<int>(value);
    return true;
}

// What one input line has to work with, and what is wrong with it when it cannot be read.
struct InputCall {
    const Line& line;
    ui::Input& input;
    std::string problem;

    bool Refuse(const std::string& what) {
        problem = what;
        return false;
    }
    bool Id(size_t index, int& id) const { return ParseId(line, index, id); }
    bool OnOff(size_t index, bool& on) const {
        if (index >= line.Size() || (line.Arg(index) != "on" && line.Arg(index) != "off"))
            return false;
        on = line.Arg(index) == "on";
        return true;
    }
};

bool TakeId(InputCall& call) {
    return call.Id(1, call.input.id) || call.Refuse(call.line.Verb() + " takes an ID");
}

bool TakeNothing(InputCall&) {
    return true;
}

struct KeyName {
    const char* name;
    ui::Input::Kind kind;
    bool shift;
};

constexpr KeyName kKeys[] = {
    {"enter", ui::Input::KeyEnter, false},  {"esc", ui::Input::KeyEsc, false},
    {"space", ui::Input::KeySpace, false},  {"tab", ui::Input::KeyTab, false},
    {"shift+tab", ui::Input::KeyTab, true}, {"up", ui::Input::KeyUp, false},
    {"down", ui::Input::KeyDown, false},    {"left", ui::Input::KeyLeft, false},
    {"right", ui::Input::KeyRight, false},  {"home", ui::Input::KeyHome, false},
    {"end", ui::Input::KeyEnd, false},
};

// "key KEY [ID]": the key is part of the kind (Shift+Tab is Tab with `on`).
bool TakeKey(InputCall& call) {
    const Line& line = call.line;
    if (line.Size() < 2)
        return call.Refuse(
            "key takes enter, esc, space, tab, shift+tab, up, down, left, right, "
            "home or end");
    const std::string& key = line.Arg(1);
    const KeyName* found = nullptr;
    for (const KeyName& k : kKeys) {
        if (key == k.name)
            found = &k;
    }
    if (found == nullptr)
        return call.Refuse("unknown key '" + key + "'");
    call.input.kind = found->kind;
    call.input.on = found->shift;
    if (line.Size() > 2 && !call.Id(2, call.input.id))
        return call.Refuse("bad ID");
    return true;
}

// "type ID \"TEXT\"", or "type \"TEXT\"" into the control that has the focus (ID 0).
bool TakeText(InputCall& call) {
    const size_t size = call.line.Size();
    if ((size != 3 || !call.Id(1, call.input.id)) && (size != 2 || !call.line.tokens[1].quoted))
        return call.Refuse("type takes [ID] \"TEXT\"");
    call.input.text = platform::Utf8ToAnsi(call.line.Arg(size - 1));
    return true;
}

bool TakeItem(InputCall& call) {
    const Line& line = call.line;
    if (line.Size() != 3 || !call.Id(1, call.input.id))
        return call.Refuse("choose takes ID \"ITEM\"|none");
    call.input.text =
        (!line.tokens[2].quoted && line.Arg(2) == "none") ? "" : platform::Utf8ToAnsi(line.Arg(2));
    return true;
}

bool TakeCheck(InputCall& call) {
    if (!call.Id(1, call.input.id) || !call.OnOff(2, call.input.on))
        return call.Refuse("check takes ID on|off");
    return true;
}

bool TakeTick(InputCall& call) {
    ui::Input& input = call.input;
    if (!call.Id(1, input.id) || !call.Id(2, input.row) || !call.OnOff(3, input.on))
        return call.Refuse("tick takes LIST ROW on|off");
    return true;
}

bool TakeRows(InputCall& call) {
    if (!call.Id(1, call.input.id))
        return call.Refuse("select takes LIST ROW...");
    for (size_t i = 2; i < call.line.Size(); ++i) {
        int row;
        if (!call.Id(i, row))
            return call.Refuse("bad row");
        call.input.rows.push_back(row);
    }
    return true;
}

bool TakeRowOrEmpty(InputCall& call) {
    ui::Input& input = call.input;
    if (!call.Id(1, input.id) || call.line.Size() != 3)
        return call.Refuse("dblclick takes LIST ROW|empty");
    if (call.line.Arg(2) == "empty") {
        input.row = -1;
    } else if (!call.Id(2, input.row)) {
        return call.Refuse("bad row");
    }
    return true;
}

bool TakeColumn(InputCall& call) {
    if (!call.Id(1, call.input.id) || !call.Id(2, call.input.row))
        return call.Refuse("header takes LIST COL");
    return true;
}

bool TakeCommand(InputCall& call) {
    return call.Id(1, call.input.id) || call.Refuse("sysmenu takes N");
}

// "wait MS": the user does nothing for that long; the runner moves the clock.
bool TakeDuration(InputCall& call) {
    int64_t ms = 0;
    if (call.line.Size() != 2 || !ParseNumber(call.line.Arg(1), ms) || ms < 0 || ms > 3600000)
        return call.Refuse("wait takes MS, 0 to 3600000");
    call.input.row = static_cast<int>(ms);
    return true;
}

bool TakeWindow(InputCall& call) {
    return (call.line.Size() == 2 && call.Id(1, call.input.id)) ||
           call.Refuse("window takes a template ID");
}

struct InputVerb {
    const char* verb;
    ui::Input::Kind kind;
    bool (*take)(InputCall&);
};

constexpr InputVerb kInputVerbs[] = {
    {"click", ui::Input::Click, TakeId},          {"release", ui::Input::Release, TakeId},
    {"press", ui::Input::Press, TakeId},          {"key", ui::Input::KeyEnter, TakeKey},
    {"type", ui::Input::Type, TakeText},          {"choose", ui::Input::Choose, TakeItem},
    {"check", ui::Input::Check, TakeCheck},       {"tick", ui::Input::Tick, TakeTick},
    {"select", ui::Input::Select, TakeRows},      {"dblclick", ui::Input::DblClick, TakeRowOrEmpty},
    {"header", ui::Input::Header, TakeColumn},    {"sysmenu", ui::Input::SysMenu, TakeCommand},
    {"close", ui::Input::Close, TakeNothing},     {"minimize", ui::Input::Minimize, TakeNothing},
    {"restore", ui::Input::Restore, TakeNothing}, {"wait", ui::Input::Idle, TakeDuration},
    {"window", ui::Input::Activate, TakeWindow},
};

}  // namespace

bool MakeInput(IScenarioContext& context, const Line& line, ui::Input& input) {
    input = ui::Input{};
    for (const InputVerb& entry : kInputVerbs) {
        if (line.Verb() != entry.verb)
            continue;
        input.kind = entry.kind;
        InputCall call{line, input, {}};
        if (entry.take(call))
            return true;
        context.Fail(line, call.problem);
        return false;
    }
    context.Fail(line, "unknown line '" + line.Verb() + "'");
    return false;
}

}  // namespace scenarios
