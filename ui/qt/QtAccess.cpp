// What a screen reader or any AT-SPI client sees of the windows' controls: their names, as the
// dialog layer's rule gives them, and how it presses the buttons and check boxes. Qt's own
// button interface clicks a button by animating it for a tenth of a second and lets the button
// act on its own afterwards; ours hands the press to the window at once, so the dialog layer
// clicks it as a mouse click would, in order with the rest of the user's input.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/Accessible.h"
#include "ui/qt/QtWindow.h"

namespace ui::qt {
namespace {

constexpr const char* kPressable = "vuvereze-pressable";

class CButtonAccessible : public QAccessibleWidget {
  public:
    CButtonAccessible(QAbstractButton* button, QAccessible::Role role)
        : QAccessibleWidget(button, role) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty()
                       ? QString::fromStdString(WithoutMnemonics(Button()->text().toStdString()))
                       : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = Button()->isDown();
        if (role() == QAccessible::CheckBox) {
            s.checkable = true;
            s.checked = Button()->isChecked();
        } else if (auto* push = qobject_cast<const QPushButton*>(Button())) {
            s.defaultButton = push->isDefault();
        }
        return s;
    }

    // A check box is pressed by its toggle as well, the one action a reader offers for it.
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            if (role() == QAccessible::CheckBox) {
                names << toggleAction();
            }
            names << pressAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction() && action != toggleAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (widget()->isEnabled()) {
            QEvent press(PressEventType());
            QCoreApplication::sendEvent(widget(), &press);
        }
    }

  private:
    const QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// The controls of our windows, known by their window: Qt may ask for a button's interface while
// the button is being made (a default button announces itself), before anything else is set.
QAccessibleInterface* ControlAccessibleFactory(const QString&, QObject* object) {
    const QObject* window = object != nullptr ? object->parent() : nullptr;
    if (window == nullptr || !window->property(kPressable).toBool()) {
        return nullptr;
    }
    if (auto* box = qobject_cast<QCheckBox*>(object)) {
        return new CButtonAccessible(box, QAccessible::CheckBox);
    }
    if (auto* button = qobject_cast<QPushButton*>(object)) {
        return new CButtonAccessible(button, QAccessible::Button);
    }
    return TextAccessible(object);
}

}  // namespace

QEvent::Type PressEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void TakeButtonPresses(QWidget* window) {
    // The factory goes in before any interface of the window's buttons is asked for: Qt keeps
    // the first one made for a widget.
    static const bool installed = [] {
        QAccessible::installFactory(&ControlAccessibleFactory);
        return true;
    }();
    (void)installed;
    window->setProperty(kPressable, true);
}

void NameControls(const DialogTemplate& t, const std::vector<QWidget*>& widgets) {
    for (size_t i = 0; i < t.controls.size() && i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        // A button, check box or label reads its own caption, whatever the program sets it to.
        const int label = NamingLabel(t, i);
        if (label >= 0 || !t.controls[i].accessibleName.empty()) {
            widget->setAccessibleName(QString::fromStdString(AccessibleName(t, i)));
        }
        widget->setAccessibleDescription(QString::fromStdString(AccessibleDescription(t, i)));
        // The label that names a control is its buddy, which AT-SPI tells as the control's
        // "labelled by" relation; a label names one control.
        auto* shown =
            label >= 0 ? qobject_cast<QLabel*>(widgets[static_cast<size_t>(label)]) : nullptr;
        if (shown != nullptr && shown->buddy() == nullptr) {
            shown->setBuddy(widget);
        }
    }
}

}  // namespace ui::qt
