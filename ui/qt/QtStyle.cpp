#include "ui/qt/QtStyle.h"

#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>

namespace ui::qt {
namespace {

// An icon that asks for its images only when it is first drawn or measured. Qt reads a style's
// icon images by name, which makes it load every image plugin of the machine to ask whether it
// claims a PNG; for an icon that is seldom shown that cost belongs to the first showing.
class CDeferredIconEngine : public QIconEngine {
  public:
    explicit CDeferredIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    // Asking whether there is an icon at all must not read it; the style always has one.
    bool isNull() override { return m_icon.has_value() && m_icon->isNull(); }
    QString key() const override { return QStringLiteral("vuvereze-deferred"); }
    QIconEngine* clone() const override {
        auto* copy = new CDeferredIconEngine(m_make);
        copy->m_icon = m_icon;
        return copy;
    }

  private:
    const QIcon& Icon() {
        if (!m_icon.has_value()) {
            m_icon = m_make();
        }
        return *m_icon;
    }

    std::function<QIcon()> m_make;
    std::optional<QIcon> m_icon;
};

class CHostStyle : public QProxyStyle {
  public:
    explicit CHostStyle(QStyle* base) : QProxyStyle(base) {}

    // Every menu bar makes the icon of its overflow button at once, though the button shows
    // only when the menus do not fit.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (option == nullptr && (icon == SP_ToolBarHorizontalExtensionButton ||
                                  icon == SP_ToolBarVerticalExtensionButton)) {
            QPointer<QStyle> base(baseStyle());
            QPointer<const QWidget> owner(widget);
            return QIcon(new CDeferredIconEngine([base, owner, icon] {
                return base.isNull() ? QIcon() : base->standardIcon(icon, nullptr, owner.data());
            }));
        }
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

}  // namespace

void InstallHostStyle() {
    static bool done = false;
    if (done || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    done = true;
    QStyle* current = QApplication::style();
    // Already wrapped, by us or by whoever made the application; and a style sheet (-stylesheet)
    // has its own wrapper, which Qt would put around ours again.
    if (current == nullptr || qobject_cast<QProxyStyle*>(current) != nullptr ||
        !qApp->styleSheet().isEmpty()) {
        return;
    }
    // The proxy takes the style over; the application then owns the proxy.
    QApplication::setStyle(new CHostStyle(current));
}

QIcon ComputerIcon() {
    // Read by name, Qt would load every image plugin to ask whether it claims a PNG before its
    // own reader takes it; told the format and to look no further, it reads the images alone.
    QIcon icon;
    for (const char* size : {"16", "32"}) {
        QImageReader reader(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/computer-%1.png").arg(size),
            "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon.isNull() ? QApplication::style()->standardIcon(QStyle::SP_ComputerIcon) : icon;
}

namespace {

// Kept for the life of the process: a QIcon must not outlive the application's destruction
// as a static would.
std::map<int, QIcon>& ResourceIcons() {
    static auto* icons = new std::map<int, QIcon>;
    return *icons;
}

}  // namespace

void SetResourceIcon(int resourceId, const QIcon& icon) {
    if (icon.isNull()) {
        ResourceIcons().erase(resourceId);
    } else {
        ResourceIcons()[resourceId] = icon;
    }
}

QIcon ResourceIcon(int resourceId) {
    const auto given = ResourceIcons().find(resourceId);
    return given != ResourceIcons().end() ? given->second : ComputerIcon();
}

}  // namespace ui::qt
