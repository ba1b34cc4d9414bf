// The time from the end of a blocking wait to the first served click that the user made during
// it, on the Qt host with the real clock (offscreen). Usage: bench_qt_wait_latency [runs]
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/Platform.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

ui::ControlTemplate Button(int id, const char* caption, ui::Rect rect) {
    ui::ControlTemplate c;
    c.id = id;
    c.kind = ui::ControlKind::PushButton;
    c.caption = caption;
    c.rect = rect;
    c.style = ui::WS_TABSTOP;
    return c;
}

const ui::DialogTemplate& WaitTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.id = 901;
        d.title = "Wait";
        d.fontName = "Sans";
        d.cx = 120;
        d.cy = 40;
        d.style = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
        d.controls = {Button(100, "Lock", {10, 10, 50, 14}),
                      Button(ui::IDOK, "OK", {64, 10, 50, 14})};
        return d;
    }();
    return t;
}

// Lock waits 300 ms; 100 ms into the wait the user clicks OK.
class CWaitDlg : public ui::CDialog {
  public:
    explicit CWaitDlg(ui::CQtHost& host) : CDialog(WaitTemplate()), m_host(host) {}
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        PostCommand(100);
        return true;
    }
    bool OnCommand(int id) override {
        if (id == 100) {
            QTimer::singleShot(100, [this] {
                QTest::mouseClick(m_host.WindowOf(*this)->ControlWidget(ui::IDOK), Qt::LeftButton);
            });
            platform::Sleep(300);
            waitEnded = Clock::now();
            return true;
        }
        if (id == ui::IDOK) {
            served = Clock::now();
        }
        return CDialog::OnCommand(id);
    }
    Clock::time_point waitEnded;
    Clock::time_point served;

  private:
    ui::CQtHost& m_host;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ui::CQtHost host;
    ui::SetHost(&host);
    platform::SetWaitHandler(&host);
    std::vector<double> latencies;
    for (int i = 0; i < runs; ++i) {
        CWaitDlg dlg(host);
        dlg.DoModal();
        latencies.push_back(
            std::chrono::duration<double, std::milli>(dlg.served - dlg.waitEnded).count());
    }
    platform::SetWaitHandler(nullptr);
    ui::SetHost(nullptr);
    std::sort(latencies.begin(), latencies.end());
    std::printf("end of a 300 ms wait to the click made during it, served (%d runs):\n", runs);
    std::printf("  median %.2f ms, worst %.2f ms (target: at most 50 ms)\n",
                latencies[latencies.size() / 2], latencies.back());
    return 0;
}
