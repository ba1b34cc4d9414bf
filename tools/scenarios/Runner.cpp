#include "tools/scenarios/Runner.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <system_error>

#include "app/VuverezeApp.h"
#include "platform/Platform.h"
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/World.h"
#include "ui/HostLoop.h"

namespace fs = std::filesystem;

namespace scenarios {
namespace {

// Restores the process-wide settings a scenario changes, whatever happens.
struct PlatformGuard {
    ~PlatformGuard() {
        platform::SetDebugSink({});
        platform::SetClock(nullptr);
        // The system's own settings again, and no virtual drive C: left behind: on Windows a
        // stale root would take in every path on C: the next user of the process gives.
        platform::ResetAnsiCodePage();
        platform::ResetNativeArchitecture();
        platform::SetSystemRoot("");
        platform::SetWaitHandler(nullptr);
        ui::SetHost(nullptr);
        ui::ResetQuit();
    }
};

class CScenario : public IScenarioActions, public IScenarioContext {
  public:
    CScenario(const Script& script, Outcome& outcome, const fs::path& scratch, IScenarioHost& host)
        : m_script(script), m_outcome(outcome), m_scratch(scratch), m_host(host) {
        m_scenarioDir = fs::absolute(fs::path(script.path)).parent_path();
    }

    void Run() {
        // A host that cannot play one of the lines does not play the story at all: the scenario
        // is skipped there, never passed.
        for (const Line& line : m_script.lines) {
            const std::string why = m_host.Cannot(line);
            if (!why.empty()) {
                m_outcome.skipped = true;
                m_outcome.skipReason = m_script.path + ":" + std::to_string(line.number) + ": " +
                                       m_host.Name() + " host: " + why;
                return;
            }
        }
        fs::create_directories(m_scratch / "root");
        platform::SetSystemRoot((m_scratch / "root").string());
        // A scenario's machine speaks UTF-8 until it says otherwise, whatever the machine that
        // runs it speaks.
        platform::SetAnsiCodePage(platform::CodePage::Utf8);
        platform::SetNativeArchitecture(platform::PROCESSOR_ARCHITECTURE_AMD64);
        std::vector<const Line*> setup;
        for (; m_next < m_script.lines.size(); ++m_next) {
            const Line& line = m_script.lines[m_next];
            if (line.Verb() == "start")
                break;
            if (!IsSetupVerb(line.Verb())) {
                Fail(line, "'" + line.Verb() + "' before start");
                continue;
            }
            setup.push_back(&line);
        }
        // The code page and the machine come first: the other lines' texts depend on them.
        for (const Line* line : setup) {
            if (line->Verb() == "machine" || line->Verb() == "codepage")
                Setup(*line);
        }
        for (const Line* line : setup) {
            if (line->Verb() != "machine" && line->Verb() != "codepage")
                Setup(*line);
        }
        if (m_next >= m_script.lines.size()) {
            Fail(m_script.lines.empty() ? Line{} : m_script.lines.back(), "no start line");
            return;
        }
        if (m_outcome.skipped)
            return;
        ++m_next;  // start
        SnapshotFiles();

        platform::SetClock(&m_clock);
        platform::SetDebugSink([this](std::string_view text) {
            m_debug.append(AsTheStoryNamesThem(std::string(text)));
            m_debugWrites.push_back(m_debug.size());
        });
        ui::SetAppName("Vuvereze");
        ui::ResetQuit();
        m_startMs = m_clock.NowMs();
        if (IDeviceServer* server = m_host.DeviceServer()) {
            m_world.ServeDevicesBy(server, m_scratch.string());
            m_world.Backend();
            if (!m_world.ServeError().empty()) {
                Fail(m_script.lines[m_next - 1], "devices not served: " + m_world.ServeError());
                return;
            }
        }

        m_exitCode = m_host.Run(*this, [this] {
            app::CVuverezeApp application(m_world.Backend(), [this] {
                return m_comFails ? static_cast<int32_t>(0x80004005) : 0;
            });
            return application.Run();
        });
        m_ended = true;
        const std::string skip = m_host.TakeSkipReason();
        if (!skip.empty()) {
            m_outcome.skipped = true;
            m_outcome.skipReason = m_script.path + ": " + m_host.Name() + " host: " + skip;
            m_outcome.failures.clear();
            return;
        }
        for (const std::string& problem : m_host.TakeProblems()) {
            m_outcome.failures.push_back(m_script.path + ": " + m_host.Name() +
                                         " host: " + problem);
        }

        if (std::getenv("VZ_SCENARIO_DUMP"))
            Dump();

        // After the program: only expectations remain, unless a line never finished; then
        // what follows it tells nothing more.
        for (; !m_timedOut && m_next < m_script.lines.size(); ++m_next) {
            const Line& line = m_script.lines[m_next];
            if (line.Verb() == "expect") {
                CheckExpectation(*this, line);
            } else {
                Fail(line, "'" + line.Verb() + "' after the program ended");
            }
        }
    }

