// The host a scenario runs on, as the runner drives and reads it. The same scenario file runs on
// every host; a host with a screen also answers what its real controls show, so that an
// expectation holds only when the dialog's state and the screen agree.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/scenarios/Script.h"
#include "ui/Dialog.h"
#include "ui/HostRecords.h"
#include "ui/headless/HeadlessHost.h"

namespace scenarios {

class IDeviceServer;

struct ShownRow {
    std::vector<std::string> texts;  // ANSI
    bool checked = false;
    bool selected = false;
};

// What a real control shows, in the dialog layer's terms (texts in the ANSI code page).
struct ShownControl {
    ui::ControlKind kind = ui::ControlKind::Static;
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    std::vector<std::string> items;
    int curSel = -1;
    std::vector<std::string> columns;
    std::vector<ShownRow> rows;
};

// How long one line may keep the program from coming back for the next: longer than any
// action of the program takes on a slow machine, well short of a test's own time limit.
// VZ_SCENARIO_LINE_LIMIT_MS sets another (the runner's own test of the limit).
inline unsigned LineLimitMs() {
    const char* set = std::getenv("VZ_SCENARIO_LINE_LIMIT_MS");
    const long ms = set != nullptr ? std::strtol(set, nullptr, 10) : 0;
    return ms > 0 ? static_cast<unsigned>(ms) : 20000u;
}

// What a host plays a story from: the user's actions and the answers to file dialogs.
class IScenarioActions : public ui::IInputSource {
  public:
    // The line last handed out has not finished within LineLimitMs() (the system waits for
    // something the story does not give): the story fails there and hands out nothing more.
    virtual void LineTimedOut() = 0;
    // "FILE:LINE: ..." telling that the line last handed out did not finish, for a host that
    // cannot get the program back and must end the runner.
    virtual std::string TimedOutLine() const = 0;
};

class IScenarioHost {
  public:
    virtual ~IScenarioHost() = default;
    virtual const char* Name() const = 0;
    // Why this host cannot run the line; empty when it can.
    virtual std::string Cannot(const Line& line) const = 0;
    // Runs `program` with this host installed; its modal loops take the user's actions and the
    // file dialogs' answers from `actions`. Returns the program's exit code.
    virtual int Run(IScenarioActions& actions, const std::function<int()>& program) = 0;
    virtual ui::CDialog* Topmost() const = 0;
    virtual const std::vector<ui::MessageBoxRecord>& MessageBoxes() const = 0;
    // What the real control `id` of `dlg` shows; false on a host without a screen.
    virtual bool Shown(const ui::CDialog& dlg, int id, ShownControl& shown) {
        (void)dlg;
        (void)id;
        (void)shown;
        return false;
    }
    // What a screen reader reads of the real control `id` through the host's accessibility
    // (UTF-8); false on a host without a screen.
    virtual bool ShownAccessible(const ui::CDialog& dlg, int id, std::string& name,
                                 std::string& description) {
        (void)dlg;
        (void)id;
        (void)name;
        (void)description;
        return false;
    }
    // The control the real window has the keyboard focus on; false without a screen.
    virtual bool ShownFocus(const ui::CDialog& dlg, int& id) {
        (void)dlg;
        (void)id;
        return false;
    }
    // Saves a picture of the topmost window to `path` (PNG), or of the next message box when
    // `nextBox`; false (with nothing written) on a host without a screen.
    virtual bool Shoot(const std::string& path, bool nextBox) {
        (void)path;
        (void)nextBox;
        return false;
    }
    // What the host saw go wrong on its own (a real box showing another text than asked):
    // each is a failure of the scenario.
    virtual std::vector<std::string> TakeProblems() { return {}; }
    // Why the host could not play the story to its end, found only while playing it (a real
    // file dialog opens a folder it is given rather than choosing it); empty when it could.
    virtual std::string TakeSkipReason() { return {}; }
    // Who serves the scenario's devices on this host; nullptr: the simulated backend.
    virtual IDeviceServer* DeviceServer() { return nullptr; }
};

// A real file dialog opens a folder that is typed into it, where the headless host hands the
// folder's path to the program: such an answer cannot be played on a host with a screen.
inline bool AnswerIsAFolder(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

// The host without a screen: the dialog layer's state is all there is.
class CHeadlessScenarioHost final : public IScenarioHost {
  public:
    const char* Name() const override { return "headless"; }
    std::string Cannot(const Line&) const override { return {}; }
    int Run(IScenarioActions& actions, const std::function<int()>& program) override {
        m_host.SetInputSource(&actions);
        ui::SetHost(&m_host);
        return program();
    }
    ui::CDialog* Topmost() const override { return m_host.Topmost(); }
    const std::vector<ui::MessageBoxRecord>& MessageBoxes() const override {
        return m_host.MessageBoxes();
    }

  private:
    ui::CHeadlessHost m_host;
};

// The hosts this build of the runner can play scenarios on: "headless", and "win32" or "qt"
// where they are built in. nullptr for a name it does not know.
std::unique_ptr<IScenarioHost> MakeScenarioHost(const std::string& name);
std::vector<std::string> ScenarioHostNames();

}  // namespace scenarios
