// One dialog on screen: the real Win32 dialog created from the template of the dialog's number,
// its controls paired with the dialog's control states, the state pushed into them, and what the
// user does to them queued as Input records for the modal loop. Nothing is dispatched from inside
// a window procedure: the loop takes the queue in order, as the message queue delivered it.
#pragma once

#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/HostLoop.h"

#include "ui/win32/Win32Access.h"
#include "ui/win32/WindowsApi.h"

namespace ui {
class CWin32Host;
}

namespace ui::win32 {

// Moves a window that is about to show over the middle of `owner` (or of the work area when
// there is none on screen), kept whole on the screen.
void CentreWindow(HWND hwnd, HWND owner);

// The text a window shows.
std::wstring TextOf(HWND hwnd);

class CWin32Window : public IModalWindow {
  public:
    CWin32Window(CWin32Host& host, CDialog& dlg, HWND owner);
    ~CWin32Window();
    CWin32Window(const CWin32Window&) = delete;
    CWin32Window& operator=(const CWin32Window&) = delete;

    // Creates the window from its template (hidden). False when the system refused.
    bool Create();
    // A modal window disables every other window of the program until it goes, as an
    // application-modal window; a modeless one disables none.
    void Show(bool modal);
    HWND Handle() const { return m_hwnd; }
    HWND Owner() const { return m_owner; }
    CDialog& Dialog() const { return m_dlg; }

    // Copies a control's state (0: the window's title, focus, icons, menu) to the screen. Lists
    // are refilled row by row, so they are only marked and shown at the next FlushLists.
    void Push(int controlId);
    void PushAll() override;
    void FlushLists();

    // The modal loop's side (Win32Input.cpp): one window message at a time, handed to the
    // interception of the window it is for (this one, or a modeless one beside it) first.
    CInputQueue& Inputs() override { return m_inputs; }
    bool PumpEvents() override;
    void Route(MSG& msg);
    void Idle() override { FlushLists(); }
    void WaitForEvents(int64_t timeoutMs) override;

    HWND ControlWindow(int controlId) const;
    bool Owns(HWND hwnd) const;
    // Height of one row, and whole rows a page shows, of a real list view.
    int RowHeight(int controlId) const;
    int PageRows(int controlId) const;
    int TextWidth(int controlId, const std::string& text) const;

  private:
    struct ShownList {
        uint32_t extendedStyle = 0;
        bool styleValid = false;
        std::vector<ListColumn> columns;
        std::vector<ListRow> rows;
        int topIndex = 0;
    };
    struct Control {
        int id = IDC_STATIC;
        ControlKind kind = ControlKind::Static;
        HWND hwnd = nullptr;
        std::vector<std::string> items;  // combo boxes: what the real box holds
        bool itemsValid = false;
        ShownList list;
        bool listDirty = false;
        AccessibleTexts access;  // what a screen reader reads, where the host tells it
        bool answersAccess = false;
    };

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR subclass, DWORD_PTR self);
    INT_PTR Proc(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Result(LRESULT result);

    // Pairing, and the minimised paint (Win32Window.cpp).
    void PairControls();
    Control* Find(int id);
    const Control* Find(int id) const;
    Control* ControlOf(HWND hwnd);
    const ControlState* StateOf(const Control& control) const;
    void Paint();

    // Pushing state (Win32Push.cpp).
    void PushControl(Control& control);
    void PushWindow();
    void PushCombo(Control& control, const ControlState& state);
    void PushList(Control& control, const ControlState& state);
    void PushListRows(Control& control, const ControlState& state);

    // Input (Win32Input.cpp).
    // Mouse and key messages on their way to this window's controls: true when the message
    // became an Input record and must not reach the control itself.
    bool Intercept(const MSG& msg);
    void Queue(Input input);
    bool OnMouse(const MSG& msg);
    bool OnKey(const MSG& msg);
    void OnButtonClick(HWND button);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnNotify(const NMHDR& header, LPARAM lParam);
    bool OnSysCommand(WPARAM wParam);
    void QueueListSelection(const Control& control);

    CWin32Host& m_host;
    CDialog& m_dlg;
    HWND m_owner;
    HWND m_hwnd = nullptr;
    std::vector<Control> m_controls;  // in the template's order, as the dialog's states
    CInputQueue m_inputs;
    bool m_pushing = false;  // the host is changing the controls: their notifications are ours
    int m_shownFocus = 0;
    std::wstring m_shownTitle;
    bool m_titleValid = false;
    size_t m_shownMenuItems = 0;
    std::vector<bool> m_shownMenuEnabled;
    std::vector<HWND> m_disabled;  // what this modal window disabled, to enable again
    bool m_shownIconic = false;
    int m_shownBigIcon = 0;
    int m_shownSmallIcon = 0;
    CClickRule m_clicks;
    HWND m_pressHwnd = nullptr;
    bool m_pressCaptured = false;  // a button the host holds the mouse for
};

}  // namespace ui::win32
