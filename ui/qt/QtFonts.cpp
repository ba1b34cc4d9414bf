#include "ui/qt/QtFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace ui::qt {
namespace {

QString& MingFamily() {
    static QString family;
    return family;
}

}  // namespace

void RegisterEmbeddedFace() {
    static bool done = false;
    if (done || QApplication::instance() == nullptr) {
        return;
    }
    done = true;
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral(":/vuvereze/fonts/vuvereze-ming.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (!families.isEmpty()) {
        MingFamily() = families.front();
    }
}

void UseEmbeddedFonts() {
    static bool done = false;
    if (done || QApplication::instance() == nullptr) {
        return;
    }
    done = true;
    // Every font that names more than one family costs Qt a fallback lookup per script it lays
    // out; the application's font is first laid out by a box, not at start-up.
    QApplication::setFont(WithEmbeddedFace(QApplication::font()));
}

QString EmbeddedMingFamily() {
    RegisterEmbeddedFace();
    return MingFamily();
}

QFont WithEmbeddedFace(const QFont& font) {
    const QString ming = EmbeddedMingFamily();
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    if (ming.isEmpty() || families.contains(ming)) {
        return font;
    }
    // Qt draws with the first family of a list that its database knows by name. A desktop's
    // alias ("Sans Serif") is no such name, so the Ming face would draw the Latin texts as well;
    // the face that draws them now goes first instead.
    const QString drawn = QFontInfo(font).family();
    if (!drawn.isEmpty() && !families.contains(drawn)) {
        families.prepend(drawn);
    }
    QFont with(font);
    with.setFamilies(families << ming);
    return with;
}

bool NeedsEmbeddedFace(const std::string& ansi) {
    for (const char c : ansi) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

QFont DialogFont(const QString& face, int pointSize) {
    RegisterEmbeddedFace();
    QFont font(face, pointSize);
    if (!QFontDatabase::hasFamily(face)) {
        // The desktop's own face for what the template's face would have drawn.
        const QString desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        if (!desktop.isEmpty()) {
            font.setFamilies(QStringList{desktop});
        } else {
            // Only where the desktop names no face of its own: a hint also sends texts of
            // another script (even an empty edit's) through a second font engine of their own.
            font.setStyleHint(QFont::SansSerif);
        }
    }
    return font;
}

}  // namespace ui::qt
