// The desktop program on Linux: the Qt host, the real clock and a virtual Windows machine kept in
// a folder, with its simulated capture cards.
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/VuverezeApp.h"
#include "platform/Platform.h"
#include "sim/VirtualSystem.h"
#include "ui/Dialog.h"
#include "ui/qt/QtHost.h"

namespace {

// $XDG_DATA_HOME/vuvereze/system, or ~/.local/share/vuvereze/system.
std::string DefaultSystemFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (std::filesystem::path(data.toStdString()) / "vuvereze" / "system").string();
}

int Fail(const std::string& text) {
    std::cerr << "vuvereze: " << text << "\n";
    QMessageBox::critical(nullptr, QStringLiteral("Vuvereze"), QString::fromStdString(text));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt has taken its own options out; what is left is ours: an optional system folder.
    const QStringList arguments = QApplication::arguments();
    const std::string folder =
        arguments.size() > 1 ? arguments.at(1).toStdString() : DefaultSystemFolder();

    std::string error;
    std::unique_ptr<sim::CVirtualSystem> system = sim::CVirtualSystem::Open(folder, error);
    if (system == nullptr || !system->Activate(error)) {
        return Fail(error);
    }
    platform::SetClock(nullptr);

    ui::CQtHost host;
    ui::SetHost(&host);
    platform::SetWaitHandler(&host);
    ui::SetAppName("Vuvereze");
    const int exitCode = app::CVuverezeApp(system->Backend(), [] { return 0; }).Run();
    platform::SetWaitHandler(nullptr);
    ui::SetHost(nullptr);
    return exitCode;
}
