#include "ui/headless/HeadlessHost.h"

#include "platform/Platform.h"
#include "ui/HostLoop.h"

namespace ui {

intptr_t CHeadlessHost::RunModal(CDialog& dlg) {
    CModalFrame<CDialog> frame(m_open, dlg, dlg);
    m_modalRuns.push_back({dlg.Template().id, {}});
    const size_t run = m_modalRuns.size() - 1;
    // Dialog units in the headless font: a quarter of the 6 px character width across, an
    // eighth of a 16 px character height down.
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    SizeClient(dlg);
    InitDialog(dlg);
    m_modalRuns[run].title = dlg.GetWindowText();
    // The user of a headless run is its input source, asked whenever the program has nothing
    // left to do, for the window the user works in.
    CQueueWindow window;
    return RunModalLoop(dlg, window, [this](CDialog& active) {
        Input input;
        if (m_source == nullptr || !m_source->NextInput(active, input)) {
            return false;
        }
        QueueInput(active, std::move(input));
        return true;
    });
}

bool CHeadlessHost::OpenModeless(CDialog& dlg) {
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    SizeClient(dlg);
    return IHost::OpenModeless(dlg);
}

void CHeadlessHost::SizeClient(CDialog& dlg) const {
    dlg.SetClientSize(dlg.Template().cx * kCharWidth / 4, dlg.Template().cy * kCharHeight / 8);
}

CDialog* CHeadlessHost::Topmost() const {
    if (CDialog* active = ActiveWindow()) {
        return active;
    }
    return m_open.empty() ? nullptr : m_open.back();
}

void CHeadlessHost::Changed(CDialog&, int) {
    ++m_changes;
}

int CHeadlessHost::MessageBox(const std::string& text, const std::string& caption, uint32_t type) {
    MessageBoxRecord box{text, caption, type, TopmostId(), m_sequence++, DefaultButton(type)};
    if (IsQuestion(type) && m_source != nullptr) {
        bool answered = false;
        const bool yes = m_source->AnswerQuestion(box, answered);
        if (answered)
            box.answer = yes ? IDYES : IDNO;
    }
    m_messageBoxes.push_back(box);
    return box.answer;
}

bool CHeadlessHost::FileDialog(const FileDialogRequest& request, std::string& path) {
    FileDialogRecord record;
    record.request = request;
    record.dialogId = TopmostId();
    record.sequence = m_sequence++;
    std::string chosen;
    if (m_source != nullptr) {
        const bool accepted = m_source->AnswerFileDialog(request, chosen, record.answered);
        record.accepted = record.answered && accepted;
    }
    if (record.accepted) {
        record.path = chosen;
        path = chosen;
    }
    m_fileDialogs.push_back(std::move(record));
    return m_fileDialogs.back().accepted;
}

int CHeadlessHost::TextWidth(CDialog&, int, const std::string& text) {
    return static_cast<int>(platform::AnsiToWide(text).size()) * kCharWidth;
}

int CHeadlessHost::ListRowHeight(CDialog&, int) {
    return kListRowHeight;
}

void CHeadlessHost::ClearRecords() {
    m_messageBoxes.clear();
    m_fileDialogs.clear();
    m_modalRuns.clear();
    m_sequence = 0;
    m_changes = 0;
}

int CHeadlessHost::TopmostId() const {
    const CDialog* top = Topmost();
    return top == nullptr ? 0 : top->Template().id;
}

}  // namespace ui
