// The desktop program as `vuvereze` starts it (the same start-up code), ended when its main
// window first paints: the start-up the benchmark measures. Argument: the virtual system folder.
#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QWidget>
#include <iostream>

#include "hosts/qt/Program.h"
#include "ui/Dialog.h"

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
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::cerr << "usage: vuvereze_first_paint SYSTEM-FOLDER\n";
        return 2;
    }
    CFirstPaint firstPaint;
    application.installEventFilter(&firstPaint);
    return desktop::RunProgram(arguments.at(1).toStdString());
}
