// The yardstick: the smallest Qt Widgets program that shows one dialog, ended at its first paint.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPushButton>

namespace {

class CFirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            QCoreApplication::exit(0);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CFirstPaint firstPaint;
    application.installEventFilter(&firstPaint);
    QDialog dialog;
    dialog.resize(400, 470);
    auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
    button->move(330, 440);
    dialog.show();
    return application.exec();
}
