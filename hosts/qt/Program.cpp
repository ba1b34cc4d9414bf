#include "hosts/qt/Program.h"

#include <QMessageBox>
#include <QStandardPaths>
#include <QString>
#include <filesystem>
#include <iostream>

#include "app/VuverezeApp.h"
#include "platform/Platform.h"
#include "sim/VirtualSystem.h"
#include "ui/Dialog.h"
#include "ui/qt/QtHost.h"

namespace desktop {
namespace {

int Fail(const std::string& text) {
    std::cerr << "vuvereze: " << text << "\n";
    QMessageBox::critical(nullptr, QStringLiteral("Vuvereze"), QString::fromStdString(text));
    return 1;
}

}  // namespace

std::string DefaultSystemFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (std::filesystem::path(data.toStdString()) / "vuvereze" / "system").string();
}

int RunProgram(const std::string& folder) {
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

}  // namespace desktop
