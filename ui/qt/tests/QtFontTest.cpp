// The program's Chinese texts on a desktop without any CJK font: every character is drawn with a
// real glyph of the face the program carries, never as an empty box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTextLayout>

#include "platform/Platform.h"
#include "ui/qt/QtFonts.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindow.h"

namespace {

QApplication& FontApp() {
    static int argc = 1;
    static char name[] = "vz_ui_qt_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (QApplication::instance() == nullptr) {
        qputenv("FONTCONFIG_FILE", VZ_LATIN_ONLY_FONTS);
    }
    static QApplication* app = QApplication::instance() != nullptr
                                   ? static_cast<QApplication*>(QApplication::instance())
                                   : new QApplication(argc, argv);
    return *app;
}

QStringList ProgramTexts() {
    QFile file(QStringLiteral(VZ_PROGRAM_TEXTS));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The characters of `text` that `font` draws with the missing glyph (glyph 0), each laid out
// as the text shows it, with the fallbacks the font brings.
QString Missing(const QString& text, const QFont& font) {
    QString missing;
    for (const QChar c : text) {
        QTextLayout layout(QString(c), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (const quint32 glyph : run.glyphIndexes()) {
                if (glyph == 0) {
                    missing += c;
                }
            }
        }
    }
    return missing;
}

TEST(QtFonts, TheProgramsChineseTextsHaveRealGlyphsWithoutAnySystemCjkFont) {
    FontApp();
    const QString ming = ui::qt::EmbeddedMingFamily();
    ASSERT_FALSE(ming.isEmpty()) << "the embedded face did not load";
    // Nothing of the machine draws Chinese here but the face the program carries.
    for (const QString& family : QFontDatabase::families(QFontDatabase::TraditionalChinese)) {
        EXPECT_EQ(family, ming) << family.toStdString() << " is a system CJK font";
    }
    const QStringList texts = ProgramTexts();
    ASSERT_GE(texts.size(), 4);
    const QFont dialog = ui::qt::DialogFont(QStringLiteral("新細明體"), 9);
    for (const QString& text : texts) {
        EXPECT_EQ(Missing(text, dialog), QString()) << text.toStdString();
        EXPECT_EQ(Missing(text, QApplication::font()), QString()) << text.toStdString();
        // And it paints: some ink lands on the image.
        QImage image(400, 40, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(dialog);
        painter.drawText(4, 30, text);
        painter.end();
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y) {
            for (int x = 0; x < image.width() && !ink; ++x) {
                ink = image.pixel(x, y) != qRgb(255, 255, 255);
            }
        }
        EXPECT_TRUE(ink) << text.toStdString();
    }
}

constexpr int kLabel = 100;

const ui::DialogTemplate& LatinTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.id = 910;
        d.title = "Latin";
        d.fontName = "新細明體";
        d.fontSize = 9;
        d.cx = 160;
        d.cy = 60;
        d.style = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;
        ui::ControlTemplate label;
        label.id = kLabel;
        label.kind = ui::ControlKind::Static;
        label.caption = "Latin only";
        label.rect = {10, 10, 140, 10};
        d.controls = {label};
        return d;
    }();
    return t;
}

class CLatinDlg : public ui::CDialog {
  public:
    CLatinDlg() : CDialog(LatinTemplate()) {}
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        AppendSystemMenu(0, "");
        AppendSystemMenu(16, platform::Utf8ToAnsi("關於 Vuvereze(&A)..."));
        return true;
    }
};

// A window that opens with Latin texts only and is given a Chinese one later, and its Help menu,
// draw the Chinese with real glyphs, with the embedded face before any CJK face of the machine.
TEST(QtFonts, AChineseTextShownLaterAndTheHelpMenuHaveTheEmbeddedFace) {
    FontApp();
    const QString ming = ui::qt::EmbeddedMingFamily();
    ASSERT_FALSE(ming.isEmpty());
    const QString chinese = QStringLiteral("確定");
    ui::CQtHost host;
    ui::SetHost(&host);
    CLatinDlg dlg;
    int turn = 0;
    QFont latin, later, menu;
    QString shown;
    host.SetIdleHandler([&](ui::CDialog& topmost) {
        ui::qt::CQtWindow* window = host.WindowOf(topmost);
        auto* label = static_cast<QLabel*>(window->ControlWidget(kLabel));
        if (turn++ == 0) {
            latin = label->font();
            const QList<QMenu*> menus = window->Widget()->findChildren<QMenu*>();
            if (!menus.isEmpty()) {
                menu = menus.front()->font();
            }
            topmost.SetDlgItemText(kLabel, platform::Utf8ToAnsi(chinese.toStdString()));
            return true;
        }
        later = label->font();
        shown = label->text();
        topmost.EndDialog(ui::IDOK);
        return true;
    });
    dlg.DoModal();
    ui::SetHost(nullptr);

    EXPECT_EQ(shown, chinese);
    EXPECT_EQ(Missing(chinese, later), QString());
    EXPECT_TRUE(later.families().contains(ming));
    // Its Latin texts alone never needed a second family, and keep their face after it.
    EXPECT_FALSE(latin.families().contains(ming));
    EXPECT_EQ(QFontInfo(later).family(), QFontInfo(latin).family());
    EXPECT_NE(QFontInfo(later).family(), ming);
    EXPECT_EQ(Missing(QStringLiteral("關於"), menu), QString());
    EXPECT_TRUE(menu.families().contains(ming));
    EXPECT_NE(QFontInfo(menu).family(), ming);
}

}  // namespace
