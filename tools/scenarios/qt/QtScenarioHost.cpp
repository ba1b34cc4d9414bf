// Scenarios on the Qt host: the real windows on Qt's offscreen screen, driven by the events a
// user's mouse and keyboard make on the widget a user would hit (presses and releases, keys,
// clicks on list rows, on their check boxes and on header sections, picks from a combo box's
// popup and from the window's menu), and read back from the widgets. Message boxes and file
// dialogs are Qt's own, answered as a user would answer them, reading what they show.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/scenarios/ScenarioHost.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindow.h"

namespace scenarios {
namespace {

using ui::qt::FromQt;
using ui::qt::ToQt;

void EnsureApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "vuvereze-scenarios";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics may already be gone before ours.
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
}

// Types a text the way a keyboard does, one character at a time, Latin or not.
void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class CQtScenarioHost final : public IScenarioHost, public QObject {
  public:
    CQtScenarioHost() { EnsureApplication(); }

    const char* Name() const override { return "qt"; }

    std::string Cannot(const Line& line) const override {
        if (line.Verb() == "expect" && line.Size() > 1) {
            if (line.Arg(1) == "width") {
                return "column widths follow the real list's font, not the headless host's "
                       "6 px a character";
            }
            if (line.Arg(1) == "top") {
                return "how far a list scrolls follows the rows its real font lets a page show";
            }
        }
        if (line.Verb() == "choose" && line.Size() == 3 && !line.tokens[2].quoted &&
            line.Arg(2) == "none") {
            return "a user cannot choose no item of a real drop-down list";
        }
        if (line.Verb() == "answer" && line.Size() == 2 && line.Arg(1).size() >= 2 &&
            line.Arg(1)[1] == ':') {
            return "a Linux file dialog chooses files of this machine, not Windows drive paths";
        }
        int64_t id = 0;
        if (line.Verb() == "sysmenu" && line.Size() == 2 && ParseNumber(line.Arg(1), id) &&
            (id & 0xF) != 0) {
            return "a system command with its low four bits set is no item of any menu a user "
                   "sees; only another program sends it";
        }
        return {};
    }

    int Run(IScenarioActions& actions, const std::function<int()>& program) override {
        m_actions = &actions;
        ui::SetHost(&m_host);
        platform::SetWaitHandler(&m_host);
        m_host.SetIdleHandler([this](ui::CDialog& topmost) { return Step(topmost); });
        m_host.SetBoxHandler([this](QDialog& box) { Answer(box); });
        qApp->installEventFilter(this);
        m_progress.start();
        m_gaveUp = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [this] { Watch(); });
        watch.start(500);
        const int exitCode = program();
        watch.stop();
        qApp->removeEventFilter(this);
        m_host.SetBoxHandler(nullptr);
        m_host.SetIdleHandler(nullptr);
        platform::SetWaitHandler(nullptr);
        return exitCode;
    }

    ui::CDialog* Topmost() const override { return m_host.Topmost(); }
    const std::vector<ui::MessageBoxRecord>& MessageBoxes() const override {
        return m_host.MessageBoxes();
    }

