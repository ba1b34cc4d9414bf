#include "ui/qt/QtFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace ui::qt {
namespace {

QString& MingFamily() {
    static QString family;
    return family;
}

QStringList WithMing(const QFont& font) {
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    if (!MingFamily().isEmpty() && !families.contains(MingFamily())) {
        families << MingFamily();
    }
    return families;
}

}  // namespace

void UseEmbeddedFonts() {
    static bool done = false;
    if (done || QApplication::instance() == nullptr) {
        return;
    }
    done = true;
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral(":/vuvereze/fonts/vuvereze-ming.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        return;
    }
    MingFamily() = families.front();
    QFont font = QApplication::font();
    font.setFamilies(WithMing(font));
    QApplication::setFont(font);
}

QString EmbeddedMingFamily() {
    UseEmbeddedFonts();
    return MingFamily();
}

QFont DialogFont(const QString& face, int pointSize) {
    UseEmbeddedFonts();
    QFont font(face, pointSize);
    font.setStyleHint(QFont::SansSerif);
    QStringList families{face};
    // The desktop's own face for what the template's face would have drawn.
    const QString desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (!QFontDatabase::hasFamily(face) && !desktop.isEmpty()) {
        families << desktop;
    }
    font.setFamilies(families);
    font.setFamilies(WithMing(font));
    return font;
}

}  // namespace ui::qt
