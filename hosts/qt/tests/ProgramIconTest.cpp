// The program's own icon reaches the window at every size a desktop asks for, each as drawn:
// a 2x screen gets the image of twice the size, not a small one blown up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "hosts/qt/Program.h"

namespace desktop {
namespace {

QImage Pixels(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Drawn(int size) {
    return Pixels(QImage(QStringLiteral(VZ_ICONS_DIR "/vuvereze-%1.png").arg(size)));
}

TEST(ProgramIconTest, EverySizeIsItsOwnImage) {
    static int argc = 1;
    static char name[] = "vz_desktop_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;

    const QIcon icon = ProgramIcon();
    QList<QSize> sizes;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        sizes.append(QSize(size, size));
    EXPECT_EQ(icon.availableSizes(), sizes);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(Pixels(icon.pixmap(QSize(size, size), 1.0).toImage()), Drawn(size)) << size;
    // A title bar, a task bar and a large view on a 2x screen.
    for (int size : {16, 24, 32, 64, 128}) {
        EXPECT_EQ(Pixels(icon.pixmap(QSize(size, size), 2.0).toImage()), Drawn(size * 2))
            << size << " at 2x";
    }
}

}  // namespace
}  // namespace desktop
