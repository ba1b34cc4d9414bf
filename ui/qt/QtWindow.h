// One dialog on screen: the QDialog built from a CDialog's template, the dialog's state pushed
// into its widgets, and the user's actions on them queued as Input records for the modal loop.
// Nothing is dispatched from inside a Qt event handler: the loop takes the queue in order, as a
// message queue would serve it.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QString>
#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/HostLoop.h"

class QAccessibleInterface;
class QDialog;
class QIcon;
class QPixmap;
class QKeyEvent;
class QMouseEvent;
class QWidget;
class QMenuBar;
class QAction;

namespace ui::qt {

// ANSI texts of the dialog state and the UTF-16 of Qt.
QString ToQt(const std::string& ansi);
std::string FromQt(const QString& text);

// The images of an icon resource, which the program gives once before its first window; an
// icon nobody gave (or given a null icon again) is the desktop's computer icon (ComputerIcon).
void SetResourceIcon(int resourceId, const QIcon& icon);
QIcon ResourceIcon(int resourceId);

// The desktop's computer icon: the style's own 16 and 32 px images, read without Qt's search of
// its image plugins.
QIcon ComputerIcon();

// Lets assistive technologies press the buttons and check boxes made in `window` after this
// (QtAccess.cpp): a press reaches the button as an event of PressEventType.
void TakeButtonPresses(QWidget* window);
QEvent::Type PressEventType();

// The interface a screen reader reads a combo box or a read-only field through
// (QtAccessText.cpp); nullptr for any other object. The field must be read only already.
QAccessibleInterface* TextAccessible(QObject* object);

// Gives each control's widget (in the template's order) the name and description a screen
// reader reads for it (ui/Accessible.h), and each label that names a control that control as
// its buddy.
void NameControls(const DialogTemplate& t, const std::vector<QWidget*>& widgets);

class CQtWindow : public QObject, public IModalWindow {
  public:
    CQtWindow(CDialog& dlg, QWidget* parent);
    ~CQtWindow() override;
    CQtWindow(const CQtWindow&) = delete;
    CQtWindow& operator=(const CQtWindow&) = delete;

    CDialog& Dialog() const { return m_dlg; }
    QDialog* Widget() const { return m_window; }
    int ClientWidth() const;
    int ClientHeight() const;

    // A modal window blocks every other window of the program; a modeless one blocks none.
    void Show(bool modal);
    // Copies the state of a control (0: the window's title and focus) to the screen.
    void Push(int controlId);
    void PushAll() override;
    // True when the control is a visible one whose change the user should see at once.
    bool ShowsAtOnce(int controlId) const;

    // The modal loop's side (QtInput.cpp).
    CInputQueue& Inputs() override { return m_inputs; }
    bool PumpEvents() override;
    void WaitForEvents(int64_t timeoutMs) override;

    // The widget standing for a control; nullptr for an id the dialog does not have.
    QWidget* ControlWidget(int controlId) const;
    // The control a widget of this window belongs to; 0 for the window itself.
    int ControlOf(QWidget* widget) const { return ControlAt(widget); }

    int TextWidth(int controlId, const std::string& text) const;
    int RowHeight(int controlId) const;
    int PageRows(int controlId) const;  // whole rows a list shows at once

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a list view shows, so that a push touches only the cells that changed.
    struct ShownList {
        bool valid = false;
        uint32_t extendedStyle = 0;
        int topIndex = 0;
        std::vector<ListColumn> columns;
        std::vector<std::vector<std::string>> cells;
    };
    struct Control {
        int id = IDC_STATIC;
        ControlKind kind = ControlKind::Static;
        QWidget* widget = nullptr;
        bool itemsValid = false;  // combo boxes: `items` is what the box holds
        std::vector<std::string> items;
        ShownList list;
    };

    // Creation (QtWindow.cpp).
    QWidget* CreateWidget(const ControlState& state, Control& control);
    QWidget* CreateList(const ControlState& state, Control& control);
    void Place(const ControlState& state, QWidget* widget) const;
    void Watch(QWidget* widget);
    void AddMenuBar();
    Control* Find(int id);
    const Control* Find(int id) const;
    int ControlAt(QWidget* widget) const;

    // Pushing state (QtPush.cpp).
    void PushControl(Control& control);
    void PushWindow();
    void PushCombo(Control& control, const ControlState& state);
    void PushList(Control& control, const ControlState& state);
    void PushListRows(Control& control, const ControlState& state);
    void PushListSelection(Control& control, const ControlState& state);
    void KeepFocusOff(QWidget* widget);
    void NoteText(const std::string& text);
    void NoteTexts(const ControlState& state);

    // Input (QtInput.cpp).
    void Queue(Input input) { m_inputs.Queue(std::move(input)); }
    void QueueType(int id, const QString& text);
    void QueueListSelection(int id);
    void QueueListTick(int id, int row, int column);
    bool OnMouse(QWidget* widget, QMouseEvent* event);
    bool OnKey(QWidget* widget, QKeyEvent* event);
    bool OnListSpace(const Control& control, QKeyEvent* event);
    void ShowSystemMenu(const QPoint& globalPos);

    CDialog& m_dlg;
    QDialog* m_window = nullptr;
    double m_baseX = 1.0;  // pixels per four dialog units across
    double m_baseY = 1.0;  // pixels per eight dialog units down
    std::vector<Control> m_controls;
    CInputQueue m_inputs;
    int m_shownFocus = 0;
    std::string m_shownTitle;
    bool m_shownIconic = false;
    int m_shownIcon = 0;          // the icon resource the window shows
    bool m_embeddedFace = false;  // the window's font has the embedded face behind it
    QMenuBar* m_menuBar = nullptr;
    std::vector<std::pair<uint32_t, QAction*>> m_menuActions;  // the menu bar's items
    int m_top = 0;  // the menu bar's height over the template's client area
    CClickRule m_clicks;
};

}  // namespace ui::qt
