// The yardstick: the smallest Qt Widgets program that shows one dialog, ended at its first paint.
#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include "bench/qt/FirstPaint.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bench::CFirstPaint firstPaint([] { QCoreApplication::exit(0); });
    application.installEventFilter(&firstPaint);
    QDialog dialog;
    dialog.resize(400, 470);
    auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
    button->move(330, 440);
    dialog.show();
    return application.exec();
}
