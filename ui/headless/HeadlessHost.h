// The host without a screen: every control lives in the dialogs' own state, the user's actions
// come from an input source (the scenario runner, a test), and every message box and file
// dialog the program asks for is recorded instead of shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/HostRecords.h"

namespace ui {

// Where the headless host takes the user's actions and answers from.
class IInputSource {
  public:
    virtual ~IInputSource() = default;
    // The next action on `topmost`, the dialog that has the user's attention. false: the user
    // has nothing more to do, and the program is told to quit (ui::Quit(0)).
    virtual bool NextInput(CDialog& topmost, Input& input) = 0;
    // An open or save dialog is showing. Set `answered` when there is an answer for it; the
    // result is then true with `path` chosen, or false for a cancelled dialog. An unanswered
    // dialog counts as cancelled.
    virtual bool AnswerFileDialog(const FileDialogRequest& request, std::string& path,
                                  bool& answered) = 0;
    // A question (Yes and No) is showing. Set `answered` when there is an answer for it; the
    // result is then true for Yes. An unanswered question takes its default button.
    virtual bool AnswerQuestion(const MessageBoxRecord& question, bool& answered) {
        (void)question;
        answered = false;
        return false;
    }
};

class CHeadlessHost : public IHost {
  public:
    // Text measurement of the headless host: every UTF-16 code unit is this many pixels wide.
    static constexpr int kCharWidth = 6;
    static constexpr int kListRowHeight = 16;
    static constexpr int kCharHeight = 16;

    explicit CHeadlessHost(IInputSource* source = nullptr) : m_source(source) {}

    void SetInputSource(IInputSource* source) { m_source = source; }
    IInputSource* InputSource() const { return m_source; }

    // --- IHost.
    intptr_t RunModal(CDialog& dlg) override;
    void Changed(CDialog& dlg, int controlId) override;
    int MessageBox(const std::string& text, const std::string& caption, uint32_t type) override;
    bool FileDialog(const FileDialogRequest& request, std::string& path) override;
    int TextWidth(CDialog& dlg, int controlId, const std::string& text) override;
    int ListRowHeight(CDialog& dlg, int controlId) override;
    bool OpenModeless(CDialog& dlg) override;

    // --- For expectations.
    // Open modal dialogs, the first one run at the front and the topmost at the back.
    const std::vector<CDialog*>& OpenDialogs() const { return m_open; }
    // The window the user works in: the topmost modal dialog, or a modeless window over it.
    CDialog* Topmost() const;
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<FileDialogRecord>& FileDialogs() const { return m_fileDialogs; }
    // Every modal run, in the order the dialogs were opened.
    const std::vector<ModalRecord>& ModalRuns() const { return m_modalRuns; }
    // How many times the program asked for a control (or a dialog) to be shown anew.
    int ChangeCount() const { return m_changes; }
    void ClearRecords();

  private:
    int TopmostId() const;
    void SizeClient(CDialog& dlg) const;

    IInputSource* m_source;
    std::vector<CDialog*> m_open;
    std::vector<MessageBoxRecord> m_messageBoxes;
    std::vector<FileDialogRecord> m_fileDialogs;
    std::vector<ModalRecord> m_modalRuns;
    int m_sequence = 0;
    int m_changes = 0;
};

}  // namespace ui
