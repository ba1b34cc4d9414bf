// The signal window on the Qt host with the real clock (offscreen), over the default simulated
// machine: how long after a change at the card's input the window shows it, and what one round
// of reads and its display costs. Usage: bench_qt_signal_refresh [changes]
#include <unistd.h>
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "app/SignalDlg.h"
#include "app/VuverezeDlg.h"
#include "device/DriverProtocol.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "sim/VirtualSystem.h"
#include "ui/HostLoop.h"
#include "ui/qt/QtHost.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

ui::Input Command(ui::Input::Kind kind, int id) {
    ui::Input input;
    input.kind = kind;
    input.id = id;
    return input;
}

// The card's VGA input switches between two sources, each change at a random moment of the
// window's second; a fast timer looks at what the window shows.
class CBench {
  public:
    CBench(app::CVuverezeDlg& dlg, sim::CSimCard& card, int changes)
        : m_dlg(dlg), m_card(card), m_changes(changes) {}

    void Start() {
        ui::QueueInput(m_dlg, Command(ui::Input::Click, res::IDC_LOCK));
        QTimer::singleShot(1500, [this] {
            ui::QueueInput(m_dlg, Command(ui::Input::SysMenu, res::IDM_SIGNAL));
            QTimer::singleShot(1200, [this] { Change(); });
        });
        m_look.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_look, &QTimer::timeout, [this] { Look(); });
        m_look.start(1);
    }

    std::vector<double> latencies;
    std::vector<double> roundCosts;

  private:
    void Change() {
        m_wanted = m_wanted == "1280x1024" ? "1024x768" : "1280x1024";
        const sim::StandardTiming* timing =
            sim::FindStandardTiming(m_wanted == "1280x1024" ? "1280x1024p60" : "1024x768p60");
        m_card.SetInput(device::kInputVga, timing->Timing);
        m_changed = Clock::now();
        m_waiting = true;
    }

    void Look() {
        app::CSignalDlg* window = m_dlg.SignalWindow();
        if (!m_waiting || window == nullptr || !window->IsCreated() ||
            window->GetDlgItemText(res::IDC_SIG_SIZE) != m_wanted)
            return;
        m_waiting = false;
        latencies.push_back(Ms(Clock::now() - m_changed));
        if (static_cast<int>(latencies.size()) < m_changes) {
            std::uniform_int_distribution<int> phase(100, 1400);
            QTimer::singleShot(phase(m_random), [this] { Change(); });
            return;
        }
        m_look.stop();
        MeasureRounds(*window);
        ui::QueueInput(m_dlg, Command(ui::Input::Click, res::IDC_CANCEL));
    }

    // One round as the timer makes it: five requests, the fields, the list, pushed to Qt.
    void MeasureRounds(app::CSignalDlg& window) {
        for (int i = 0; i < 200; ++i) {
            Change();
            const Clock::time_point start = Clock::now();
            window.Refresh();
            roundCosts.push_back(Ms(Clock::now() - start));
        }
    }

    app::CVuverezeDlg& m_dlg;
    sim::CSimCard& m_card;
    int m_changes;
    QTimer m_look;
    std::string m_wanted = "1280x1024";
    Clock::time_point m_changed;
    bool m_waiting = false;
    std::mt19937 m_random{20240501};
};

void Print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("  %s: median %.2f ms, 90th %.2f ms, worst %.2f ms (%zu)\n", what,
                values[values.size() / 2], values[values.size() * 9 / 10], values.back(),
                values.size());
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int changes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vz-bench-signal-" + std::to_string(getpid()));
    std::string error;
    platform::SetDebugSink([](std::string_view) {});
    auto system = sim::CVirtualSystem::Open(folder.string(), error);
    if (system == nullptr || !system->Activate(error)) {
        std::fprintf(stderr, "bench_qt_signal_refresh: %s\n", error.c_str());
        return 1;
    }
    ui::CQtHost host;
    ui::SetHost(&host);
    platform::SetWaitHandler(&host);
    {
        // The device box's first device is the analog card, the second of the machine.
        app::CVuverezeDlg dlg(system->Backend());
        CBench bench(dlg, system->Card(1), changes);
        QTimer::singleShot(0, [&] { bench.Start(); });
        dlg.DoModal();
        std::printf("signal window, Qt host, real clock, one round a second:\n");
        Print("a change at the input to the window showing it", bench.latencies);
        Print("one round of reads and its display", bench.roundCosts);
        std::printf("  (target: within about a second of the change)\n");
    }
    platform::SetWaitHandler(nullptr);
    ui::SetHost(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
