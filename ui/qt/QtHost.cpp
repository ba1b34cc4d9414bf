// The modal runs of the desktop host. Each run shows its window and runs the dialog layer's
// modal loop, which waits in Qt's event loop only when there is nothing to do.
#include "ui/qt/QtHost.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <memory>

#include "ui/qt/QtFonts.h"
#include "ui/qt/QtWindow.h"

namespace ui {
namespace {

constexpr uint32_t kFileMustExist = 0x1000;  // OFN_FILEMUSTEXIST

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

CQtHost::CQtHost() = default;

CQtHost::~CQtHost() = default;

intptr_t CQtHost::RunModal(CDialog& dlg) {
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    // Over its owner, which may be a modeless window beside the topmost modal one.
    const qt::CQtWindow* owner = dlg.Parent() != nullptr ? WindowOf(*dlg.Parent()) : nullptr;
    QWidget* parent = owner != nullptr ? owner->Widget()
                      : m_open.empty() ? nullptr
                                       : m_open.back()->Widget();
    auto owned = std::make_unique<qt::CQtWindow>(dlg, parent);
    qt::CQtWindow& window = *owned;
    CModalFrame<qt::CQtWindow> frame(m_open, std::move(owned));
    dlg.SetClientSize(window.ClientWidth(), window.ClientHeight());
    InitDialog(dlg);
    if (!Stopped(dlg)) {
        window.Show(true);
    }
    return RunModalLoop(dlg, window, m_idle);
}

bool CQtHost::OpenModeless(CDialog& dlg) {
    if (m_open.empty()) {
        return false;  // no run to serve it
    }
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    // A child of its owner: the owner's application-modal frame does not block it, a modal
    // window opened later blocks both.
    const qt::CQtWindow* owner = dlg.Parent() != nullptr ? WindowOf(*dlg.Parent()) : nullptr;
    auto window = std::make_unique<qt::CQtWindow>(
        dlg, owner != nullptr ? owner->Widget() : m_open.back()->Widget());
    qt::CQtWindow& shown = *window;
    m_modeless.push_back(std::move(window));
    dlg.SetClientSize(shown.ClientWidth(), shown.ClientHeight());
    if (!AddModeless(dlg, shown)) {
        m_modeless.pop_back();
        return false;
    }
    InitDialog(dlg);
    if (dlg.IsCreated()) {
        shown.Show(false);
    }
    return true;
}

void CQtHost::CloseModeless(CDialog& dlg) {
    RemoveModeless(dlg);
    for (auto it = m_modeless.begin(); it != m_modeless.end(); ++it) {
        if (&(*it)->Dialog() == &dlg) {
            // Out of the list first: its widgets may still send what they hold as they go.
            std::unique_ptr<qt::CQtWindow> closing = std::move(*it);
            m_modeless.erase(it);
            closing.reset();
            break;
        }
    }
    dlg.Destroy();
}

void CQtHost::BringToFront(CDialog& dlg) {
    if (qt::CQtWindow* window = WindowOf(dlg)) {
        window->Widget()->raise();
        window->Widget()->activateWindow();
    }
}

CDialog* CQtHost::Topmost() const {
    if (CDialog* active = ActiveWindow()) {
        return active;
    }
    return m_open.empty() ? nullptr : &m_open.back()->Dialog();
}

QWidget* CQtHost::TopWidget() const {
    const CDialog* top = Topmost();
    const qt::CQtWindow* window = top != nullptr ? WindowOf(*top) : nullptr;
    return window != nullptr ? window->Widget() : nullptr;
}

int CQtHost::TopmostId() const {
    const CDialog* top = Topmost();
    return top == nullptr ? 0 : top->Template().id;
}

void CQtHost::RunBox(QDialog& box) {
    if (m_boxHandler) {
        // Answered from the box's own loop, once it is on screen.
        QTimer::singleShot(0, &box, [this, &box] {
            if (m_boxHandler) {
                m_boxHandler(box);
            }
        });
    }
    box.exec();
}

void CQtHost::ShowWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtHost::PaintPending() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CQtHost::WaitSlice(uint64_t ms) {
    // Qt's loop sleeps until the end or until something is to be painted; the user's input is
    // left where it is.
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void CQtHost::EndWait() {
    QApplication::restoreOverrideCursor();
    // The user's input held back during the wait is taken in now, in the order it came, and
    // the modal loop is woken for it: left alone, Qt would deliver it only with the next event
    // that reaches the program, such as a mouse move.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        dispatcher->wakeUp();
    }
}

qt::CQtWindow* CQtHost::WindowOf(const CDialog& dlg) const {
    for (qt::CQtWindow* window : m_open) {
        if (&window->Dialog() == &dlg) {
            return window;
        }
    }
    for (const auto& window : m_modeless) {
        if (&window->Dialog() == &dlg) {
            return window.get();
        }
    }
    return nullptr;
}

void CQtHost::Changed(CDialog& dlg, int controlId) {
    qt::CQtWindow* window = WindowOf(dlg);
    if (window == nullptr) {
        return;
    }
    window->Push(controlId);
    // A handler may block right after this (a settling pause with "Detect" greyed): paint now,
    // without taking any user input meanwhile.
    if (window->ShowsAtOnce(controlId)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

int CQtHost::MessageBox(const std::string& text, const std::string& caption, uint32_t type) {
    qt::UseEmbeddedFonts();
    const size_t index = m_messageBoxes.size();
    m_messageBoxes.push_back({text, caption, type, TopmostId(), m_sequence++, DefaultButton(type)});
    const bool question = IsQuestion(type);
    QMessageBox box(QMessageBox::Warning, qt::ToQt(caption), qt::ToQt(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, TopWidget());
    if (question) {
        box.setDefaultButton(DefaultButton(type) == IDNO ? QMessageBox::No : QMessageBox::Yes);
    }
    m_modal = Modal::MessageBox;
    RunBox(box);
    m_modal = Modal::None;
    int answer = IDOK;
    if (question) {
        // Closed without a button (Esc, the window's close) is No, which changes nothing.
        answer = box.clickedButton() == box.button(QMessageBox::Yes) ? IDYES : IDNO;
    }
    m_messageBoxes[index].answer = answer;
    return answer;
}

bool CQtHost::FileDialog(const FileDialogRequest& request, std::string& path) {
    qt::UseEmbeddedFonts();
    FileDialogRecord record;
    record.request = request;
    record.dialogId = TopmostId();
    record.sequence = m_sequence++;
    m_fileDialogs.push_back(record);

    QFileDialog box(TopWidget());
    if (m_boxHandler) {
        // A driver answers the dialog's own widgets, which a desktop's native dialog has not.
        box.setOption(QFileDialog::DontUseNativeDialog);
    }
    box.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // As the system's dialog, an open dialog takes a name that does not exist unless it is told
    // the file must exist; the program then says itself that it cannot read it.
    box.setFileMode(request.open && (request.flags & kFileMustExist) != 0
                        ? QFileDialog::ExistingFile
                        : QFileDialog::AnyFile);
    QStringList filters;
    for (const std::string& filter : QtNameFilters(request.filter)) {
        filters << qt::ToQt(filter);
    }
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
    }
    std::string extension = request.defaultExtension;
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    // Qt appends the suffix to a name typed without one, before it asks about overwriting.
    if (!extension.empty()) {
        box.setDefaultSuffix(qt::ToQt(extension));
    }
    if (!request.open && (request.flags & OFN_OVERWRITEPROMPT) == 0) {
        box.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!request.initialName.empty()) {
        box.selectFile(qt::ToQt(request.initialName));
    }
    m_modal = Modal::FileDialog;
    RunBox(box);
    m_modal = Modal::None;
    FileDialogRecord& done = m_fileDialogs.back();
    done.answered = true;
    done.accepted = box.result() == QDialog::Accepted && !box.selectedFiles().isEmpty();
    if (!done.accepted) {
        return false;
    }
    done.path = qt::FromQt(box.selectedFiles().front());
    path = done.path;
    return true;
}

int CQtHost::TextWidth(CDialog& dlg, int controlId, const std::string& text) {
    if (const qt::CQtWindow* window = WindowOf(dlg)) {
        return window->TextWidth(controlId, text);
    }
    return QFontMetrics(QApplication::font()).horizontalAdvance(qt::ToQt(text));
}

int CQtHost::ListRowHeight(CDialog& dlg, int controlId) {
    if (const qt::CQtWindow* window = WindowOf(dlg)) {
        return window->RowHeight(controlId);
    }
    return QFontMetrics(QApplication::font()).height() + 4;
}

int CQtHost::ListPageRows(CDialog& dlg, int controlId) {
    if (const qt::CQtWindow* window = WindowOf(dlg)) {
        return window->PageRows(controlId);
    }
    return IHost::ListPageRows(dlg, controlId);
}

std::vector<std::string> QtNameFilters(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = filter.find('|'); bar != std::string::npos; bar = filter.find('|', start)) {
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<std::string> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string label = Trim(parts[i]);
        if (label.empty()) {
            break;  // the "||" that ends the list
        }
        // "Text File(*.bin)" already names its pattern; Qt reads the pattern from the
        // parentheses, so those are made from the pattern itself.
        if (label.back() == ')') {
            const size_t open = label.rfind('(');
            if (open != std::string::npos) {
                label = Trim(label.substr(0, open));
            }
        }
        std::string patterns;
        size_t from = 0;
        const std::string& list = parts[i + 1];
        while (from <= list.size()) {
            size_t semicolon = list.find(';', from);
            if (semicolon == std::string::npos) {
                semicolon = list.size();
            }
            std::string pattern = Trim(list.substr(from, semicolon - from));
            if (pattern == "*.*") {
                pattern = "*";
            }
            if (!pattern.empty()) {
                patterns += (patterns.empty() ? "" : " ") + pattern;
            }
            from = semicolon + 1;
        }
        filters.push_back(label + " (" + (patterns.empty() ? std::string("*") : patterns) + ")");
    }
    return filters;
}

}  // namespace ui
