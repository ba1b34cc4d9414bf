// Our dialog layer in place of the Windows dialog framework. A CDialog owns the state of its
// controls (texts, checks, items, list rows, columns...) in memory; the host that shows it only
// mirrors that state on screen and turns the user's actions into Input records. The product talks
// to controls by id through the handle classes below and never sees a toolkit.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Template.h"

namespace ui {

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// System commands.
constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_MOVE = 0xF010;
constexpr uint32_t SC_MINIMIZE = 0xF020;
constexpr uint32_t SC_RESTORE = 0xF120;

// List-view values.
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;
constexpr uint32_t LVS_EX_GRIDLINES = 0x01;
constexpr uint32_t LVS_EX_CHECKBOXES = 0x04;
constexpr uint32_t LVS_EX_FULLROWSELECT = 0x20;
constexpr uint32_t LVIS_SELECTED = 0x02;
constexpr uint32_t LVIS_FOCUSED = 0x01;
constexpr int LVCFMT_LEFT = 0;

// A message on its way to a dialog, as the message pre-filter sees it.
struct Message {
    enum Kind { LButtonDown, LButtonUp, KeyDown, KeyUp, Other } kind = Other;
    int targetId = 0;  // control id of the target window; 0 is the dialog itself
    int key = 0;       // for key messages, the virtual-key code: VK_RETURN, VK_TAB, VK_DOWN, ...
};

// Virtual-key codes of the keys the dialog layer handles.
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;

// One user action, as the hosts deliver it (the scenario grammar uses the same vocabulary).
struct Input {
    enum Kind {
        Click,     // mouse press and release on a control
        Press,     // a button clicked without the mouse: BM_CLICK, an accessibility action
        Release,   // a left-button release only
        KeyEnter,  // Enter with the focus on `id` (0: wherever the focus is)
        KeyEsc,
        KeySpace,  // space on the focused control `id`
        // Tab (`on`: with Shift, backwards) and the arrow, Home and End keys, with the focus on
        // `id` (0: wherever it is).
        KeyTab,
        KeyUp,
        KeyDown,
        KeyLeft,
        KeyRight,
        KeyHome,
        KeyEnd,
        Type,      // replace the text of an edit or editable combo box (0: the focused one)
        Choose,    // pick an item of a combo box or drop-down list by text; empty text: none
        Check,     // bring a check box to `on`, clicking it when it differs
        Tick,      // a list row's check box
        Select,    // select exactly `rows` of a list; `row`, when not -1, takes the focus
        DblClick,  // double click on `row` of a list; -1: the empty area
        Header,    // click on column `row` of a list's header
        SysMenu,   // system command `id`
        Close,     // the window's close button
        Minimize,
        Restore,
        Activate,  // the user turns to the open window of template `id` (clicks into it)
        Idle,      // nothing: the user waits, and time passes on the clock
    } kind = Click;
    int id = 0;
    std::string text;  // ANSI code page
    int row = -1;
    bool on = false;
    std::vector<int> rows;
};

// List-view notifications that reach the dialog.
struct Notify {
    enum Code { DblClick, ColumnClick } code = DblClick;
    int controlId = 0;
    int item = -1;     // row for DblClick
    int subItem = -1;  // column for ColumnClick
};

struct ListColumn {
    std::string title;
    int format = LVCFMT_LEFT;
    int width = 0;
};

struct ListRow {
    std::vector<std::string> texts;  // one per column slot that was set
    bool checked = false;
    uint32_t state = 0;  // LVIS_SELECTED, LVIS_FOCUSED
    intptr_t data = 0;
};

// The state of one control of a created dialog.
struct ControlState {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Static;
    uint32_t style = 0;
    Rect rect;
    std::string text;  // ANSI; the caption, or the edit's text, or a combo box's edit text
    bool enabled = true;
    bool visible = true;
    int check = 0;  // check box: 0 or 1
    // Combo box and drop-down list.
    std::vector<std::string> items;
    int curSel = -1;
    // List view.
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    uint32_t extendedStyle = 0;
    int topIndex = 0;  // first visible row after scrolling
};

class CDialog;

struct FileDialogRequest {
    bool open = true;              // open-file dialog, else save-file
    std::string filter;            // "Label|pattern|Label|pattern||", as the framework takes it
    std::string defaultExtension;  // without or with the dot, as given by the caller
    std::string initialName;
    uint32_t flags = 0;  // OFN_* values
};
constexpr uint32_t OFN_HIDEREADONLY = 0x4;
constexpr uint32_t OFN_OVERWRITEPROMPT = 0x2;
constexpr uint32_t OFN_EXPLORER = 0x80000;

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_TYPEMASK = 0xF;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr uint32_t MB_DEFBUTTON2 = 0x100;

// The boxes the program shows: a message with OK, or a question with Yes and No.
inline bool IsQuestion(uint32_t type) {
    return (type & MB_TYPEMASK) == MB_YESNO;
}
// The button Enter presses in a box of this type: IDOK, or for a question IDYES unless
// MB_DEFBUTTON2 makes it IDNO.
inline int DefaultButton(uint32_t type) {
    if (!IsQuestion(type))
        return IDOK;
    return (type & MB_DEFBUTTON2) != 0 ? IDNO : IDYES;
}

// What a host provides. One host serves the whole process.
class IHost {
  public:
    virtual ~IHost() = default;
    // Creates the window of `dlg`, runs ui::InitDialog, then serves posted commands and user
    // input until the dialog ends or the program quits; destroys the window. Returns the result.
    virtual intptr_t RunModal(CDialog& dlg) = 0;
    // The state of a control (0: the dialog itself) changed: show it at once.
    virtual void Changed(CDialog& dlg, int controlId) = 0;
    // Shows the box and waits until it is closed: the button that closed it (IDOK, IDYES, IDNO).
    virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t type) = 0;
    // Returns false on cancel.
    virtual bool FileDialog(const FileDialogRequest& request, std::string& path) = 0;
    // Width in pixels of a text in a control's font (for fitting list columns).
    virtual int TextWidth(CDialog& dlg, int controlId, const std::string& text) = 0;
    // Height in pixels of one list row.
    virtual int ListRowHeight(CDialog& dlg, int controlId) = 0;
    // Opens `dlg` as a modeless window over the window of the innermost modal run: creates its
    // window, runs ui::InitDialog, shows it and registers it with that run's loop
    // (ui::AddModeless), then returns. False when the window could not be made. The default
    // keeps the window in memory only, as a host without a screen does.
    virtual bool OpenModeless(CDialog& dlg);
    // Takes a modeless window off its loop (ui::RemoveModeless), destroys it and forgets the
    // dialog's controls.
    virtual void CloseModeless(CDialog& dlg);
    // The dialog layer made `dlg` the window the user works in: bring it to the front.
    virtual void BringToFront(CDialog& dlg) { (void)dlg; }
    // How many whole rows a list shows at once. A list scrolls no further than to show its last
    // row at the bottom. The default reckons two pixels a dialog unit and one row for the header.
    virtual int ListPageRows(CDialog& dlg, int controlId);
};

