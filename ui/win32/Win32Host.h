// The Windows host: every dialog of the program is a real Win32 dialog created from the compiled
// template of the same number. The dialog's own state stays the truth; the real controls show it,
// and what the user does to them comes back as Input records, served by the modal loop in order.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "ui/Dialog.h"
#include "ui/HostLoop.h"
#include "ui/HostRecords.h"

#include "ui/win32/WindowsApi.h"

namespace ui {

namespace win32 {
class CWin32Window;
}

class CWin32Host : public IHost, public CHostWait {
  public:
    // Dialog templates, the icon and the strings come from `resources`' module.
    explicit CWin32Host(HINSTANCE resources);
    ~CWin32Host() override;
    CWin32Host(const CWin32Host&) = delete;
    CWin32Host& operator=(const CWin32Host&) = delete;

    // --- IHost.
    intptr_t RunModal(CDialog& dlg) override;
    bool OpenModeless(CDialog& dlg) override;
    void CloseModeless(CDialog& dlg) override;
    void BringToFront(CDialog& dlg) override;
    void Changed(CDialog& dlg, int controlId) override;
    int MessageBox(const std::string& text, const std::string& caption, uint32_t type) override;
    bool FileDialog(const FileDialogRequest& request, std::string& path) override;
    int TextWidth(CDialog& dlg, int controlId, const std::string& text) override;
    int ListRowHeight(CDialog& dlg, int controlId) override;
    int ListPageRows(CDialog& dlg, int controlId) override;

    // Blocking waits (CHostWait): the windows repaint and show the wait cursor; the user's
    // input stays queued until the wait is over.

    // Disables every window of the program that is enabled, but `keep`; gives back what it
    // disabled, for a modal window or box to enable again when it goes.
    std::vector<HWND> DisableOthers(HWND keep) const;
    // The window of the program a message is for: the one that owns its window.
    win32::CWin32Window* WindowOwning(HWND hwnd) const;

    // --- For test drivers.
    // Called by the modal loop whenever it has nothing left to do (no posted command, no queued
    // input, no window message). False: the user is done, and the program is told to quit.
    using IdleHandler = ui::IdleHandler;
    void SetIdleHandler(IdleHandler handler) { m_idle = std::move(handler); }
    // The window the user works in: the topmost modal one, or a modeless one beside it.
    CDialog* Topmost() const;
    HWND WindowOf(const CDialog& dlg) const;
    // The real control standing for `controlId`; nullptr when there is none.
    HWND ControlWindow(const CDialog& dlg, int controlId) const;
    // The dialog that owns `hwnd` (the window itself or one of its controls), or nullptr.
    CDialog* DialogOf(HWND hwnd) const;
    enum class Modal { None, MessageBox, FileDialog };
    Modal ShowingModal() const { return m_modal; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<FileDialogRecord>& FileDialogs() const { return m_fileDialogs; }

    HINSTANCE Resources() const { return m_resources; }
    // Icon resource `id` at the system's large or small icon size, loaded once.
    HICON Icon(int id, bool big);

  private:
    win32::CWin32Window* WindowFor(const CDialog& dlg) const;
    win32::CWin32Window* TopWindow() const;
    void BeginWait() override;
    void ShowWaitCursor() override;
    void PaintPending() override;
    void WaitSlice(uint64_t ms) override;
    void EndWait() override;

    HINSTANCE m_resources;
    std::vector<win32::CWin32Window*> m_open;  // the topmost at the back
    std::vector<std::unique_ptr<win32::CWin32Window>> m_modeless;
    IdleHandler m_idle;
    Modal m_modal = Modal::None;
    HCURSOR m_cursorBeforeWait = nullptr;
    std::vector<MessageBoxRecord> m_messageBoxes;
    std::vector<FileDialogRecord> m_fileDialogs;
    int m_sequence = 0;
    std::map<std::pair<int, bool>, HICON> m_icons;
};

// ANSI texts of the dialog state and the UTF-16 of the real controls.
std::wstring ToWide(const std::string& ansi);
std::string FromWide(const std::wstring& text);

}  // namespace ui
