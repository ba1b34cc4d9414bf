// The desktop program as `vuvereze` starts it (the same start-up code), ended when its main
// window first paints: the start-up the benchmark measures. Argument: the virtual system folder.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QStringList>
#include <iostream>

#include "bench/qt/FirstPaint.h"
#include "hosts/qt/Program.h"
#include "ui/Dialog.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::cerr << "usage: vuvereze_first_paint SYSTEM-FOLDER\n";
        return 2;
    }
    bench::CFirstPaint firstPaint([] {
        ui::Quit(0);
        // The modal loop looks at the quit flag whenever Qt's loop hands back control.
        QAbstractEventDispatcher::instance()->wakeUp();
    });
    application.installEventFilter(&firstPaint);
    return desktop::RunProgram(arguments.at(1).toStdString());
}
