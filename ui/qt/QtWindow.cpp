// Building the window of a dialog from its template: one widget per control, placed in dialog
// units converted with the dialog font, as the Windows dialog manager lays out a template.
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <cstdlib>

#include "platform/Platform.h"
#include "ui/qt/QtFonts.h"
#include "ui/qt/QtStyle.h"

namespace ui::qt {
namespace {

// The dialog manager's base unit across is the mean width of the Latin letters of the font.
constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The size of a standard icon on the Windows desktop the templates were drawn for.
constexpr int kIconSize = 32;

Qt::WindowFlags FlagsFor(const CDialog& dlg) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((dlg.GetStyle() & WS_SYSMENU) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    return flags;
}

// A report list that scrolls by whole rows as the Windows list view does: the top row is always
// shown whole, and the last page leaves blank space under the last row rather than sliding the
// top row half under the header, which Qt does when the last row is scrolled to.
class CReportList : public QTableWidget {
  public:
    using QTableWidget::QTableWidget;

  protected:
    void scrollContentsBy(int dx, int dy) override {
        QTableWidget::scrollContentsBy(dx, dy);
        AlignTopRow();
    }

    // The Windows list gives no row the focus of its own when the keyboard comes to it: while
    // no row has it, none shows it, Space ticks none and the first Down goes to the first row.
    void focusInEvent(QFocusEvent* event) override {
        if (currentIndex().isValid()) {
            QTableWidget::focusInEvent(event);
            return;
        }
        const QSignalBlocker block(this);
        QTableWidget::focusInEvent(event);
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }

    // Home and End go to the first and the last row, as in the Windows list, not to the ends
    // of the current row as in a table.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const int rows = model()->rowCount(rootIndex());
        if ((action == MoveHome || action == MoveEnd) && rows > 0) {
            const int column = currentIndex().isValid() ? currentIndex().column() : 0;
            return model()->index(action == MoveHome ? 0 : rows - 1, column, rootIndex());
        }
        return QTableWidget::moveCursor(action, modifiers);
    }