    // --- ui::IInputSource
    bool NextInput(ui::CDialog& topmost, ui::Input& input) override {
        (void)topmost;
        if (PassTime(input))
            return true;
        while (!m_timedOut && m_next < m_script.lines.size()) {
            const Line& line = m_script.lines[m_next++];
            const std::string& verb = line.Verb();
            if (verb == "expect") {
                CheckExpectation(*this, line);
            } else if (verb == "answer") {
                QueueAnswer(line);
            } else if (verb == "reply") {
                QueueReply(line);
            } else if (IsStoryWriteVerb(verb)) {
                Setup(line);  // another program writes the file now
            } else if (verb == "shot") {
                // A picture for the documentation; a host without a screen has none to take.
                const bool box = line.Size() == 3 && line.Arg(1) == "box";
                if (line.Size() != (box ? 3u : 2u)) {
                    Fail(line, "shot takes [box] \"PATH\"");
                } else {
                    m_host.Shoot(HostFile(line.Arg(box ? 2 : 1)), box);
                }
            } else if (IsLiveVerb(verb)) {
                PlayLive(*this, line);
            } else if (IsSetupVerb(verb) || verb == "start") {
                Fail(line, "'" + verb + "' after start");
            } else if (MakeInput(*this, line, input)) {
                m_lastInput = &line;
                if (input.kind == ui::Input::Idle) {
                    m_waitUntil = m_clock.NowMs() + static_cast<uint64_t>(input.row);
                    m_waiting = true;
                    PassTime(input);
                }
                return true;
            }
        }
        return false;
    }

    void LineTimedOut() override {
        if (m_timedOut || m_lastInput == nullptr)
            return;
        m_timedOut = true;
        Fail(*m_lastInput, TimedOut(*m_lastInput));
    }

    std::string TimedOutLine() const override {
        if (m_lastInput == nullptr)
            return m_script.path + ": the program did not come back for its first line";
        return m_script.path + ":" + std::to_string(m_lastInput->number) + ": " +
               TimedOut(*m_lastInput);
    }

    bool AnswerFileDialog(const ui::FileDialogRequest& request, std::string& path,
                          bool& answered) override {
        if (m_answers.empty() && m_next < m_script.lines.size() &&
            m_script.lines[m_next].Verb() == "answer") {
            QueueAnswer(m_script.lines[m_next++]);
        }
        if (m_answers.empty()) {
            answered = false;
            return false;
        }
        answered = true;
        std::optional<std::string> answer = m_answers.front();
        m_answers.pop_front();
        if (!answer)
            return false;
        path = ProgramPath(*answer, request.open);
        return true;
    }

    bool AnswerQuestion(const ui::MessageBoxRecord&, bool& answered) override {
        if (m_replies.empty() && m_next < m_script.lines.size() &&
            m_script.lines[m_next].Verb() == "reply") {
            QueueReply(m_script.lines[m_next++]);
        }
        answered = !m_replies.empty();
        if (!answered)
            return false;
        const bool yes = m_replies.front();
        m_replies.pop_front();
        return yes;
    }

    // --- IScenarioContext
    void Fail(const Line& line, const std::string& what) override {
        m_outcome.failures.push_back(m_script.path + ":" + std::to_string(line.number) + ": " +
                                     what);
    }
    void Skip(const Line& line, const std::string& why) override {
        if (!m_outcome.skipped) {
            m_outcome.skipped = true;
            m_outcome.skipReason = m_script.path + ":" + std::to_string(line.number) + ": " + why;
        }
    }
    void Counted() override { ++m_outcome.expectations; }
    IScenarioHost& Host() override { return m_host; }
    CWorld& World() override { return m_world; }
    bool Ended() const override { return m_ended; }
    int ExitCode() const override { return m_exitCode; }
    uint64_t ElapsedMs() const override { return m_clock.NowMs() - m_startMs; }
    const std::string& DebugOutput() const override { return m_debug; }
    const std::vector<size_t>& DebugWriteEnds() const override { return m_debugWrites; }
    size_t& MessageCursor() override { return m_messageCursor; }
    size_t& LogCursor() override { return m_logCursor; }
    size_t& TraceCursor() override { return m_traceCursor; }

