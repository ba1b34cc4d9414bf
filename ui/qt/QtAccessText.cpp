// The controls a screen reader reads as text of their own: the combo boxes and drop-down lists,
// and the fields the user cannot type into. Qt's own combo box interface on Linux gives the
// selected item as the box's name and has no name of its own for it; ours names the box as its
// label does and gives the item as its text. Qt's own line edit calls a read-only field editable
// as well; ours is text that is read only, without the editing interface.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

#include "ui/qt/QtWindow.h"

namespace ui::qt {
namespace {

// A text that the user reads and does not edit here: no caret, no selection to make.
class CShownText : public QAccessibleTextInterface {
  public:
    virtual QString Shown() const = 0;

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const QString shown = Shown();
        if (end < 0 || end > shown.size()) {
            end = static_cast<int>(shown.size());
        }
        return start >= 0 && start < end ? shown.mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }
};

// A combo box or drop-down list: named by its label, its selected item (or typed text) read as
// its text, its list and, where one can type, its edit field as its children.
class CComboAccessible : public QAccessibleWidget, public CShownText {
  public:
    explicit CComboAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return Box()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        QObject* child = nullptr;
        if (index == 0) {
            child = Box()->view();
        } else if (index == 1 && Box()->isEditable()) {
            child = Box()->lineEdit();
        }
        return child != nullptr ? QAccessible::queryAccessibleInterface(child) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        if (child->object() == Box()->view()) {
            return 0;
        }
        return Box()->isEditable() && child->object() == Box()->lineEdit() ? 1 : -1;
    }
    // The box one can type into has the focus for its edit field.
    QAccessibleInterface* focusChild() const override {
        return Box()->isEditable() ? child(1) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return widget()->accessibleName();
        }
        return t == QAccessible::Value ? Shown() : QAccessibleWidget::text(t);
    }
    using CShownText::text;
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Box()->view()->isVisible();
        s.editable = Box()->isEditable();
        return s;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (Box()->view()->isVisible()) {
            Box()->hidePopup();
        } else if (Box()->isEnabled()) {
            Box()->showPopup();
        }
    }

    QString Shown() const override {
        return Box()->isEditable() ? Box()->lineEdit()->text() : Box()->currentText();
    }

  private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

// A field the program fills and the user only reads ("Detected Width:").
class CReadOnlyAccessible : public QAccessibleWidget, public CShownText {
  public:
    explicit CReadOnlyAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Shown() : QAccessibleWidget::text(t);
    }
    using CShownText::text;
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        return s;
    }
    QString Shown() const override { return static_cast<QLineEdit*>(widget())->text(); }
};

}  // namespace

QAccessibleInterface* TextAccessible(QObject* object) {
    if (auto* box = qobject_cast<QComboBox*>(object)) {
        return new CComboAccessible(box);
    }
    auto* edit = qobject_cast<QLineEdit*>(object);
    if (edit != nullptr && edit->isReadOnly()) {
        return new CReadOnlyAccessible(edit);
    }
    return nullptr;
}

}  // namespace ui::qt