void SetHost(IHost* host);
IHost& Host();

// The executable's base name, which titles every message box ("Vuvereze").
void SetAppName(const std::string& name);
const std::string& AppName();

// A message box with one OK button and the exclamation icon, titled with the app name.
int MessageBox(const std::string& ansiText);
// A question with Yes and No, No the default (the answer that changes nothing), the
// exclamation icon, titled with the app name: IDYES or IDNO.
int AskYesNo(const std::string& ansiText);

// Ends every modal loop: the program is over. The exit code is kept for the application.
void Quit(int exitCode);
bool Quitting();
int ExitCode();
void ResetQuit();  // for a fresh run in the same process (tests)

class CDataExchange {
  public:
    CDataExchange(CDialog& dlg, bool saveAndValidate)
        : m_dlg(dlg), m_bSaveAndValidate(saveAndValidate) {}
    CDialog& m_dlg;
    const bool m_bSaveAndValidate;
    bool m_failed = false;
    int m_lastControl = 0;
    void Fail() { m_failed = true; }
};

// Data exchange helpers, as the framework's DDX_/DDV_ routines. After a failure they do nothing.
void DDX_Text(CDataExchange& dx, int controlId, std::string& value);
void DDX_Check(CDataExchange& dx, int controlId, int& value);
// The integer range check: outside [min, max] shows "輸入 %1 和 %2 之間的整數。" with the bounds,
// gives the focus to the last exchanged control and fails the exchange.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);

// Handles to controls by id, as the framework's control classes.
class CWndItem {
  public:
    CWndItem(CDialog* dlg, int id) : m_dlg(dlg), m_id(id) {}
    int Id() const { return m_id; }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    void EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    void ShowWindow(bool show);
    bool IsWindowVisible() const;

  protected:
    ControlState& State() const;
    void Changed() const;
    CDialog* m_dlg;
    int m_id;
};

