// The desktop host: every dialog of the program becomes a Qt Widgets window built from its
// template. The dialog's own state stays the truth; the windows only show it and hand the user's
// actions back as Input records.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/Dialog.h"
#include "ui/HostLoop.h"
#include "ui/HostRecords.h"

class QDialog;
class QWidget;

namespace ui {

namespace qt {
class CQtWindow;
}

class CQtHost : public IHost, public CHostWait {
  public:
    // A QApplication must exist for as long as the host runs dialogs.
    CQtHost();
    ~CQtHost() override;
    CQtHost(const CQtHost&) = delete;
    CQtHost& operator=(const CQtHost&) = delete;

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

    // Blocking waits (CHostWait): the windows keep painting under the wait cursor; what the
    // user does meanwhile stays queued, and is served in order as soon as the wait is over.

    // The window showing `dlg`, while it runs or is open beside a run; nullptr otherwise.
    qt::CQtWindow* WindowOf(const CDialog& dlg) const;
    // The window the user works in: the topmost modal one, or a modeless one beside it.
    CDialog* Topmost() const;

    // --- For test drivers.
    // Called by the modal loop whenever it has nothing left to do (no posted command, no queued
    // input, no pending event). False: the user is done, and the program is told to quit.
    using IdleHandler = ui::IdleHandler;
    void SetIdleHandler(IdleHandler handler) { m_idle = std::move(handler); }
    // Called once a message box or file dialog of the host is on screen, from its own loop.
    using BoxHandler = std::function<void(QDialog& box)>;
    void SetBoxHandler(BoxHandler handler) { m_boxHandler = std::move(handler); }
    enum class Modal { None, MessageBox, FileDialog };
    Modal ShowingModal() const { return m_modal; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<FileDialogRecord>& FileDialogs() const { return m_fileDialogs; }

  private:
    QWidget* TopWidget() const;
    int TopmostId() const;
    void RunBox(QDialog& box);
    void ShowWaitCursor() override;
    void PaintPending() override;
    void WaitSlice(uint64_t ms) override;
    void EndWait() override;

    std::vector<qt::CQtWindow*> m_open;  // the topmost at the back
    std::vector<std::unique_ptr<qt::CQtWindow>> m_modeless;
    IdleHandler m_idle;
    BoxHandler m_boxHandler;
    Modal m_modal = Modal::None;
    std::vector<MessageBoxRecord> m_messageBoxes;
    std::vector<FileDialogRecord> m_fileDialogs;
    int m_sequence = 0;
};

// The Windows form "Label|*.a;*.b|...||" as Qt name filters ("Label (*.a *.b)"). "*.*" means every
// file there, so it becomes "*".
std::vector<std::string> QtNameFilters(const std::string& filter);

}  // namespace ui