    // The focused row carries the dotted focus box across the whole row while the list has the
    // keyboard, as the Windows list draws it, so Space and the arrows act on a row one sees.
    void paintEvent(QPaintEvent* event) override {
        QTableWidget::paintEvent(event);
        if (!hasFocus()) {
            return;
        }
        const QModelIndex current = currentIndex();
        const int columns = model()->columnCount(rootIndex());
        QStyleOptionFocusRect option;
        option.initFrom(this);
        // Shown after a mouse click too: the row Space ticks is always one the user can see.
        option.state |= QStyle::State_KeyboardFocusChange;
        option.backgroundColor = palette().color(QPalette::Base);
        if (!current.isValid() || columns == 0) {
            // No row has the focus yet: the rows' area carries the box, so that a user who
            // tabbed here sees the keys are here.
            option.rect = viewport()->rect().adjusted(1, 1, -1, -1);
        } else {
            const int left = columnViewportPosition(0);
            const int right = columnViewportPosition(columns - 1) + columnWidth(columns - 1);
            option.rect = QRect(left, rowViewportPosition(current.row()), right - left,
                                rowHeight(current.row()));
            if (selectionModel()->isRowSelected(current.row(), rootIndex())) {
                option.backgroundColor = palette().color(QPalette::Highlight);
            }
        }
        QPainter painter(viewport());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    void updateGeometries() override {
        QTableWidget::updateGeometries();
        AlignTopRow();
    }

  private:
    void AlignTopRow() {
        QHeaderView* rows = verticalHeader();
        const int top = verticalScrollBar()->value();
        if (top >= 0 && top < rows->count() && rows->offset() != rows->sectionPosition(top)) {
            rows->setOffsetToSectionPosition(top);
            viewport()->update();
        }
    }
};

// Full-row selection marks the row; a focus box around the one cell that is Qt's current cell
// means nothing to a user of a list that has no cells to pick.
class CRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

}  // namespace

QString ToQt(const std::string& ansi) {
    return QString::fromStdString(platform::AnsiToUtf8(ansi));
}

std::string FromQt(const QString& text) {
    return platform::Utf8ToAnsi(text.toStdString());
}

CQtWindow::CQtWindow(CDialog& dlg, QWidget* parent) : m_dlg(dlg) {
    // Before any widget: a style set later repolishes every widget there is.
    InstallHostStyle();
    const DialogTemplate& t = dlg.Template();
    m_window = new QDialog(parent);
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    TakeButtonPresses(m_window);
    // A face the machine lacks falls back to the desktop's own sans serif at the same size.
    const QFont font = DialogFont(QString::fromStdString(t.fontName), t.fontSize);
    m_window->setFont(font);
    const QFontMetrics metrics(font);
    m_baseX = metrics.horizontalAdvance(QString::fromLatin1(kLetters)) / 52.0;
    m_baseY = metrics.height();

    m_controls.resize(dlg.Controls().size());
    for (size_t i = 0; i < dlg.Controls().size(); ++i) {
        const ControlState& state = dlg.Controls()[i];
        Control& control = m_controls[i];
        control.id = state.id;
        control.kind = state.kind;
        control.widget = CreateWidget(state, control);
        Place(state, control.widget);
        Watch(control.widget);
    }
    // Group boxes are drawn under the controls they frame.
    std::vector<QWidget*> widgets;
    for (Control& control : m_controls) {
        if (control.kind == ControlKind::GroupBox) {
            control.widget->lower();
        }
        widgets.push_back(control.widget);
    }
    NameControls(t, widgets);
    m_window->setFixedSize(ClientWidth(), ClientHeight());
    m_window->installEventFilter(this);
}

CQtWindow::~CQtWindow() {
    delete m_window;
}

int CQtWindow::ClientWidth() const {
    return qRound(m_dlg.Template().cx * m_baseX / 4.0);
}

int CQtWindow::ClientHeight() const {
    return qRound(m_dlg.Template().cy * m_baseY / 8.0);
}

void CQtWindow::Show(bool modal) {
    m_window->setWindowFlags(FlagsFor(m_dlg));
    m_window->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    AddMenuBar();
    PushAll();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void CQtWindow::AddMenuBar() {
    // A window manager's own window menu lacks the items the program adds to the system menu,
    // so they also go where a Linux user looks for them: a Help menu in a menu bar over the
    // dialog. The same ids go back to the program as system commands.
    if (m_menuBar != nullptr || !m_dlg.HasSystemMenu() || m_dlg.SystemMenu().empty()) {
        return;
    }
    m_menuBar = new QMenuBar(m_window);
    QMenu* help = m_menuBar->addMenu(QStringLiteral("&Help"));
    for (const CDialog::MenuItem& item : m_dlg.SystemMenu()) {
        if (item.id == 0) {
            continue;
        }
        // A popup has the application's font, not the window's.
        if (NeedsEmbeddedFace(item.text)) {
            help->setFont(WithEmbeddedFace(help->font()));
        }
        QAction* action = help->addAction(ToQt(item.text));
        action->setData(static_cast<uint>(item.id));
        action->setEnabled(item.enabled);
        m_menuActions.emplace_back(item.id, action);
        const uint32_t id = item.id;
        connect(action, &QAction::triggered, this, [this, id] {
            Input input;
            input.kind = Input::SysMenu;
            input.id = static_cast<int>(id);
            Queue(std::move(input));
        });
    }
    const int bar = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, ClientWidth(), bar);
    for (Control& control : m_controls) {
        control.widget->move(control.widget->x(), control.widget->y() + bar);
    }
    m_top = bar;
    m_window->setFixedSize(ClientWidth(), ClientHeight() + bar);
}

QWidget* CQtWindow::CreateWidget(const ControlState& state, Control& control) {
    const int id = state.id;
    switch (state.kind) {
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(m_window);
            if ((state.style & ES_READONLY) != 0) {
                // A field the user cannot type into is drawn on the dialog's own face, as the
                // Windows edit draws it, not white as if it took input.
                edit->setReadOnly(true);
                QPalette palette = edit->palette();
                for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                    palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
                }
                edit->setPalette(palette);
            }
            // Every change the host did not make itself (it pushes with the signals blocked):
            // typed, or set by an assistive technology through the field's text interface.
            connect(edit, &QLineEdit::textChanged, this,
                    [this, id](const QString& text) { QueueType(id, text); });
            return edit;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(m_window);
            button->setAutoDefault(false);
            // A click leaves the keyboard focus where it was; Tab still reaches the button.
            button->setFocusPolicy(Qt::TabFocus);
            button->setDefault((state.style & BS_DEFPUSHBUTTON) != 0);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(m_window);
        case ControlKind::ComboBox:
        case ControlKind::DropDownList: {
            auto* box = new QComboBox(m_window);
            const bool editable = state.kind == ControlKind::ComboBox;
            box->setInsertPolicy(QComboBox::NoInsert);
            if (editable) {
                // The Windows box completes nothing: what is typed is the text. The box builds a
                // completer over its items for a line edit that has none, so ours comes with an
                // empty one, which the edit deletes when it is taken away.
                auto* edit = new QLineEdit(box);
                edit->setCompleter(new QCompleter(edit));
                box->setLineEdit(edit);
                box->setCompleter(nullptr);
                connect(box->lineEdit(), &QLineEdit::textEdited, this,
                        [this, id](const QString& text) { QueueType(id, text); });
            }
            connect(box, &QComboBox::activated, this, [this, id](int index) {
                const CDialog& dlg = m_dlg;
                const ControlState& now = dlg.Control(id);
                if (index >= 0 && index < static_cast<int>(now.items.size())) {
                    Input input;
                    input.kind = Input::Choose;
                    input.id = id;
                    input.text = now.items[index];
                    Queue(input);
                }
            });
            return box;
        }
        case ControlKind::ListView:
            return CreateList(state, control);
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(m_window);
            group->setAttribute(Qt::WA_TransparentForMouseEvents);
            return group;
        }
        case ControlKind::Icon: {
            // The icon is shown at its own size from the rectangle's corner, whatever the
            // rectangle's size, as the Windows icon control sizes itself to a loaded icon.
            auto* icon = new QLabel(m_window);
            // Drawn from an image of at least the icon's size, at the screen's pixel density,
            // so that it is sharp on a 2x screen too.
            const QPixmap image =
                ResourceIcon(std::atoi(state.text.c_str()))
                    .pixmap(QSize(kIconSize, kIconSize), qGuiApp->devicePixelRatio());
            icon->setPixmap(image);
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            icon->setAttribute(Qt::WA_TransparentForMouseEvents);
            return icon;
        }
        case ControlKind::Static:
        default: {
            auto* label = new QLabel(m_window);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            return label;
        }
    }
}

