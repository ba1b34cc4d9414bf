// Showing the dialog's state: each push copies what the program set into the widget, touching
// only what differs, with the widget's signals blocked so that showing a change is never taken
// for a user's action.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>

#include "ui/qt/QtFonts.h"
#include "ui/qt/QtWindow.h"

namespace ui::qt {
namespace {

void SetLineText(QLineEdit* edit, const QString& text) {
    if (edit->text() == text) {
        return;
    }
    // Keep the caret where the user had it, as far as the new text allows.
    const int caret = edit->cursorPosition();
    edit->setText(text);
    if (edit->hasFocus()) {
        edit->setCursorPosition(qMin(caret, static_cast<int>(text.size())));
    }
}

const std::string& CellText(const ListRow& row, size_t column) {
    static const std::string kEmpty;
    return column < row.texts.size() ? row.texts[column] : kEmpty;
}

}  // namespace

void CQtWindow::Push(int controlId) {
    if (controlId == 0) {
        PushWindow();
        return;
    }
    if (Control* control = Find(controlId)) {
        PushControl(*control);
    }
}

void CQtWindow::PushAll() {
    PushWindow();
    for (Control& control : m_controls) {
        PushControl(control);
    }
}

// The window's font gains the embedded face with its first text beyond ASCII (the title too,
// which a desktop may draw with it), so that the program's Chinese texts are drawn with it
// rather than with whatever CJK face the machine would pick. Windows with only Latin texts never
// pay for the fallback lookups a second family brings.
void CQtWindow::NoteText(const std::string& text) {
    if (!m_embeddedFace && NeedsEmbeddedFace(text)) {
        m_embeddedFace = true;
        m_window->setFont(WithEmbeddedFace(m_window->font()));
    }
}

void CQtWindow::NoteTexts(const ControlState& state) {
    NoteText(state.text);
    for (const std::string& item : state.items) {
        NoteText(item);
    }
    for (const ListColumn& column : state.columns) {
        NoteText(column.title);
    }
    for (const ListRow& row : state.rows) {
        for (const std::string& text : row.texts) {
            NoteText(text);
        }
    }
}

void CQtWindow::PushWindow() {
    const std::string title = m_dlg.GetWindowText();
    NoteText(title);
    if (title != m_shownTitle || m_window->windowTitle().isEmpty()) {
        m_shownTitle = title;
        m_window->setWindowTitle(ToQt(title));
    }
    // The focus moves only when the program moved it, not whenever the window is shown anew.
    const int focus = m_dlg.GetFocus();
    if (focus != m_shownFocus) {
        m_shownFocus = focus;
        // A move by the keyboard is Qt's Tab: the window shows where the focus is from now on,
        // and an edit it lands on has its text selected, as in a Windows dialog.
        // (Qt marks the window so itself only inside its own Tab key event.)
        if (Control* control = Find(focus)) {
            if (m_dlg.FocusByKey()) {
                m_window->setAttribute(Qt::WA_KeyboardFocusChange);
            }
            control->widget->setFocus(m_dlg.FocusByKey() ? Qt::TabFocusReason
                                                         : Qt::OtherFocusReason);
        }
    }
    if (m_dlg.GetIcon(true) != m_shownIcon) {
        m_shownIcon = m_dlg.GetIcon(true);
        m_window->setWindowIcon(m_shownIcon != 0 ? ResourceIcon(m_shownIcon) : QIcon());
    }
    for (const auto& [id, action] : m_menuActions) {
        const bool enabled = m_dlg.IsSystemMenuItemEnabled(id);
        if (action->isEnabled() != enabled) {
            action->setEnabled(enabled);
        }
    }
    if (m_dlg.IsIconic() != m_shownIconic && m_window->isVisible()) {
        m_shownIconic = m_dlg.IsIconic();
        if (m_shownIconic) {
            m_window->showMinimized();
        } else {
            m_window->showNormal();
        }
    }
}

void CQtWindow::PushControl(Control& control) {
    // The windows keep the dialog's order of controls, so statics, which share one id, find
    // their state too.
    const size_t index = static_cast<size_t>(&control - m_controls.data());
    const CDialog& dlg = m_dlg;
    if (index >= dlg.Controls().size()) {
        return;
    }
    const ControlState& state = dlg.Controls()[index];
    if (!m_embeddedFace) {
        NoteTexts(state);
    }
    QWidget* widget = control.widget;
    const QSignalBlocker block(widget);
    switch (control.kind) {
        case ControlKind::Edit:
            SetLineText(static_cast<QLineEdit*>(widget), ToQt(state.text));
            break;
        case ControlKind::PushButton:
        case ControlKind::CheckBox: {
            auto* button = static_cast<QAbstractButton*>(widget);
            const QString text = ToQt(state.text);
            if (button->text() != text) {
                button->setText(text);
            }
            if (control.kind == ControlKind::CheckBox) {
                button->setChecked(state.check != 0);
            }
            break;
        }
        case ControlKind::ComboBox:
        case ControlKind::DropDownList:
            PushCombo(control, state);
            break;
        case ControlKind::ListView:
            PushList(control, state);
            break;
        case ControlKind::GroupBox: {
            auto* group = static_cast<QGroupBox*>(widget);
            if (group->title() != ToQt(state.text)) {
                group->setTitle(ToQt(state.text));
            }
            break;
        }
        case ControlKind::Static: {
            auto* label = static_cast<QLabel*>(widget);
            if (label->text() != ToQt(state.text)) {
                label->setText(ToQt(state.text));
                // Our fonts may run wider than the one the window was drawn for: a label grows
                // to its text rather than cutting it (the windows leave room after labels).
                const int needed = label->sizeHint().width();
                if (needed > label->width()) {
                    label->resize(needed, label->height());
                }
            }
            break;
        }
        case ControlKind::Icon:
            break;
    }
    if ((!state.enabled && widget->isEnabled()) || (!state.visible && !widget->isHidden())) {
        KeepFocusOff(widget);
    }
    if (widget->isEnabled() != state.enabled) {
        widget->setEnabled(state.enabled);
    }
    if (widget->isHidden() == state.visible) {
        widget->setVisible(state.visible);
    }
}

void CQtWindow::KeepFocusOff(QWidget* widget) {
    // Qt hands the focus of a control that goes grey or away to the next one on its own, where
    // a later Enter would press a button the user never chose. The dialog layer says where the
    // focus is; until it moves it, the keys go to the window itself.
    QWidget* focus = m_window->focusWidget();
    if (focus != nullptr && (focus == widget || widget->isAncestorOf(focus))) {
        m_window->setFocus(Qt::OtherFocusReason);
    }
}

void CQtWindow::PushCombo(Control& control, const ControlState& state) {
    auto* box = static_cast<QComboBox*>(control.widget);
    QLineEdit* edit = box->lineEdit();
    const QSignalBlocker blockEdit(edit);
    // Changing the selection rewrites the edit field; the caret of a text that comes back the
    // same stays where the user had it.
    const QString before = edit != nullptr ? edit->text() : QString();
    const int caret = edit != nullptr ? edit->cursorPosition() : 0;
    if (!control.itemsValid || control.items != state.items) {
        box->clear();
        for (const std::string& item : state.items) {
            box->addItem(ToQt(item));
        }
        control.items = state.items;
        control.itemsValid = true;
    }
    if (box->currentIndex() != state.curSel) {
        box->setCurrentIndex(state.curSel);
    }
    if (edit != nullptr) {
        const QString text = ToQt(state.text);
        if (edit->text() != text) {
            edit->setText(text);
        }
        if (text == before && edit->cursorPosition() != caret) {
            edit->setCursorPosition(caret);
        }
    }
}

void CQtWindow::PushList(Control& control, const ControlState& state) {
    auto* list = static_cast<QTableWidget*>(control.widget);
    ShownList& shown = control.list;
    if (!shown.valid || shown.extendedStyle != state.extendedStyle) {
        // Check boxes come and go with the style: every row is built anew.
        list->setShowGrid((state.extendedStyle & LVS_EX_GRIDLINES) != 0);
        list->setRowCount(0);
        shown.cells.clear();
        shown.extendedStyle = state.extendedStyle;
        shown.valid = true;
    }
    QHeaderView* header = list->horizontalHeader();
    const int columns = static_cast<int>(state.columns.size());
    if (list->columnCount() != columns) {
        list->setColumnCount(columns);
        shown.columns.resize(columns);
        for (std::vector<std::string>& row : shown.cells) {
            row.resize(columns);
        }
        for (int c = 0; c < columns; ++c) {
            shown.columns[c].width = -1;  // whatever Qt gave a new section is not ours
        }
    }
    for (int c = 0; c < columns; ++c) {
        const ListColumn& column = state.columns[c];
        QTableWidgetItem* title = list->horizontalHeaderItem(c);
        if (title == nullptr || shown.columns[c].title != column.title) {
            if (title == nullptr) {
                title = new QTableWidgetItem;
                title->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                list->setHorizontalHeaderItem(c, title);
            }
            title->setText(ToQt(column.title));
            shown.columns[c].title = column.title;
        }
        if (shown.columns[c].width != column.width) {
            header->resizeSection(c, column.width);
            shown.columns[c].width = column.width;
        }
    }
    PushListRows(control, state);
    PushListSelection(control, state);
    if (shown.topIndex != state.topIndex) {
        shown.topIndex = state.topIndex;
        // The scroll range follows the rows only after a layout, which Qt would do later.
        list->doItemsLayout();
        list->verticalScrollBar()->setValue(state.topIndex);
    }
}

void CQtWindow::PushListRows(Control& control, const ControlState& state) {
    auto* list = static_cast<QTableWidget*>(control.widget);
    ShownList& shown = control.list;
    const int rows = static_cast<int>(state.rows.size());
    const int columns = static_cast<int>(state.columns.size());
    const bool boxes = (state.extendedStyle & LVS_EX_CHECKBOXES) != 0;
    if (list->rowCount() != rows) {
        list->setRowCount(rows);
    }
    shown.cells.resize(rows, std::vector<std::string>(columns));
    for (int r = 0; r < rows; ++r) {
        const ListRow& row = state.rows[r];
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem* item = list->item(r, c);
            const std::string& text = CellText(row, c);
            if (item == nullptr) {
                item = new QTableWidgetItem(ToQt(text));
                Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
                if (c == 0 && boxes) {
                    flags |= Qt::ItemIsUserCheckable;
                    item->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
                }
                item->setFlags(flags);
                list->setItem(r, c, item);
                shown.cells[r][c] = text;
            } else if (shown.cells[r][c] != text) {
                item->setText(ToQt(text));
                shown.cells[r][c] = text;
            }
            // The widget's own toggle is not trusted: the state says whether the row is ticked.
            if (c == 0 && boxes) {
                const Qt::CheckState check = row.checked ? Qt::Checked : Qt::Unchecked;
                if (item->checkState() != check) {
                    item->setCheckState(check);
                }
            }
        }
    }
}

void CQtWindow::PushListSelection(Control& control, const ControlState& state) {
    auto* list = static_cast<QTableWidget*>(control.widget);
    QItemSelectionModel* model = list->selectionModel();
    const int rows = static_cast<int>(state.rows.size());
    const int columns = static_cast<int>(state.columns.size());
    if (columns == 0) {
        return;
    }
    bool differs = false;
    QItemSelection selection;
    int focused = -1;
    for (int r = 0; r < rows; ++r) {
        const bool wanted = (state.rows[r].state & LVIS_SELECTED) != 0;
        const QModelIndex first = list->model()->index(r, 0);
        differs = differs || model->isSelected(first) != wanted;
        if (wanted) {
            selection.select(first, list->model()->index(r, columns - 1));
        }
        if ((state.rows[r].state & LVIS_FOCUSED) != 0) {
            focused = r;
        }
    }
    if (differs) {
        model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    if (focused >= 0 && model->currentIndex().row() != focused) {
        model->setCurrentIndex(list->model()->index(focused, 0), QItemSelectionModel::NoUpdate);
    } else if (focused < 0 && model->currentIndex().isValid()) {
        model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

}  // namespace ui::qt
