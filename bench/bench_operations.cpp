// Times the main window's Lock and the timing editor's Test on the simulated card with the real
// clock, and reports each operation's own time: the elapsed time minus the waits the program
// must make (Lock's 1000 ms, the 500 ms pauses of a test). Prints one line per figure.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/VuverezeApp.h"
#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "sim/VirtualSystem.h"
#include "ui/headless/HeadlessHost.h"

namespace fs = std::filesystem;

namespace {

// The real clock, keeping count of how long the program asked to sleep.
class CCountingClock final : public platform::IClock {
  public:
    uint64_t NowMs() override { return platform::RealClock().NowMs(); }
    void Sleep(uint32_t ms) override {
        m_slept += ms;
        platform::RealClock().Sleep(ms);
    }
    uint64_t m_slept = 0;
};

using Clock = std::chrono::steady_clock;

// Feeds a list of actions; `measure` marks the action whose handling is timed, up to the moment
// the program asks for the next input.
class CTimedScript final : public ui::IInputSource {
  public:
    CTimedScript(std::vector<ui::Input> inputs, size_t measured, CCountingClock& clock)
        : m_inputs(std::move(inputs)), m_measured(measured), m_clock(clock) {}

    bool NextInput(ui::CDialog&, ui::Input& input) override {
        if (m_running) {
            m_elapsed = Clock::now() - m_start;
            m_sleptDuring = m_clock.m_slept - m_sleptBefore;
            m_running = false;
        }
        if (m_next >= m_inputs.size())
            return false;
        if (m_next == m_measured) {
            m_running = true;
            m_sleptBefore = m_clock.m_slept;
            m_start = Clock::now();
        }
        input = m_inputs[m_next++];
        return true;
    }
    bool AnswerFileDialog(const ui::FileDialogRequest&, std::string&, bool& answered) override {
        answered = false;
        return false;
    }

    double OwnMs() const {
        return std::chrono::duration<double, std::milli>(m_elapsed).count() -
               static_cast<double>(m_sleptDuring);
    }
    double ElapsedMs() const {
        return std::chrono::duration<double, std::milli>(m_elapsed).count();
    }

  private:
    std::vector<ui::Input> m_inputs;
    size_t m_next = 0;
    size_t m_measured;
    CCountingClock& m_clock;
    bool m_running = false;
    Clock::time_point m_start;
    Clock::duration m_elapsed{};
    uint64_t m_sleptBefore = 0;
    uint64_t m_sleptDuring = 0;
};

ui::Input Click(int id) {
    ui::Input input;
    input.kind = ui::Input::Click;
    input.id = id;
    return input;
}

ui::Input WithText(ui::Input::Kind kind, int id, const char* text) {
    ui::Input input;
    input.kind = kind;
    input.id = id;
    input.text = text;
    return input;
}

ui::Input Type(int id, const char* text) {
    return WithText(ui::Input::Type, id, text);
}
ui::Input Choose(int id, const char* text) {
    return WithText(ui::Input::Choose, id, text);
}

std::vector<uint8_t> FullTable() {
    std::vector<fmt::FormatRecord> records(fmt::kMaxRecords);
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].Enabled = i % 3 ? 1 : 0;
        records[i].Timing.HActive = static_cast<uint16_t>(640 + i);
        records[i].Timing.VActive = static_cast<uint16_t>(480 + i);
        records[i].Timing.FrameRate = static_cast<uint16_t>(5000 + i);
    }
    return fmt::EncodeTableFile(200, records);
}

struct Result {
    double ownMs;
    double elapsedMs;
};

Result RunOnce(const fs::path& root, std::vector<ui::Input> inputs, size_t measured) {
    sim::SystemDescription description;
    sim::DeviceDescription device;
    device.FriendlyName = "Capture HD";
    sim::StandardSignal("1920x1080p60", device.Hdmi);
    device.Vga = sim::NoSignal();
    description.Devices.push_back(device);
    std::string error;
    sim::CVirtualSystem system(root.string(), description);
    if (!system.Activate(error)) {
        std::fprintf(stderr, "cannot start the virtual system: %s\n", error.c_str());
        std::exit(1);
    }
    CCountingClock clock;
    CTimedScript script(std::move(inputs), measured, clock);
    ui::CHeadlessHost host(&script);
    platform::SetClock(&clock);
    platform::SetDebugSink([](std::string_view) {});
    ui::SetHost(&host);
    app::CVuverezeApp application(system.Backend(), [] { return 0; });
    application.Run();
    ui::SetHost(nullptr);
    platform::SetDebugSink({});
    platform::SetClock(nullptr);
    return {script.OwnMs(), script.ElapsedMs()};
}

void Report(const char* what, const std::vector<Result>& results, double target) {
    double best = results[0].ownMs, worst = results[0].ownMs, sum = 0;
    for (const Result& r : results) {
        best = std::min(best, r.ownMs);
        worst = std::max(worst, r.ownMs);
        sum += r.ownMs;
    }
    std::printf(
        "%s: own time %.2f ms mean, %.2f best, %.2f worst over %zu runs "
        "(elapsed %.1f ms incl. waits); target <= %.0f ms: %s\n",
        what, sum / results.size(), best, worst, results.size(), results[0].elapsedMs, target,
        worst <= target ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    fs::path root = fs::temp_directory_path() / ("vuvereze-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "Windows" / "System32");
    std::vector<uint8_t> table = FullTable();
    platform::SetSystemRoot(root.string());
    platform::ReplaceFileAtomically(platform::HostPath("C:\\Windows\\System32\\format.bin"),
                                    table.data(), table.size());

    std::vector<Result> lock;
    for (int i = 0; i < runs; ++i) {
        lock.push_back(RunOnce(root, {Click(res::IDC_LOCK), Click(res::IDC_CANCEL)}, 0));
    }
    Report("Lock, 256-record table, minus the 1000 ms wait", lock, 20);

    // A test of a user format in the editor: the table is one short of full so the add fits.
    std::vector<fmt::FormatRecord> records(fmt::kMaxRecords - 1);
    table = fmt::EncodeTableFile(200, records);
    platform::ReplaceFileAtomically(platform::HostPath("C:\\Windows\\System32\\format.bin"),
                                    table.data(), table.size());
    std::vector<Result> test;
    for (int i = 0; i < runs; ++i) {
        std::vector<ui::Input> inputs = {Click(res::IDC_LOCK),
                                         Click(res::IDC_ADD),
                                         Type(res::IDC_H_ACTIVE, "1920"),
                                         Type(res::IDC_V_ACTIVE, "1080"),
                                         Type(res::IDC_V_FRONT_PORCH, "4"),
                                         Type(res::IDC_V_SYNC, "5"),
                                         Type(res::IDC_H_TOTAL, "2200"),
                                         Type(res::IDC_V_TOTAL, "1125"),
                                         Type(res::IDC_FRAME_RATE, "60"),
                                         Choose(res::IDC_INTERLACE, "No"),
                                         Click(res::IDC_TEST),
                                         Click(res::IDC_CANCEL),
                                         Click(res::IDC_CANCEL)};
        test.push_back(RunOnce(root, inputs, 10));
    }
    Report("Timing test, minus the mandated waits", test, 50);
    fs::remove_all(root);
    return 0;
}