QWidget* CQtWindow::CreateList(const ControlState& state, Control& control) {
    const int id = control.id;
    auto* list = new CReportList(m_window);
    list->setItemDelegate(new CRowDelegate(list));
    list->verticalHeader()->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setTabKeyNavigation(false);
    list->setWordWrap(false);
    list->setShowGrid(false);
    QHeaderView* header = list->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(1);
    // Rows as high as the text and the check box need, fixed as the Windows list keeps them.
    const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorHeight);
    const int row = qMax(QFontMetrics(m_window->font()).height() + 4, indicator + 4);
    QHeaderView* rows = list->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(row);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    if ((state.style & LVS_SHOWSELALWAYS) == 0) {
        // Without "show selection always" the rows are marked only while the list has the focus.
        QPalette palette = list->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Inactive, QPalette::Base));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Inactive, QPalette::Text));
        list->setPalette(palette);
    }
    connect(header, &QHeaderView::sectionClicked, this, [this, id](int column) {
        Input input;
        input.kind = Input::Header;
        input.id = id;
        input.row = column;
        Queue(input);
    });
    connect(list, &QTableWidget::itemSelectionChanged, this,
            [this, id] { QueueListSelection(id); });
    // Ctrl with an arrow, or Ctrl+Home, moves the focus without the selection.
    connect(list, &QTableWidget::currentCellChanged, this,
            [this, id](int row, int, int previousRow, int) {
                if (row != previousRow) {
                    QueueListSelection(id);
                }
            });
    connect(list, &QTableWidget::itemChanged, this,
            [this, id](QTableWidgetItem* item) { QueueListTick(id, item->row(), item->column()); });
    return list;
}

