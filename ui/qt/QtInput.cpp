// The user's actions on a window, as Input records. Buttons and check boxes never act on their
// own: their mouse and key events are taken here and the dialog layer decides what a click does,
// after its message pre-filter has seen the press and the release. Other widgets keep their own
// handling (a caret placed, a row selected) and what they report is queued as well.
#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

#include "ui/qt/QtFonts.h"
#include "ui/qt/QtWindow.h"

namespace ui::qt {
namespace {

bool IsButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox;
}

// Statics let the mouse through to the dialog, as far as a click is concerned.
int MouseId(int id) {
    return id == IDC_STATIC ? 0 : id;
}

}  // namespace

bool CQtWindow::PumpEvents() {
    // A driver acts only once Qt has delivered everything that is already pending.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !m_inputs.Empty() || !m_dlg.PostedCommands().empty() || Stopped(m_dlg);
}

void CQtWindow::WaitForEvents(int64_t timeoutMs) {
    // A timer of ours wakes the sleep when the dialog layer's next timer is due; it needs no
    // slot, its event is enough.
    QTimer wake;
    if (timeoutMs >= 0) {
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(static_cast<int>(timeoutMs));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void CQtWindow::QueueType(int id, const QString& text) {
    Input input;
    input.kind = Input::Type;
    input.id = id;
    input.text = FromQt(text);
    Queue(std::move(input));
}

void CQtWindow::QueueListSelection(int id) {
    const Control* control = Find(id);
    if (control == nullptr) {
        return;
    }
    auto* list = static_cast<QTableWidget*>(control->widget);
    Input input;
    input.kind = Input::Select;
    input.id = id;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
        if (index.column() == 0) {
            input.rows.push_back(index.row());
        }
    }
    std::sort(input.rows.begin(), input.rows.end());
    input.row = list->currentIndex().row();
    Queue(std::move(input));
}

void CQtWindow::QueueListTick(int id, int row, int column) {
    const Control* control = Find(id);
    if (control == nullptr || column != 0) {
        return;
    }
    const QTableWidgetItem* item = static_cast<QTableWidget*>(control->widget)->item(row, 0);
    const CDialog& dlg = m_dlg;
    const ControlState& state = dlg.Control(id);
    if (item == nullptr || row >= static_cast<int>(state.rows.size())) {
        return;
    }
    const bool on = item->checkState() == Qt::Checked;
    if (on != state.rows[row].checked) {
        Input input;
        input.kind = Input::Tick;
        input.id = id;
        input.row = row;
        input.on = on;
        Queue(std::move(input));
    }
}

bool CQtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == PressEventType()) {
        // Pressed by an assistive technology: a click, unless another window is modal over this
        // one, where no click could reach the button either. A window the modal one owns (a
        // modeless window beside the main window) takes clicks, as Qt lets it.
        const QWidget* modal = QApplication::activeModalWidget();
        bool blocked = modal != nullptr;
        for (const QWidget* owner = m_window; blocked && owner != nullptr;
             owner = owner->parentWidget()) {
            blocked = owner != modal;
        }
        if (!blocked) {
            Input input;
            input.kind = Input::Press;
            input.id = ControlAt(widget);
            Queue(std::move(input));
        }
        return true;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // A press into a window beside the one the user works in turns the user to it,
            // before the press itself is served.
            if (ActiveWindow() != &m_dlg) {
                Input input;
                input.kind = Input::Activate;
                input.id = m_dlg.Template().id;
                Queue(std::move(input));
            }
            return OnMouse(widget, static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            return OnMouse(widget, static_cast<QMouseEvent*>(event));
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return OnKey(widget, static_cast<QKeyEvent*>(event));
        case QEvent::Close:
            if (widget == m_window) {
                // The close button asks the dialog; it decides whether the window goes.
                event->ignore();
                Input input;
                input.kind = Input::Close;
                Queue(std::move(input));
                return true;
            }
            return false;
        case QEvent::WindowStateChange:
            if (widget == m_window && m_window->isMinimized() != m_shownIconic) {
                // The desktop minimised or restored the window; the dialog hears of it as of a
                // system command, and the screen already shows it.
                m_shownIconic = m_window->isMinimized();
                Input input;
                input.kind = m_shownIconic ? Input::Minimize : Input::Restore;
                Queue(std::move(input));
            }
            return false;
        case QEvent::ContextMenu:
            if (widget == m_window) {
                ShowSystemMenu(QCursor::pos());
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool CQtWindow::OnMouse(QWidget* widget, QMouseEvent* event) {
    const int id = ControlAt(widget);
    const Control* control = Find(id);
    const bool button = control != nullptr && IsButton(control->kind);
    // Buttons and disabled controls are ours alone: Qt would click them, or pass the event on to
    // the dialog underneath as a second press.
    const bool eat = button || !widget->isEnabled();
    if (event->button() != Qt::LeftButton) {
        return eat;
    }
    if (event->type() != QEvent::MouseButtonRelease) {
        m_clicks.Press(MouseId(id));
        if (button && widget->isEnabled()) {
            static_cast<QAbstractButton*>(control->widget)->setDown(true);
        }
        // Only the rows' area: the header and the scroll bars are windows of their own.
        auto* list = control != nullptr && control->kind == ControlKind::ListView
                         ? static_cast<QTableWidget*>(control->widget)
                         : nullptr;
        if (event->type() == QEvent::MouseButtonDblClick && list != nullptr &&
            widget == list->viewport()) {
            const QPoint at = list->viewport()->mapFromGlobal(event->globalPosition().toPoint());
            Input input;
            input.kind = Input::DblClick;
            input.id = id;
            input.row = list->indexAt(at).row();
            Queue(std::move(input));
        }
        return eat;
    }
    if (button) {
        static_cast<QAbstractButton*>(control->widget)->setDown(false);
    }
    // The control that had the press keeps the mouse, as a Windows control captures it.
    const QPoint global = event->globalPosition().toPoint();
    QWidget* under = QApplication::widgetAt(global);
    const int underId =
        under != nullptr && under->window() == m_window ? MouseId(ControlAt(under)) : 0;
    const Control* pressed = m_clicks.Pressed() ? Find(m_clicks.PressedId()) : nullptr;
    const bool overPressed = pressed != nullptr && pressed->widget->rect().contains(
                                                       pressed->widget->mapFromGlobal(global));
    Queue(m_clicks.Release(underId, overPressed));
    return eat;
}

bool CQtWindow::OnKey(QWidget* widget, QKeyEvent* event) {
    const int id = ControlAt(widget);
    const Control* control = Find(id);
    const bool press = event->type() == QEvent::KeyPress;
    const int key = event->key();
    if (key == Qt::Key_Space && (event->modifiers() & Qt::AltModifier) != 0) {
        if (press) {
            ShowSystemMenu(m_window->mapToGlobal(QPoint(0, 0)));
        }
        return true;
    }
    Input input;
    input.id = id;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            input.kind = Input::KeyEnter;
            break;
        case Qt::Key_Escape:
            input.kind = Input::KeyEsc;
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // The dialog layer moves the focus along the template's tab stops, as the dialog
            // manager does; Qt's own chain would leave the dialog's focus behind.
            if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0) {
                return false;
            }
            input.kind = Input::KeyTab;
            input.on = key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            // On a button or check box the arrows move the focus in its group, and a closed
            // drop-down list steps through its items with all of them, as on Windows; edits,
            // lists and the box one types into keep their own.
            if (control == nullptr || (event->modifiers() & ~Qt::KeypadModifier) != 0 ||
                !(IsButton(control->kind) || control->kind == ControlKind::DropDownList)) {
                return false;
            }
            input.kind = key == Qt::Key_Up      ? Input::KeyUp
                         : key == Qt::Key_Down  ? Input::KeyDown
                         : key == Qt::Key_Left  ? Input::KeyLeft
                         : key == Qt::Key_Right ? Input::KeyRight
                         : key == Qt::Key_Home  ? Input::KeyHome
                                                : Input::KeyEnd;
            break;
        case Qt::Key_Space:
            if (control != nullptr && control->kind == ControlKind::ListView) {
                return OnListSpace(*control, event);
            }
            // Space types into edits; only buttons are pressed by it here.
            if (control == nullptr || !IsButton(control->kind)) {
                return false;
            }
            input.kind = Input::KeySpace;
            break;
        default:
            return false;
    }
    // A held Tab or arrow goes on moving; Enter, Esc and Space act once.
    const bool moves = input.kind != Input::KeyEnter && input.kind != Input::KeyEsc &&
                       input.kind != Input::KeySpace;
    if (press && (moves || !event->isAutoRepeat())) {
        Queue(std::move(input));
    }
    return true;
}

bool CQtWindow::OnListSpace(const Control& control, QKeyEvent* event) {
    const CDialog& dlg = m_dlg;
    const ControlState& state = dlg.Control(control.id);
    if ((state.extendedStyle & LVS_EX_CHECKBOXES) == 0) {
        return true;  // Qt would toggle the selection, which the Windows list does not
    }
    // Space ticks the box of the row with the focus, whichever cell of it Qt has as current.
    auto* list = static_cast<QTableWidget*>(control.widget);
    const int row = list->currentIndex().row();
    QTableWidgetItem* item = row >= 0 ? list->item(row, 0) : nullptr;
    if (event->type() != QEvent::KeyPress || event->isAutoRepeat() || item == nullptr ||
        row >= static_cast<int>(state.rows.size())) {
        return true;
    }
    // The row shows the new tick at once, so that a second Space before the first is served
    // ticks it back; the state sets the row right once the tick has been served.
    const bool on = item->checkState() != Qt::Checked;
    {
        const QSignalBlocker block(list);
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    Input input;
    input.kind = Input::Tick;
    input.id = control.id;
    input.row = row;
    input.on = on;
    Queue(std::move(input));
    // As the Windows list view does with Space, the row is selected alone.
    Input select;
    select.kind = Input::Select;
    select.id = control.id;
    select.rows = {row};
    select.row = row;
    Queue(std::move(select));
    return true;
}

void CQtWindow::ShowSystemMenu(const QPoint& globalPos) {
    if (!m_dlg.HasSystemMenu()) {
        return;
    }
    QMenu menu(m_window);
    for (const CDialog::MenuItem& item : m_dlg.SystemMenu()) {
        if (item.id == 0) {
            menu.addSeparator();
        } else {
            QAction* action = menu.addAction(ToQt(item.text));
            action->setData(static_cast<uint>(item.id));
            action->setEnabled(item.enabled);
            if (NeedsEmbeddedFace(item.text)) {
                menu.setFont(WithEmbeddedFace(menu.font()));
            }
        }
    }
    if (!menu.isEmpty()) {
        menu.addSeparator();
    }
    menu.addAction(QStringLiteral("Close"))->setData(static_cast<uint>(SC_CLOSE));
    const QAction* chosen = menu.exec(globalPos);
    if (chosen != nullptr) {
        Input input;
        input.kind = Input::SysMenu;
        input.id = static_cast<int>(chosen->data().toUInt());
        Queue(std::move(input));
    }
}

}  // namespace ui::qt