    std::string HostFile(const std::string& path) const override {
        fs::path p(path);
        return (p.is_absolute() ? p : m_scenarioDir / p).string();
    }

    std::string FilePath(const std::string& path) const override {
        if (IsDrivePath(path))
            return StoryPath(path);
        fs::path p(path);
        if (p.is_absolute())
            return p.string();
        fs::path scratch = m_scratch / p;
        if (!fs::exists(scratch) && fs::exists(m_scenarioDir / p))
            return (m_scenarioDir / p).string();
        return scratch.string();
    }

    const std::vector<uint8_t>* Snapshot(const std::string& hostPath) const override {
        auto it = m_snapshots.find(fs::weakly_canonical(hostPath).string());
        return it == m_snapshots.end() ? nullptr : &it->second;
    }

  private:
    // A `wait` going on: the clock moves to the next timer of the program's windows that falls
    // within it (which the loop then fires) or to its end, one step per call.
    bool PassTime(ui::Input& input) {
        if (!m_waiting)
            return false;
        const uint64_t now = m_clock.NowMs();
        uint64_t target = m_waitUntil;
        uint64_t due = 0;
        if (ui::NextTimerDue(due) && due > now && due < target)
            target = due;
        if (target > now)
            m_clock.Advance(target - now);
        m_waiting = target < m_waitUntil;
        input = ui::Input{};
        input.kind = ui::Input::Idle;
        return true;
    }

    static std::string TimedOut(const Line& line) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "%g s", LineLimitMs() / 1000.0);
        return "'" + LineText(line) + "' did not finish within " + limit +
               ": the system waits for something the story does not give";
    }

    static std::string LineText(const Line& line) {
        std::string text;
        for (const Token& token : line.tokens) {
            text +=
                (text.empty() ? "" : " ") + (token.quoted ? "\"" + token.text + "\"" : token.text);
        }
        return text;
    }

    // Every file on drive C: that a story names is the story's own, under its scratch folder,
    // with its start copy, and gone with it. On Windows the platform takes only the system
    // folder in there (elsewhere a path is a real file, as one chosen in a file dialog is), so
    // the rest of the drive is taken in here: "C:\Users\Public\theirs.bin" is never the
    // machine's own file, left behind for the next story.
    std::string StoryPath(const std::string& path) const {
        const std::string mapped = platform::HostPath(path);
#if defined(_WIN32)
        if (mapped == path && (path[0] == 'C' || path[0] == 'c')) {
            fs::path inside = fs::path(path.substr(2)).relative_path().lexically_normal();
            while (!inside.empty() && *inside.begin() == "..")
                inside = inside.lexically_relative(*inside.begin());
            return (m_scratch / "root" / inside).string();
        }
#endif
        return mapped;
    }