void CQtWindow::Place(const ControlState& state, QWidget* widget) const {
    const Rect& r = state.rect;
    const int x = qRound(r.x * m_baseX / 4.0);
    const int y = qRound(r.y * m_baseY / 8.0);
    const int width = qRound(r.cx * m_baseX / 4.0);
    int height = qRound(r.cy * m_baseY / 8.0);
    // A combo box's rectangle includes its drop-down; the closed box is as high as its text.
    if (state.kind == ControlKind::ComboBox || state.kind == ControlKind::DropDownList) {
        height = widget->sizeHint().height();
    }
    if (state.kind == ControlKind::Icon) {
        widget->setGeometry(x, y, kIconSize, kIconSize);
        return;
    }
    widget->setGeometry(x, y, width, height);
}

void CQtWindow::Watch(QWidget* widget) {
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (child->window() == m_window) {
            child->installEventFilter(this);
        }
    }
}

CQtWindow::Control* CQtWindow::Find(int id) {
    for (Control& control : m_controls) {
        if (control.id == id && id != IDC_STATIC) {
            return &control;
        }
    }
    return nullptr;
}

const CQtWindow::Control* CQtWindow::Find(int id) const {
    return const_cast<CQtWindow*>(this)->Find(id);
}

int CQtWindow::ControlAt(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr && w != m_window; w = w->parentWidget()) {
        for (const Control& control : m_controls) {
            if (control.widget == w) {
                return control.id;
            }
        }
    }
    return 0;
}

bool CQtWindow::ShowsAtOnce(int controlId) const {
    if (!m_window->isVisible()) {
        return false;
    }
    if (controlId == 0) {
        return true;
    }
    const Control* control = Find(controlId);
    // A list is refilled row by row; it is shown when the handler is done or waits.
    return control != nullptr && control->kind != ControlKind::ListView &&
           !control->widget->isHidden();
}

QWidget* CQtWindow::ControlWidget(int controlId) const {
    const Control* control = Find(controlId);
    return control != nullptr ? control->widget : nullptr;
}

int CQtWindow::TextWidth(int controlId, const std::string& text) const {
    const Control* control = Find(controlId);
    const QFont font = control != nullptr ? control->widget->font() : m_window->font();
    return QFontMetrics(font).horizontalAdvance(ToQt(text));
}

int CQtWindow::PageRows(int controlId) const {
    const Control* control = Find(controlId);
    if (control == nullptr || control->kind != ControlKind::ListView) {
        return 1;
    }
    // From the list's own rectangle rather than its viewport, which Qt sizes only when shown.
    auto* list = static_cast<QTableWidget*>(control->widget);
    const int rows =
        list->height() - 2 * list->frameWidth() - list->horizontalHeader()->sizeHint().height();
    return qMax(1, rows / RowHeight(controlId));
}

int CQtWindow::RowHeight(int controlId) const {
    const Control* control = Find(controlId);
    if (control != nullptr && control->kind == ControlKind::ListView) {
        return static_cast<QTableWidget*>(control->widget)->verticalHeader()->defaultSectionSize();
    }
    return QFontMetrics(m_window->font()).height() + 4;
}

}  // namespace ui::qt
