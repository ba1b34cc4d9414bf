// The modal runs of the Windows host. Each run creates its window from the template and runs the
// dialog layer's modal loop, which takes the next window message only when there is nothing else
// to do.
#include "ui/win32/Win32Host.h"

#include <algorithm>
#include <vector>

#include "ui/win32/Win32Window.h"

namespace ui {
namespace {

// The window whose message box is about to come up, for the hook that places the box over it.
HWND g_boxOwner = nullptr;
HHOOK g_boxHook = nullptr;

LRESULT CALLBACK PlaceBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_boxOwner != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (GetWindow(box, GW_OWNER) == g_boxOwner) {
            win32::CentreWindow(box, g_boxOwner);
            g_boxOwner = nullptr;
        }
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

// The framework's "Label|pattern|...||" filter with its bars as the NULs the system wants.
std::wstring SystemFilter(const std::string& filter) {
    std::wstring wide = ToWide(filter);
    std::replace(wide.begin(), wide.end(), L'|', L'\0');
    wide.push_back(L'\0');
    return wide;
}

void Enable(const std::vector<HWND>& windows) {
    for (HWND hwnd : windows) {
        if (IsWindow(hwnd)) {
            EnableWindow(hwnd, TRUE);
        }
    }
}

}  // namespace

std::wstring ToWide(const std::string& ansi) {
    const std::u16string wide = platform::AnsiToWide(ansi);
    return std::wstring(wide.begin(), wide.end());
}

std::string FromWide(const std::wstring& text) {
    return platform::WideToAnsi(std::u16string(text.begin(), text.end()));
}

CWin32Host::CWin32Host(HINSTANCE resources) : m_resources(resources) {}

CWin32Host::~CWin32Host() {
    for (auto& [key, icon] : m_icons) {
        DestroyIcon(icon);
    }
}

intptr_t CWin32Host::RunModal(CDialog& dlg) {
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    // Over its owner, which may be a modeless window beside the topmost modal one.
    const win32::CWin32Window* parent =
        dlg.Parent() != nullptr ? WindowFor(*dlg.Parent()) : nullptr;
    HWND owner = parent != nullptr ? parent->Handle()
                 : m_open.empty()  ? nullptr
                                   : m_open.back()->Handle();
    auto owned = std::make_unique<win32::CWin32Window>(*this, dlg, owner);
    win32::CWin32Window& window = *owned;
    CModalFrame<win32::CWin32Window> frame(m_open, std::move(owned));
    if (!window.Create()) {
        // Without its window the program cannot go on: it ends, and says so by its exit code.
        Quit(1);
        return IDCANCEL;
    }
    RECT client{};
    GetClientRect(window.Handle(), &client);
    dlg.SetClientSize(client.right - client.left, client.bottom - client.top);
    InitDialog(dlg);
    if (!Stopped(dlg)) {
        window.Show(true);
    }
    return RunModalLoop(dlg, window, m_idle);
}

bool CWin32Host::OpenModeless(CDialog& dlg) {
    if (m_open.empty()) {
        return false;  // no run to serve it
    }
    if (!dlg.IsCreated()) {
        dlg.Create();
    }
    const win32::CWin32Window* parent =
        dlg.Parent() != nullptr ? WindowFor(*dlg.Parent()) : nullptr;
    HWND owner = parent != nullptr ? parent->Handle() : m_open.back()->Handle();
    auto window = std::make_unique<win32::CWin32Window>(*this, dlg, owner);
    win32::CWin32Window& shown = *window;
    if (!shown.Create()) {
        return false;
    }
    m_modeless.push_back(std::move(window));
    RECT client{};
    GetClientRect(shown.Handle(), &client);
    dlg.SetClientSize(client.right - client.left, client.bottom - client.top);
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

void CWin32Host::CloseModeless(CDialog& dlg) {
    RemoveModeless(dlg);
    for (auto it = m_modeless.begin(); it != m_modeless.end(); ++it) {
        if (&(*it)->Dialog() == &dlg) {
            std::unique_ptr<win32::CWin32Window> closing = std::move(*it);
            m_modeless.erase(it);
            closing.reset();
            break;
        }
    }
    dlg.Destroy();
}

void CWin32Host::BringToFront(CDialog& dlg) {
    if (const win32::CWin32Window* window = WindowFor(dlg)) {
        SetForegroundWindow(window->Handle());
        SetActiveWindow(window->Handle());
    }
}

std::vector<HWND> CWin32Host::DisableOthers(HWND keep) const {
    std::vector<HWND> disabled;
    const auto disable = [&](const win32::CWin32Window& window) {
        HWND hwnd = window.Handle();
        if (hwnd != nullptr && hwnd != keep && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            disabled.push_back(hwnd);
        }
    };
    for (const win32::CWin32Window* window : m_open) {
        disable(*window);
    }
    for (const auto& window : m_modeless) {
        disable(*window);
    }
    return disabled;
}

win32::CWin32Window* CWin32Host::WindowOwning(HWND hwnd) const {
    for (win32::CWin32Window* window : m_open) {
        if (window->Owns(hwnd)) {
            return window;
        }
    }
    for (const auto& window : m_modeless) {
        if (window->Owns(hwnd)) {
            return window.get();
        }
    }
    return nullptr;
}

win32::CWin32Window* CWin32Host::WindowFor(const CDialog& dlg) const {
    for (win32::CWin32Window* window : m_open) {
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

CDialog* CWin32Host::Topmost() const {
    if (CDialog* active = ActiveWindow()) {
        return active;
    }
    return m_open.empty() ? nullptr : &m_open.back()->Dialog();
}

HWND CWin32Host::WindowOf(const CDialog& dlg) const {
    const win32::CWin32Window* window = WindowFor(dlg);
    return window != nullptr ? window->Handle() : nullptr;
}

HWND CWin32Host::ControlWindow(const CDialog& dlg, int controlId) const {
    const win32::CWin32Window* window = WindowFor(dlg);
    return window != nullptr ? window->ControlWindow(controlId) : nullptr;
}

CDialog* CWin32Host::DialogOf(HWND hwnd) const {
    const win32::CWin32Window* window = WindowOwning(hwnd);
    return window != nullptr ? &window->Dialog() : nullptr;
}

void CWin32Host::Changed(CDialog& dlg, int controlId) {
    if (win32::CWin32Window* window = WindowFor(dlg)) {
        window->Push(controlId);
    }
}

win32::CWin32Window* CWin32Host::TopWindow() const {
    const CDialog* top = Topmost();
    return top != nullptr ? WindowFor(*top) : nullptr;
}

int CWin32Host::MessageBox(const std::string& text, const std::string& caption, uint32_t type) {
    win32::CWin32Window* top = TopWindow();
    if (top != nullptr) {
        top->FlushLists();
    }
    const size_t index = m_messageBoxes.size();
    m_messageBoxes.push_back({text, caption, type, top != nullptr ? top->Dialog().Template().id : 0,
                              m_sequence++, DefaultButton(type)});
    m_modal = Modal::MessageBox;
    HWND owner = top != nullptr ? top->Handle() : nullptr;
    // The framework centres its message boxes on their window, as its dialogs; the system
    // would put them in the middle of the screen, wherever the window is.
    g_boxOwner = owner;
    g_boxHook = SetWindowsHookExW(WH_CBT, &PlaceBox, nullptr, GetCurrentThreadId());
    // The system disables the box's owner; the program's other windows wait as well.
    const std::vector<HWND> disabled = DisableOthers(owner);
    const int shown = MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), type);
    Enable(disabled);
    if (g_boxHook != nullptr) {
        UnhookWindowsHookEx(g_boxHook);
    }
    g_boxHook = nullptr;
    g_boxOwner = nullptr;
    m_modal = Modal::None;
    // A question the system could not show (0) is No, which changes nothing.
    const int answer = IsQuestion(type) ? (shown == IDYES ? IDYES : IDNO) : IDOK;
    m_messageBoxes[index].answer = answer;
    return answer;
}

bool CWin32Host::FileDialog(const FileDialogRequest& request, std::string& path) {
    win32::CWin32Window* top = TopWindow();
    if (top != nullptr) {
        top->FlushLists();
    }
    FileDialogRecord record;
    record.request = request;
    record.dialogId = top != nullptr ? top->Dialog().Template().id : 0;
    record.sequence = m_sequence++;
    m_fileDialogs.push_back(record);

    const std::wstring filter = SystemFilter(request.filter);
    std::wstring extension = ToWide(request.defaultExtension);
    // The system appends the extension after a dot of its own.
    if (!extension.empty() && extension.front() == L'.') {
        extension.erase(0, 1);
    }
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = ToWide(request.initialName);
    std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());
    OPENFILENAMEW box{};
    box.lStructSize = sizeof box;
    box.hwndOwner = top != nullptr ? top->Handle() : nullptr;
    box.lpstrFilter = filter.c_str();
    box.nFilterIndex = 1;
    box.lpstrFile = file.data();
    box.nMaxFile = static_cast<DWORD>(file.size());
    box.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    box.Flags = request.flags;
    m_modal = Modal::FileDialog;
    const std::vector<HWND> disabled = DisableOthers(box.hwndOwner);
    const BOOL chosen = request.open ? GetOpenFileNameW(&box) : GetSaveFileNameW(&box);
    Enable(disabled);
    m_modal = Modal::None;
    FileDialogRecord& done = m_fileDialogs.back();
    done.answered = true;
    done.accepted = chosen != FALSE;
    if (chosen) {
        done.path = FromWide(file.data());
        path = done.path;
    }
    return done.accepted;
}

int CWin32Host::TextWidth(CDialog& dlg, int controlId, const std::string& text) {
    if (const win32::CWin32Window* window = WindowFor(dlg)) {
        return window->TextWidth(controlId, text);
    }
    return static_cast<int>(ToWide(text).size()) * 6;
}

int CWin32Host::ListRowHeight(CDialog& dlg, int controlId) {
    if (const win32::CWin32Window* window = WindowFor(dlg)) {
        return window->RowHeight(controlId);
    }
    return 16;
}

int CWin32Host::ListPageRows(CDialog& dlg, int controlId) {
    if (const win32::CWin32Window* window = WindowFor(dlg)) {
        return window->PageRows(controlId);
    }
    return IHost::ListPageRows(dlg, controlId);
}

namespace {

void PumpPaintsAndSentMessages() {
    MSG msg;
    // Messages sent by other windows are served by any look at the queue; paints are taken out
    // and drawn. Input stays where it is, in order, for the modal loop after the wait.
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

}  // namespace

void CWin32Host::BeginWait() {
    for (win32::CWin32Window* window : m_open) {
        window->FlushLists();
    }
    for (const auto& window : m_modeless) {
        window->FlushLists();
    }
}

void CWin32Host::ShowWaitCursor() {
    m_cursorBeforeWait = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void CWin32Host::PaintPending() {
    PumpPaintsAndSentMessages();
}

void CWin32Host::WaitSlice(uint64_t ms) {
    // Windows takes a window whose program has not looked at its queue for five seconds as
    // hung; a test blocks for longer. So the wait looks in at least every 100 ms.
    const DWORD slice = static_cast<DWORD>(std::min<uint64_t>(ms, 100));
    MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_PAINT | QS_SENDMESSAGE, 0);
    PumpPaintsAndSentMessages();
}

void CWin32Host::EndWait() {
    SetCursor(m_cursorBeforeWait != nullptr ? m_cursorBeforeWait : LoadCursorW(nullptr, IDC_ARROW));
}

HICON CWin32Host::Icon(int id, bool big) {
    if (id == 0) {
        return nullptr;
    }
    const auto key = std::make_pair(id, big);
    auto it = m_icons.find(key);
    if (it != m_icons.end()) {
        return it->second;
    }
    const int size = GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
    HICON icon = static_cast<HICON>(
        LoadImageW(m_resources, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    m_icons[key] = icon;
    return icon;
}

}  // namespace ui