    static bool IsDrivePath(const std::string& path) {
        return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) &&
               path[1] == ':';
    }

    // The path the program is given for an answer: drive paths as they are (the program maps
    // them), relative ones in the scratch folder, or beside the scenario for a file to open.
    std::string ProgramPath(const std::string& path, bool open) {
        if (IsDrivePath(path)) {
            const std::string story = StoryPath(path);
            // A file the platform does not take into the virtual system is given as the real
            // file the story made of it, and the program's words about it are read back with
            // the story's own path, so that a trace reads the same on every host.
            if (story != platform::HostPath(path)) {
                const std::string real = RealFile(story);
                m_storyNames.emplace_back(real, platform::Utf8ToAnsi(path));
                if (real.rfind("\\\\?\\", 0) == 0)
                    m_storyNames.emplace_back(real.substr(4), platform::Utf8ToAnsi(path));
                return real;
            }
            return platform::Utf8ToAnsi(path);
        }
        fs::path p(path);
        if (p.is_absolute())
            return path;
        if (open && !fs::exists(m_scratch / p) && fs::exists(m_scenarioDir / p)) {
            return RealFile(m_scenarioDir / p);
        }
        return RealFile(m_scratch / p);
    }

    // Under a virtual system every path on drive C: means the virtual drive. On Windows the
    // scratch folder is itself on C: more often than not, so the program is given the form
    // that always names the real file.
    static std::string RealFile(const fs::path& file) {
#if defined(_WIN32)
        const std::string path = fs::absolute(file).lexically_normal().make_preferred().string();
        if (path.size() >= 2 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':')
            return "\\\\?\\" + path;
        return path;
#else
        return file.string();
#endif
    }

    // Windows compares the letters of a path without their case, and a file dialog may hand
    // back another case than it was given.
    std::string AsTheStoryNamesThem(std::string text) const {
        const auto lower = [](std::string s) {
            for (char& c : s)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return s;
        };
        for (const auto& [real, story] : m_storyNames) {
            const std::string key = lower(real);
            for (size_t at = lower(text).find(key); at != std::string::npos;
                 at = lower(text).find(key, at + story.size())) {
                text.replace(at, real.size(), story);
            }
        }
        return text;
    }

    // For whoever writes a scenario: everything the program did, to choose expectations from.
    void Dump() const {
        std::fprintf(stderr, "--- driver log of %s\n", m_script.path.c_str());
        for (const std::string& line : const_cast<CWorld&>(m_world).LogLines()) {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        std::fprintf(stderr, "--- debug output\n%s\n--- end\n", m_debug.c_str());
    }

    void QueueAnswer(const Line& line) {
        if (line.Size() != 2) {
            Fail(line, "answer takes \"PATH\" or cancel");
            return;
        }
        if (!line.tokens[1].quoted && line.Arg(1) == "cancel") {
            m_answers.push_back(std::nullopt);
        } else {
            m_answers.push_back(line.Arg(1));
        }
    }

    void QueueReply(const Line& line) {
        if (line.Size() != 2 || (line.Arg(1) != "yes" && line.Arg(1) != "no")) {
            Fail(line, "reply takes yes or no");
            return;
        }
        m_replies.push_back(line.Arg(1) == "yes");
    }

    void Setup(const Line& line) {
        std::string error;
        if (!ApplySetup(*this, line, m_world, m_comFails, error))
            Fail(line, error);
    }

    void SnapshotFiles() {
        for (const fs::path& base : {m_scratch}) {
            for (auto& entry : fs::recursive_directory_iterator(base)) {
                if (!entry.is_regular_file())
                    continue;
                std::vector<uint8_t> bytes;
                platform::ReadWholeFile(entry.path().string(), bytes);
                m_snapshots[fs::weakly_canonical(entry.path()).string()] = std::move(bytes);
            }
        }
    }

    const Script& m_script;
    Outcome& m_outcome;
    fs::path m_scratch;
    fs::path m_scenarioDir;
    size_t m_next = 0;
    CWorld m_world;
    bool m_comFails = false;
    IScenarioHost& m_host;
    mutable platform::CVirtualClock m_clock;
    uint64_t m_startMs = 0;
    std::string m_debug;
    std::vector<size_t> m_debugWrites;  // where each write to the debug output ended
    std::deque<std::optional<std::string>> m_answers;
    std::deque<bool> m_replies;  // for questions: yes or no
    // The real files the program was handed for drive paths the platform keeps out of the
    // virtual system, longest spelling first, and the story's name for each.
    std::vector<std::pair<std::string, std::string>> m_storyNames;
    std::map<std::string, std::vector<uint8_t>> m_snapshots;
    size_t m_messageCursor = 0;
    size_t m_logCursor = 0;
    size_t m_traceCursor = 0;
    bool m_ended = false;
    int m_exitCode = -1;
    const Line* m_lastInput = nullptr;
    bool m_timedOut = false;
    bool m_waiting = false;
    uint64_t m_waitUntil = 0;
};

// A fresh folder of this run's own: create_directory reports a name that is taken, so two runs
// at once never share one.
bool MakeScratchFolder(fs::path& scratch) {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error)
        return false;
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "vuvereze-scn-";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        const fs::path candidate = temp / name;
        if (fs::create_directory(candidate, error)) {
            // Private to its user, as a temporary folder of one run should be.
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
            scratch = candidate;
            return true;
        }
        if (error)
            return false;
    }
    return false;
}

}  // namespace

Outcome RunScenario(const Script& script, const std::string& hostName, bool keepScratch) {
    Outcome outcome;
    std::unique_ptr<IScenarioHost> host = MakeScenarioHost(hostName);
    if (!host) {
        outcome.failures.push_back(script.path + ": no host '" + hostName + "' in this build");
        return outcome;
    }
    fs::path scratch;
    if (!MakeScratchFolder(scratch)) {
        outcome.failures.push_back(script.path + ": no scratch folder");
        return outcome;
    }
    {
        PlatformGuard guard;
        CScenario scenario(script, outcome, scratch, *host);
        scenario.Run();
    }
    if (keepScratch) {
        outcome.scratch = scratch.string();
    } else {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }
    outcome.passed = outcome.failures.empty() && !outcome.skipped;
    return outcome;
}

}  // namespace scenarios