class CButton : public CWndItem {
  public:
    using CWndItem::CWndItem;
    int GetCheck() const;
    void SetCheck(int check);
};

class CEdit : public CWndItem {
  public:
    using CWndItem::CWndItem;
};

class CComboBox : public CWndItem {
  public:
    using CWndItem::CWndItem;
    void ResetContent();
    int AddString(const std::string& text);  // sorted boxes insert in order; returns the index
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);  // -1 clears; returns -1 (CB_ERR) for an index out of range
    std::string GetLBText(int index) const;
};

struct ItemRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Height() const { return bottom - top; }
    int Width() const { return right - left; }
};

class CListCtrl : public CWndItem {
  public:
    using CWndItem::CWndItem;
    int InsertColumn(int index, const std::string& title, int format = LVCFMT_LEFT, int width = -1);
    bool DeleteColumn(int index);
    int GetHeaderItemCount() const;  // the header control's item count
    std::string GetColumnTitle(int index) const;
    void SetColumnTitle(int index, const std::string& title);
    bool SetColumnWidth(int index, int width);  // also LVSCW_AUTOSIZE, LVSCW_AUTOSIZE_USEHEADER
    int GetColumnWidth(int index) const;
    uint32_t SetExtendedStyle(uint32_t style);  // all bits replaced; returns the former
    uint32_t GetExtendedStyle() const;

    int GetItemCount() const;
    int InsertItem(int index, const std::string& text);  // index past the end appends
    bool DeleteItem(int index);
    bool DeleteAllItems();
    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    bool SetCheck(int row, bool checked = true);
    bool GetCheck(int row) const;
    uint32_t GetItemState(int row, uint32_t mask) const;
    bool SetItemState(int row, uint32_t state, uint32_t mask);
    bool SetItemData(int row, intptr_t data);
    intptr_t GetItemData(int row) const;
    bool GetItemRect(int row, ItemRect& rect) const;  // LVIR_BOUNDS, in pixels
    bool Scroll(int dx, int dy);                      // pixels, as LVM_SCROLL
    int GetTopIndex() const;
    // Sorts the rows with a comparator of item data (LVM_SORTITEMS). The sort is stable.
    bool SortItems(const std::function<int(intptr_t, intptr_t)>& compare);
};

