// The desktop program on Linux: the Qt host, the real clock and a virtual Windows machine kept in
// a folder, with its simulated capture cards.
#include <QApplication>
#include <QStringList>

#include "hosts/qt/Program.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt has taken its own options out; what is left is ours: an optional system folder.
    const QStringList arguments = QApplication::arguments();
    return desktop::RunProgram(arguments.size() > 1 ? arguments.at(1).toStdString()
                                                    : desktop::DefaultSystemFolder());
}