    bool Shown(const ui::CDialog& dlg, int id, ShownControl& shown) override {
        ui::qt::CQtWindow* window = m_host.WindowOf(dlg);
        QWidget* widget = window != nullptr ? window->ControlWidget(id) : nullptr;
        if (id == 0 && window != nullptr) {
            widget = window->Widget();
        }
        if (widget == nullptr) {
            return false;
        }
        shown = ShownControl{};
        shown.kind = id == 0 ? ui::ControlKind::Static : dlg.Control(id).kind;
        shown.enabled = widget->isEnabled();
        shown.visible = !widget->isHidden();
        if (id == 0) {
            shown.text = FromQt(widget->windowTitle());
            return true;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            shown.text = FromQt(edit->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            shown.text = FromQt(button->text());
            shown.checked = button->isChecked();
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            shown.text = FromQt(box->currentText());
            for (int i = 0; i < box->count(); ++i) {
                shown.items.push_back(FromQt(box->itemText(i)));
            }
            shown.curSel = box->currentIndex();
        } else if (auto* list = qobject_cast<QTableWidget*>(widget)) {
            ReadList(list, shown);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            shown.text = FromQt(group->title());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            shown.text = FromQt(label->text());
        }
        return true;
    }

    // Through Qt's accessibility, what its AT-SPI bridge hands a screen reader.
    bool ShownAccessible(const ui::CDialog& dlg, int id, std::string& name,
                         std::string& description) override {
        ui::qt::CQtWindow* window = m_host.WindowOf(dlg);
        QWidget* widget = window != nullptr ? window->ControlWidget(id) : nullptr;
        QAccessibleInterface* accessible =
            widget != nullptr ? QAccessible::queryAccessibleInterface(widget) : nullptr;
        if (accessible == nullptr) {
            return false;
        }
        name = accessible->text(QAccessible::Name).toStdString();
        description = accessible->text(QAccessible::Description).toStdString();
        return true;
    }

    bool ShownFocus(const ui::CDialog& dlg, int& id) override {
        ui::qt::CQtWindow* window = m_host.WindowOf(dlg);
        if (window == nullptr) {
            return false;
        }
        QWidget* focus = window->Widget()->focusWidget();
        id = focus != nullptr ? window->ControlOf(focus) : 0;
        return true;
    }

    std::vector<std::string> TakeProblems() override { return std::move(m_problems); }
    std::string TakeSkipReason() override { return std::move(m_skipReason); }

    bool Shoot(const std::string& path, bool nextBox) override {
        if (nextBox) {
            m_boxShot = path;
            return true;
        }
        ui::CDialog* top = m_host.Topmost();
        ui::qt::CQtWindow* window = top != nullptr ? m_host.WindowOf(*top) : nullptr;
        if (window == nullptr) {
            m_problems.push_back("no window to take a picture of for " + path);
            return false;
        }
        return Save(*window->Widget(), path);
    }

  protected:
    // The file dialog asks on its own whether to replace a file: the user says yes.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show &&
            m_host.ShowingModal() == ui::CQtHost::Modal::FileDialog) {
            if (auto* question = qobject_cast<QMessageBox*>(watched)) {
                QPointer<QMessageBox> box(question);
                QTimer::singleShot(0, question, [this, box] {
                    if (box == nullptr) {
                        return;
                    }
                    QAbstractButton* yes = box->button(QMessageBox::Yes);
                    ClickButton(yes != nullptr ? yes : box->button(QMessageBox::Ok), *box);
                });
            }
        }
        return false;
    }

  private:
    static void ReadList(QTableWidget* list, ShownControl& shown) {
        for (int c = 0; c < list->columnCount(); ++c) {
            const QTableWidgetItem* title = list->horizontalHeaderItem(c);
            shown.columns.push_back(title != nullptr ? FromQt(title->text()) : std::string());
        }
        for (int r = 0; r < list->rowCount(); ++r) {
            ShownRow row;
            for (int c = 0; c < std::max(list->columnCount(), 1); ++c) {
                const QTableWidgetItem* item = list->item(r, c);
                row.texts.push_back(item != nullptr ? FromQt(item->text()) : std::string());
            }
            const QTableWidgetItem* first = list->item(r, 0);
            row.checked = first != nullptr && (first->flags() & Qt::ItemIsUserCheckable) &&
                          first->checkState() == Qt::Checked;
            row.selected = list->selectionModel()->isRowSelected(r, QModelIndex());
            shown.rows.push_back(std::move(row));
        }
    }

    bool Step(ui::CDialog& topmost) {
        m_progress.restart();
        if (m_gaveUp) {
            return false;
        }
        ui::Input input;
        if (!m_actions->NextInput(topmost, input)) {
            return false;
        }
        Perform(topmost, input);
        return true;
    }

    // A line that keeps the program from coming back for the next one fails the story; the
    // user closes whatever popup or box holds the input, and the program is told the user is
    // done. When nothing gets it out, the runner says where it stopped rather than hang.
    void Watch() {
        if (m_progress.elapsed() < LineLimitMs()) {
            return;
        }
        if (m_gaveUp) {
            std::printf("FAIL %s; nothing got the program back, and the runner cannot go on\n",
                        m_actions->TimedOutLine().c_str());
            std::fflush(stdout);
            std::_Exit(1);
        }
        m_gaveUp = true;
        m_actions->LineTimedOut();
        m_progress.restart();
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (qobject_cast<QMessageBox*>(box) != nullptr ||
                qobject_cast<QFileDialog*>(box) != nullptr) {
                box->reject();
            }
        }
    }

    ui::qt::CQtWindow* WindowOf(ui::CDialog& dlg) const { return m_host.WindowOf(dlg); }

    // A control the user can act on: on screen and enabled.
    QWidget* Live(ui::CDialog& dlg, int id) const {
        ui::qt::CQtWindow* window = WindowOf(dlg);
        QWidget* widget = window != nullptr ? window->ControlWidget(id) : nullptr;
        if (widget == nullptr || widget->isHidden() || !widget->isEnabled()) {
            return nullptr;
        }
        return widget;
    }

    // Where a user's click on control `id` lands: whatever widget is under the middle of the
    // control (the control, one inside it, or the window where the control lets the mouse
    // through or is hidden), as Qt's own hit test finds it.
    static void Aim(ui::qt::CQtWindow& window, int id, QWidget*& target, QPoint& at) {
        QDialog* dialog = window.Widget();
        QWidget* control = window.ControlWidget(id);
        const QPoint middle =
            control != nullptr ? control->geometry().center() : dialog->rect().center();
        target = dialog->childAt(middle);
        if (target == nullptr) {
            target = dialog;
        }
        at = target->mapFrom(dialog, middle);
    }

    void Perform(ui::CDialog& dlg, const ui::Input& input) {
        ui::qt::CQtWindow* window = WindowOf(dlg);
        if (window == nullptr) {
            return;
        }
        QWidget* target = nullptr;
        QPoint at;
        switch (input.kind) {
            case ui::Input::Click:
                Aim(*window, input.id, target, at);
                QTest::mouseClick(target, Qt::LeftButton, {}, at);
                break;
            case ui::Input::Check:
                if ((dlg.Control(input.id).check != 0) != input.on) {
                    Aim(*window, input.id, target, at);
                    QTest::mouseClick(target, Qt::LeftButton, {}, at);
                }
                break;
            case ui::Input::Release:
                Aim(*window, input.id, target, at);
                QTest::mouseRelease(target, Qt::LeftButton, {}, at);
                break;
            case ui::Input::Press:
                PressByAccessibility(*window, input.id);
                break;
            case ui::Input::KeyEnter:
            case ui::Input::KeyEsc:
            case ui::Input::KeySpace:
            case ui::Input::KeyTab:
            case ui::Input::KeyUp:
            case ui::Input::KeyDown:
            case ui::Input::KeyLeft:
            case ui::Input::KeyRight:
            case ui::Input::KeyHome:
            case ui::Input::KeyEnd:
                PressKey(dlg, *window, input);
                break;
            case ui::Input::Type:
                TypeText(dlg, input.id, input.text);
                break;
            case ui::Input::Choose:
                ChooseItem(dlg, input.id, input.text);
                break;
            case ui::Input::Tick:
                TickRow(dlg, input.id, input.row, input.on);
                break;
            case ui::Input::Select:
                SelectRows(dlg, input.id, input.rows);
                break;
            case ui::Input::DblClick:
                DoubleClickRow(dlg, input.id, input.row);
                break;
            case ui::Input::Header:
                ClickHeader(dlg, input.id, input.row);
                break;
            case ui::Input::SysMenu:
                PickFromMenu(*window, static_cast<uint32_t>(input.id));
                break;
            case ui::Input::Close:
                window->Widget()->close();
                break;
            case ui::Input::Minimize:
                window->Widget()->showMinimized();
                break;
            case ui::Input::Restore:
                window->Widget()->showNormal();
                break;
            case ui::Input::Activate:
                TurnTo(input);
                break;
            case ui::Input::Idle:
                break;
        }
    }

    // The user turns to another open window: it comes to the front and takes the keyboard,
    // and the dialog layer hears of it as the user's act, in order with the others.
    void TurnTo(const ui::Input& input) {
        for (ui::CDialog* served : ui::ServedDialogs()) {
            if (served->Template().id != input.id) {
                continue;
            }
            if (ui::qt::CQtWindow* window = WindowOf(*served)) {
                window->Widget()->raise();
                window->Widget()->activateWindow();
            }
            ui::QueueInput(*served, input);
            return;
        }
    }

    // A screen reader presses the control through its accessible interface, where the control
    // offers the press action and shows: what it cannot press it leaves alone.
    static void PressByAccessibility(ui::qt::CQtWindow& window, int id) {
        QWidget* widget = window.ControlWidget(id);
        QAccessibleInterface* accessible =
            widget != nullptr ? QAccessible::queryAccessibleInterface(widget) : nullptr;
        QAccessibleActionInterface* actions =
            accessible != nullptr ? accessible->actionInterface() : nullptr;
        const QString press = QAccessibleActionInterface::pressAction();
        if (actions != nullptr && !accessible->state().invisible &&
            actions->actionNames().contains(press)) {
            actions->doAction(press);
        }
    }

    void PressKey(ui::CDialog& dlg, ui::qt::CQtWindow& window, const ui::Input& input) {
        // The user moves the focus there first (with Tab, or a click that is not part of the
        // story), then presses the key.
        if (QWidget* control = Live(dlg, input.id)) {
            control->setFocus(Qt::TabFocusReason);
        }
        QWidget* focus = window.Widget()->focusWidget();
        if (focus == nullptr) {
            focus = window.Widget();
        }
        QTest::keyClick(
            focus, KeyOf(input.kind),
            input.kind == ui::Input::KeyTab && input.on ? Qt::ShiftModifier : Qt::NoModifier);
    }

    static Qt::Key KeyOf(ui::Input::Kind kind) {
        switch (kind) {
            case ui::Input::KeyEnter:
                return Qt::Key_Return;
            case ui::Input::KeyEsc:
                return Qt::Key_Escape;
            case ui::Input::KeyTab:
                return Qt::Key_Tab;
            case ui::Input::KeyUp:
                return Qt::Key_Up;
            case ui::Input::KeyDown:
                return Qt::Key_Down;
            case ui::Input::KeyLeft:
                return Qt::Key_Left;
            case ui::Input::KeyRight:
                return Qt::Key_Right;
            case ui::Input::KeyHome:
                return Qt::Key_Home;
            case ui::Input::KeyEnd:
                return Qt::Key_End;
            default:
                return Qt::Key_Space;
        }
    }

    void TypeText(ui::CDialog& dlg, int id, const std::string& text) {
        // Typing with no control named goes where the keyboard focus is.
        QWidget* control = id != 0 ? Live(dlg, id) : QApplication::focusWidget();
        if (control == nullptr) {
            return;
        }
        QLineEdit* edit = qobject_cast<QLineEdit*>(control);
        if (auto* box = qobject_cast<QComboBox*>(control)) {
            edit = box->lineEdit();
        }
        if (edit == nullptr) {
            return;  // nothing a user could type into
        }
        // As a user selects what is there and types over it: with the mouse, or with the keys
        // where the focus already is.
        if (id != 0) {
            edit->setFocus(Qt::MouseFocusReason);
            edit->selectAll();
        } else {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        }
        const QString wide = ToQt(text);
        if (wide.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
            return;
        }
        TypeKeys(edit, wide);
    }

    void ChooseItem(ui::CDialog& dlg, int id, const std::string& text) {
        auto* box = qobject_cast<QComboBox*>(Live(dlg, id));
        const ui::ControlState& state = dlg.Control(id);
        const auto found = std::find(state.items.begin(), state.items.end(), text);
        if (box == nullptr || found == state.items.end()) {
            return;  // the box does not offer it
        }
        const int index = static_cast<int>(found - state.items.begin());
        // The user opens the list and clicks the entry.
        box->showPopup();
        QAbstractItemView* view = box->view();
        const QModelIndex item = view->model()->index(index, box->modelColumn());
        view->scrollTo(item);
        // Where a user clicks: the part of the entry the popup shows, which for an entry wider
        // than the popup (a long device name) is not the middle of the whole entry.
        const QRect rect = view->visualRect(item).intersected(view->viewport()->rect());
        if (!view->isVisible() || rect.isEmpty()) {
            m_problems.push_back("no entry \"" + platform::AnsiToUtf8(text) +
                                 "\" to click in the list of box " + std::to_string(id));
            box->hidePopup();
            return;
        }
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    static QTableWidget* List(QWidget* widget) { return qobject_cast<QTableWidget*>(widget); }

    void TickRow(ui::CDialog& dlg, int id, int row, bool on) {
        QTableWidget* list = List(Live(dlg, id));
        if (list == nullptr || row < 0 || row >= list->rowCount()) {
            return;
        }
        QTableWidgetItem* item = list->item(row, 0);
        if (item == nullptr || !(item->flags() & Qt::ItemIsUserCheckable) ||
            (item->checkState() == Qt::Checked) == on) {
            return;
        }
        list->scrollToItem(item);
        // The box is where the list's style draws it.
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualItemRect(item);
        option.features =
            QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = item->text();
        option.checkState = item->checkState();
        const QRect box =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        if (box.isEmpty()) {
            m_problems.push_back("no check box to click in row " + std::to_string(row));
            return;
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    }

    // The middle of a row's text, clear of its check box.
    static QPoint RowPoint(QTableWidget* list, int row) {
        const int column = list->columnCount() > 1 ? 1 : 0;
        const QRect cell = list->visualRect(list->model()->index(row, column));
        return column == 1 ? cell.center() : QPoint(cell.right() - 4, cell.center().y());
    }

    // A point of the empty area below the rows; false when the rows fill the list.
    static bool EmptyArea(QTableWidget* list, QPoint& at) {
        const int count = list->rowCount();
        int below = 0;
        if (count > 0) {
            below = list->visualRect(list->model()->index(count - 1, 0)).bottom() + 1;
        }
        at = QPoint(std::min(20, list->viewport()->width() - 1), below + 4);
        return at.y() < list->viewport()->height();
    }

    void SelectRows(ui::CDialog& dlg, int id, const std::vector<int>& rows) {
        QTableWidget* list = List(Live(dlg, id));
        if (list == nullptr) {
            return;
        }
        bool first = true;
        for (int row : rows) {
            if (row < 0 || row >= list->rowCount()) {
                continue;
            }
            list->scrollTo(list->model()->index(row, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton,
                              first ? Qt::NoModifier : Qt::ControlModifier, RowPoint(list, row));
            first = false;
        }
        if (first) {
            // No row: a click on the empty area below the rows clears the selection.
            QPoint empty;
            if (EmptyArea(list, empty)) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, empty);
            } else {
                m_problems.push_back("no empty area to click in list " + std::to_string(id));
            }
        }
    }

    void DoubleClickRow(ui::CDialog& dlg, int id, int row) {
        QTableWidget* list = List(Live(dlg, id));
        if (list == nullptr) {
            return;
        }
        QPoint at;
        if (row >= 0 && row < list->rowCount()) {
            list->scrollTo(list->model()->index(row, 0));
            at = RowPoint(list, row);
        } else if (!EmptyArea(list, at)) {
            m_problems.push_back("no empty area to double click in list " + std::to_string(id));
            return;
        }
        QWidget* viewport = list->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    void ClickHeader(ui::CDialog& dlg, int id, int column) {
        QTableWidget* list = List(Live(dlg, id));
        if (list == nullptr || column < 0 || column >= list->columnCount()) {
            return;
        }
        QHeaderView* header = list->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->viewport()->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // The user opens the window's menu (a right click on the window) and clicks the item.
    void PickFromMenu(ui::qt::CQtWindow& window, uint32_t command) {
        QTimer::singleShot(0, this, [this, command] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                m_problems.push_back("the window's menu did not open");
                return;
            }
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && action->data().toUInt() == command) {
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
                    // A grey item keeps the menu open: the user gives up on it.
                    if (!action->isEnabled()) {
                        menu->close();
                    }
                    return;
                }
            }
            m_problems.push_back("the window's menu has no item " + std::to_string(command));
            menu->close();
        });
        QDialog* dialog = window.Widget();
        const QPoint at(4, dialog->height() - 4);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog->mapToGlobal(at));
        QApplication::sendEvent(dialog, &event);
    }

    // The window as the screen shows it, with the frame a desktop would draw around it.
    bool Save(QWidget& window, const std::string& path) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const QPixmap client = window.grab();
        const int title = 24;
        QPixmap framed(client.width() + 2, client.height() + title + 1);
        framed.fill(QColor(0x3c, 0x6e, 0xb4));
        QPainter painter(&framed);
        painter.drawPixmap(1, title, client);
        painter.setPen(Qt::white);
        QFont font = window.font();
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(8, 0, framed.width() - 16, title), Qt::AlignVCenter | Qt::AlignLeft,
                         window.windowTitle());
        painter.end();
        if (!framed.save(QString::fromStdString(path), "PNG")) {
            m_problems.push_back("cannot write " + path);
            return false;
        }
        return true;
    }

    // --- The host's own boxes.
    void ClickButton(QAbstractButton* button, QDialog& box) {
        if (button == nullptr) {
            m_problems.push_back("a box without the button to press");
            box.reject();
            return;
        }
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void Answer(QDialog& box) {
        m_progress.restart();
        if (auto* message = qobject_cast<QMessageBox*>(&box)) {
            const std::string shown = FromQt(message->text());
            const std::string& text = m_host.MessageBoxes().back().text;
            if (shown != text) {
                m_problems.push_back("the message box shows \"" + platform::AnsiToUtf8(shown) +
                                     "\", not \"" + platform::AnsiToUtf8(text) + "\"");
            }
            const std::string caption = FromQt(message->windowTitle());
            if (caption != m_host.MessageBoxes().back().caption) {
                m_problems.push_back("the message box is titled \"" +
                                     platform::AnsiToUtf8(caption) + "\"");
            }
            if (!m_boxShot.empty()) {
                Save(box, m_boxShot);
                m_boxShot.clear();
            }
            const ui::MessageBoxRecord& asked = m_host.MessageBoxes().back();
            if (ui::IsQuestion(asked.type)) {
                // Unanswered, the user takes the button Enter would press.
                bool answered = false;
                bool yes = m_actions->AnswerQuestion(asked, answered);
                if (!answered)
                    yes = ui::DefaultButton(asked.type) == ui::IDYES;
                ClickButton(message->button(yes ? QMessageBox::Yes : QMessageBox::No), box);
                return;
            }
            ClickButton(message->button(QMessageBox::Ok), box);
            return;
        }
        if (auto* files = qobject_cast<QFileDialog*>(&box)) {
            AnswerFileDialog(*files);
            return;
        }
        m_problems.push_back("a box nobody asked for");
        box.reject();
    }

    static QAbstractButton* ButtonOf(QFileDialog& box, QDialogButtonBox::ButtonRole role) {
        auto* buttons = box.findChild<QDialogButtonBox*>();
        if (buttons == nullptr) {
            return nullptr;
        }
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == role) {
                return button;
            }
        }
        return nullptr;
    }

    void AnswerFileDialog(QFileDialog& box) {
        std::string path;
        bool answered = false;
        const bool accepted =
            m_actions->AnswerFileDialog(m_host.FileDialogs().back().request, path, answered);
        if (!answered || !accepted) {
            ClickButton(ButtonOf(box, QDialogButtonBox::RejectRole), box);
            return;
        }
        if (AnswerIsAFolder(path)) {
            m_skipReason = "a file dialog given a folder opens it instead of choosing it";
            ClickButton(ButtonOf(box, QDialogButtonBox::RejectRole), box);
            return;
        }
        auto* name = box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name == nullptr) {
            m_problems.push_back("a file dialog without a file name box");
            box.reject();
            return;
        }
        // The user pastes the whole path over what the box holds: typed key by key, the dialog
        // would wander into each folder named on the way.
        name->setFocus(Qt::MouseFocusReason);
        QApplication::clipboard()->setText(ToQt(path));
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        // The name box completes what is typed in a popup of its own; the user moves on.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        ClickButton(ButtonOf(box, QDialogButtonBox::AcceptRole), box);
        if (box.isVisible()) {
            m_problems.push_back("the file dialog did not take \"" + path + "\"");
            box.reject();
        }
    }

    ui::CQtHost m_host;
    IScenarioActions* m_actions = nullptr;
    std::vector<std::string> m_problems;
    std::string m_skipReason;
    std::string m_boxShot;     // where the next message box's picture goes
    QElapsedTimer m_progress;  // since the program last came back for a line or a box came up
    bool m_gaveUp = false;
};

}  // namespace

std::unique_ptr<IScenarioHost> MakeQtScenarioHost() {
    return std::make_unique<CQtScenarioHost>();
}

}  // namespace scenarios