// A dialog of the program. Derived classes override the virtual operations as with the
// framework's CDialog; handlers run on the one user-interface thread.
class CDialog {
  public:
    CDialog(const DialogTemplate& dialogTemplate, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    intptr_t DoModal();
    // A modal dialog ends its run; a modeless one closes (DestroyWindow).
    void EndDialog(intptr_t result);

    // A modeless window over the window of the innermost modal run, which keeps running: it
    // takes input and ticks while no other modal window is over it, and closes at the latest
    // when that run ends. False when the host could not make it, or it is open already.
    bool CreateModeless();
    // Closes a modeless window at once: OnDestroy, its timers gone, the window gone.
    void DestroyWindow();
    bool IsModeless() const { return m_modeless; }
    // The window the user works in from now on, brought to the front.
    void BringToFront();

    // Timers on the platform clock, as SetTimer and WM_TIMER: OnTimer(id) every `ms`, served by
    // the modal loop when it has nothing else to do, never while a modal window is over this
    // one. A late timer fires once, not once for every period it missed. Setting an id again
    // restarts it.
    void SetTimer(int id, uint32_t ms);
    void KillTimer(int id);
    struct Timer {
        int id = 0;
        uint32_t interval = 0;
        uint64_t due = 0;  // platform clock, ms
    };
    const std::vector<Timer>& Timers() const { return m_timers; }
    // The loop's side: the first timer due at `now`, rescheduled, as it fires; false when none.
    bool TakeDueTimer(uint64_t now, int& id);

    // --- Overridables.
    virtual bool OnInitDialog();  // true: the focus goes to the first tab stop
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnOK();      // default button (Enter): UpdateData(true), then EndDialog(IDOK)
    virtual void OnCancel();  // Esc, close: EndDialog(IDCANCEL)
    virtual bool OnCommand(int id);  // a button click; true when handled
    virtual bool OnNotify(const Notify& notify);
    // The user changed what a control holds: typed into an edit, chose an item of a combo box
    // or drop-down list, or changed the selected rows of a list (the framework's dialogs hear
    // of these as EN_CHANGE, CBN_SELCHANGE and LVN_ITEMCHANGED). Changes the program makes
    // itself are not reported; a check box sends its command instead.
    virtual void OnUserChange(int id);
    virtual bool PreTranslateMessage(const Message& message);  // true eats the message
    virtual void OnSysCommand(uint32_t id);
    virtual void OnPaint();  // the host paints; a minimised window may draw its icon
    virtual int OnQueryDragIcon();
    virtual void OnTimer(int id);
    // A modeless window is about to close (by itself, by its owner, at the end of the run).
    virtual void OnDestroy();
    // A modal window came up over this one, which takes no input and no ticks until it goes
    // (false), or it went (true), as WM_ENABLE tells a window its owner's dialog disabled it.
    virtual void OnEnable(bool enabled);

    bool UpdateData(bool saveAndValidate = true);
    void PostCommand(int id);  // served before user input, as a posted WM_COMMAND

    // --- Window state.
    const DialogTemplate& Template() const { return m_template; }
    CDialog* Parent() const { return m_parent; }
    bool IsCreated() const { return m_created; }
    bool HasEnded() const { return m_ended; }
    intptr_t Result() const { return m_result; }
    std::string GetWindowText() const { return m_title; }
    void SetWindowText(const std::string& title);
    uint32_t GetStyle() const { return m_style; }
    void ModifyStyle(uint32_t remove, uint32_t add);
    void SetIcon(int iconId, bool big);
    int GetIcon(bool big) const { return big ? m_bigIcon : m_smallIcon; }
    bool IsIconic() const { return m_iconic; }
    void SetIconic(bool iconic);
    // System menu items appended after the standard ones: id 0 is a separator.
    struct MenuItem {
        uint32_t id;
        std::string text;
        bool enabled = true;
    };
    bool HasSystemMenu() const { return (m_style & WS_SYSMENU) != 0; }
    void AppendSystemMenu(uint32_t id, const std::string& text);
    // A grey item cannot be chosen: the user's choice of it does nothing.
    void EnableSystemMenuItem(uint32_t id, bool enable);
    bool IsSystemMenuItemEnabled(uint32_t id) const;
    const std::vector<MenuItem>& SystemMenu() const { return m_systemMenu; }
    int GetFocus() const { return m_focus; }
    void SetFocus(int controlId);
    // The user moved the focus with the keyboard: the hosts show where it is now, as a dialog
    // shows its focus once keys are used, and select the text of an edit it lands on.
    void SetFocusByKey(int controlId);
    bool FocusByKey() const { return m_focusByKey; }
    // The icon the minimised window drew last (x, y in client pixels), for the hosts to show.
    struct IconDraw {
        int icon = 0;
        int x = 0;
        int y = 0;
    };
    void DrawIcon(int icon, int x, int y) { m_lastIconDraw = {icon, x, y}; }
    const IconDraw& LastIconDraw() const { return m_lastIconDraw; }
    void SetClientSize(int width, int height);  // the host tells the client area in pixels
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }

    // --- Controls by id.
    bool HasControl(int id) const;
    ControlState& Control(int id);
    const ControlState& Control(int id) const;
    const std::vector<ControlState>& Controls() const { return m_controls; }
    CWndItem GetDlgItem(int id) { return CWndItem(this, id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void NotifyChanged(int id);

    // --- For hosts.
    std::deque<int>& PostedCommands() { return m_posted; }
    void Create();   // builds the control states from the template
    void Destroy();  // forgets them

  private:
    friend void InitDialog(CDialog& dlg);
    const DialogTemplate& m_template;
    CDialog* m_parent;
    std::vector<ControlState> m_controls;
    std::map<int, size_t> m_index;
    ControlState m_missing;  // what a handle to a control that does not exist reaches
    std::deque<int> m_posted;
    std::vector<MenuItem> m_systemMenu;
    std::string m_title;
    uint32_t m_style = 0;
    int m_bigIcon = 0;
    int m_smallIcon = 0;
    bool m_iconic = false;
    bool m_created = false;
    bool m_ended = false;
    bool m_modeless = false;
    std::vector<Timer> m_timers;
    intptr_t m_result = 0;
    int m_focus = 0;
    bool m_focusByKey = false;
    IconDraw m_lastIconDraw;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

// The part of a modal run that every host shares: create, OnInitDialog, initial focus.
void InitDialog(CDialog& dlg);
// Serves posted commands; returns when the queue is empty or the dialog ended.
void ServePosted(CDialog& dlg);
// What a user action does, the same on every host: the message pre-filter first (mouse releases
// and keys), then the control's own behaviour and the command or notification it sends.
void DispatchInput(CDialog& dlg, const Input& input);

}  // namespace ui
