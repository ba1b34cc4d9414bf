#include "hosts/qt/Program.h"

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPixmap>
#include <QStandardPaths>
#include <QString>
#include <filesystem>
#include <iostream>

#include "app/VuverezeApp.h"
#include "platform/Platform.h"
#include "resources/Resource.h"
#include "sim/VirtualSystem.h"
#include "ui/Dialog.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindow.h"

namespace desktop {
namespace {

int Fail(const std::string& text) {
    std::cerr << "vuvereze: " << text << "\n";
    QMessageBox::critical(nullptr, QStringLiteral("Vuvereze"), QString::fromStdString(text));
    return 1;
}

}  // namespace

QIcon ProgramIcon() {
    static const QIcon icon = [] {
        QIcon images;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            // Told the format, Qt reads the image without asking every image plugin about it.
            QImageReader reader(QStringLiteral(":/vuvereze/icons/vuvereze-%1.png").arg(size),
                                "png");
            reader.setAutoDetectImageFormat(false);
            const QImage image = reader.read();
            if (!image.isNull()) {
                images.addPixmap(QPixmap::fromImage(image));
            }
        }
        return images;
    }();
    return icon;
}

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

    // The window's icon, the About box's and the one boxes and file dialogs inherit; the
    // desktop entry's name lets a Wayland desktop find the installed icon too.
    ui::qt::SetResourceIcon(res::IDR_MAINFRAME, ProgramIcon());
    QApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("vuvereze"));

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
