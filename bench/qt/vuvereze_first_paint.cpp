// The desktop program as hosts/qt/main.cpp starts it, ended when its main window first paints:
// the start-up the benchmark measures. Argument: the virtual system folder.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <iostream>

#include "app/VuverezeApp.h"
#include "platform/Platform.h"
#include "sim/VirtualSystem.h"
#include "ui/Dialog.h"
#include "ui/qt/QtHost.h"

namespace {

class CFirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            ui::Quit(0);
            // The modal loop looks at the quit flag once the event is served.
            QCoreApplication::postEvent(watched, new QEvent(QEvent::User));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::cerr << "usage: vuvereze_first_paint SYSTEM-FOLDER\n";
        return 2;
    }
    std::string error;
    std::unique_ptr<sim::CVirtualSystem> system = sim::CVirtualSystem::Open(argv[1], error);
    if (system == nullptr || !system->Activate(error)) {
        std::cerr << error << "\n";
        return 1;
    }
    CFirstPaint firstPaint;
    application.installEventFilter(&firstPaint);
    ui::CQtHost host;
    ui::SetHost(&host);
    platform::SetWaitHandler(&host);
    ui::SetAppName("Vuvereze");
    const int exitCode = app::CVuverezeApp(system->Backend(), [] { return 0; }).Run();
    platform::SetWaitHandler(nullptr);
    ui::SetHost(nullptr);
    return exitCode;
}
