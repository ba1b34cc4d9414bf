// Scenarios on the Win32 host: real windows from the compiled templates, driven by real input
// messages posted to the control under the point a user would click (button down and up, keys,
// characters, clicks on list rows, their check boxes and header sections), and read back from the
// real controls. Message boxes and file dialogs are the system's own; a CBT hook sees them come
// up and the driver answers them as a user would, reading what they show.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/win32/Win32ScenarioInput.h"
#include "tools/win32driver/Driver.h"
#include "ui/win32/Win32Host.h"

namespace scenarios {
namespace {

using namespace windriver;

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

class CWin32ScenarioHost final : public IScenarioHost {
  public:
    CWin32ScenarioHost() : m_host(GetModuleHandleW(nullptr)), m_input(m_host, m_problems) {}

    const char* Name() const override { return "win32"; }

    std::string Cannot(const Line& line) const override {
        if (line.Verb() == "expect" && line.Size() > 1) {
            if (line.Arg(1) == "width") {
                return "column widths follow the real list's font, not the headless host's "
                       "6 px a character";
            }
            if (line.Arg(1) == "top") {
                return "how far a list scrolls follows the rows its real font lets a page show";
            }
        }
        if (line.Verb() == "choose" && line.Size() == 3 && !line.tokens[2].quoted &&
            line.Arg(2) == "none") {
            return "a user cannot choose no item of a real drop-down list";
        }
        return {};
    }

    int Run(IScenarioActions& actions, const std::function<int()>& program) override {
        m_actions = &actions;
        s_current = this;
        m_progressAt = GetTickCount64();
        m_gaveUp = false;
        ui::SetHost(&m_host);
        platform::SetWaitHandler(&m_host);
        m_host.SetIdleHandler([this](ui::CDialog& topmost) { return Step(topmost); });
        HHOOK hook =
            SetWindowsHookExW(WH_CBT, &CWin32ScenarioHost::CbtProc, nullptr, GetCurrentThreadId());
        const UINT_PTR watch = SetTimer(nullptr, 0, 500, &CWin32ScenarioHost::WatchProc);
        const int exitCode = program();
        KillTimer(nullptr, watch);
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
        m_host.SetIdleHandler(nullptr);
        platform::SetWaitHandler(nullptr);
        s_current = nullptr;
        return exitCode;
    }

    ui::CDialog* Topmost() const override { return m_host.Topmost(); }
    const std::vector<ui::MessageBoxRecord>& MessageBoxes() const override {
        return m_host.MessageBoxes();
    }

    bool Shown(const ui::CDialog& dlg, int id, ShownControl& shown) override {
        HWND hwnd = m_host.ControlWindow(dlg, id);
        if (hwnd == nullptr) {
            return false;
        }
        shown = ShownControl{};
        shown.kind = dlg.Control(id).kind;
        shown.text = ui::FromWide(TextOf(hwnd));
        shown.enabled = IsWindowEnabled(hwnd) != FALSE;
        shown.visible = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        switch (shown.kind) {
            case ui::ControlKind::CheckBox:
                shown.checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
                break;
            case ui::ControlKind::ComboBox:
            case ui::ControlKind::DropDownList:
                ReadCombo(hwnd, shown);
                break;
            case ui::ControlKind::ListView:
                ReadList(hwnd, shown);
                break;
            default:
                break;
        }
        return true;
    }

    // Through the system's accessibility, as a screen reader asks the control's window.
    bool ShownAccessible(const ui::CDialog& dlg, int id, std::string& name,
                         std::string& description) override {
        HWND hwnd = m_host.ControlWindow(dlg, id);
        AccessibleRead read;
        if (hwnd == nullptr || !ReadAccessible(hwnd, read)) {
            return false;
        }
        name = Utf8(read.name);
        description = Utf8(read.description);
        return true;
    }

    bool ShownFocus(const ui::CDialog& dlg, int& id) override {
        HWND window = m_host.WindowOf(dlg);
        HWND focus = GetFocus();
        // A window that another program on the same desktop took the activation from shows no
        // focus at all; then there is nothing on screen to compare (tests run side by side).
        if (window == nullptr || GetActiveWindow() != window || focus == nullptr) {
            return false;
        }
        id = 0;
        for (HWND h = focus; h != nullptr && h != window; h = GetParent(h)) {
            if (GetParent(h) == window) {
                for (const ui::ControlState& state : dlg.Controls()) {
                    if (m_host.ControlWindow(dlg, state.id) == h) {
                        id = state.id;
                    }
                }
                break;
            }
        }
        return window != nullptr;
    }

    // A picture of the topmost window as the screen shows it, saved as a BMP file beside the
    // PNG asked for (the Windows build has no PNG writer of its own).
    bool Shoot(const std::string& path, bool nextBox) override {
        ui::CDialog* top = m_host.Topmost();
        HWND window = top != nullptr ? m_host.WindowOf(*top) : nullptr;
        if (nextBox || window == nullptr) {
            return false;
        }
        return SaveWindowPicture(window, path.substr(0, path.rfind('.')) + ".bmp");
    }

    std::vector<std::string> TakeProblems() override { return std::move(m_problems); }
    std::string TakeSkipReason() override { return std::move(m_skipReason); }

  private:
    static void ReadCombo(HWND box, ShownControl& shown) {
        for (const std::wstring& item : ComboItems(box))
            shown.items.push_back(ui::FromWide(item));
        shown.curSel = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    }

    static void ReadList(HWND list, ShownControl& shown) {
        const int columns = ColumnCount(list);
        for (int c = 0; c < columns; ++c)
            shown.columns.push_back(ui::FromWide(ColumnTitle(nullptr, list, c)));
        const int rows = ItemCount(list);
        const bool boxes = HasCheckBoxes(list);
        for (int r = 0; r < rows; ++r) {
            ShownRow row;
            for (int c = 0; c < std::max(columns, 1); ++c)
                row.texts.push_back(ui::FromWide(CellText(nullptr, list, r, c)));
            row.selected = RowSelected(list, r);
            row.checked = boxes && RowChecked(list, r);
            shown.rows.push_back(std::move(row));
        }
    }

    // The next line of the script, played on the topmost window as real input.
    bool Step(ui::CDialog& topmost) {
        m_progressAt = GetTickCount64();
        if (m_gaveUp) {
            return false;
        }
        if (m_input.FinishPick())
            return true;
        ui::Input input;
        if (!m_actions->NextInput(topmost, input)) {
            return false;
        }
        m_input.Perform(topmost, input);
        return true;
    }

    // A line that keeps the program from coming back for the next one (the system's own move of
    // a window waits for the mouse or the keys) fails the story, and the user gets out as one
    // would: Esc to whatever holds the input, then the program is told the user is done.
    void Watch() {
        const ULONGLONG now = GetTickCount64();
        if (now - m_progressAt < LineLimitMs()) {
            return;
        }
        if (!m_gaveUp) {
            m_gaveUp = true;
            m_actions->LineTimedOut();
            m_progressAt = now;
            // The system's loops take keys for any window of the thread; with another
            // program's window in front, ours has neither the capture nor the focus.
            HWND holder = GetCapture();
            if (holder == nullptr) {
                holder = GetFocus();
            }
            if (holder == nullptr && m_host.Topmost() != nullptr) {
                holder = m_host.WindowOf(*m_host.Topmost());
            }
            if (holder != nullptr) {
                PostKey(holder, VK_ESCAPE);
                SendMessageW(holder, WM_CANCELMODE, 0, 0);
            }
            return;
        }
        // Nothing got it out: the runner says where it stopped rather than hang until killed.
        std::printf("FAIL %s; nothing got the program back, and the runner cannot go on\n",
                    m_actions->TimedOutLine().c_str());
        std::fflush(stdout);
        ExitProcess(1);
    }

    // --- The system's own boxes.
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
        // A box of the system's is seen when it is made: another program on the same desktop
        // may keep the activation, so the box's own activation cannot be relied on.
        if ((code == HCBT_CREATEWND || code == HCBT_ACTIVATE) && s_current != nullptr &&
            s_current->m_host.ShowingModal() != ui::CWin32Host::Modal::None) {
            HWND hwnd = reinterpret_cast<HWND>(wParam);
            const bool topLevel =
                code != HCBT_CREATEWND ||
                (reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs->style & WS_CHILD) == 0;
            auto& handled = s_current->m_handled;
            if (topLevel && ClassOf(hwnd) == L"#32770" &&
                s_current->m_host.DialogOf(hwnd) == nullptr &&
                std::find(handled.begin(), handled.end(), hwnd) == handled.end()) {
                handled.erase(std::remove_if(handled.begin(), handled.end(),
                                             [](HWND h) { return !IsWindow(h); }),
                              handled.end());
                handled.push_back(hwnd);
                s_current->m_pending.push_back(hwnd);
                // Answered from the box's own modal loop, once it has come up.
                SetTimer(nullptr, 0, 10, &CWin32ScenarioHost::TimerProc);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (s_current == nullptr) {
            return;
        }
        std::vector<HWND> pending = std::move(s_current->m_pending);
        for (HWND box : pending) {
            if (IsWindow(box)) {
                s_current->Answer(box);
            }
        }
    }

    // A user looks again: a box that came up unseen, or one still open a while after its
    // answer (the click went astray), is answered (again).
    static void CALLBACK WatchProc(HWND, UINT, UINT_PTR, DWORD) {
        if (s_current != nullptr) {
            s_current->Watch();
        }
        if (s_current == nullptr ||
            s_current->m_host.ShowingModal() == ui::CWin32Host::Modal::None) {
            return;
        }
        EnumThreadWindows(GetCurrentThreadId(), &CWin32ScenarioHost::LookAtWindow, 0);
    }

    static BOOL CALLBACK LookAtWindow(HWND hwnd, LPARAM) {
        CWin32ScenarioHost& self = *s_current;
        if (!IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32770" ||
            self.m_host.DialogOf(hwnd) != nullptr) {
            return TRUE;
        }
        const ULONGLONG now = GetTickCount64();
        auto answered = self.m_answeredAt.find(hwnd);
        if (answered == self.m_answeredAt.end()) {
            if (std::find(self.m_handled.begin(), self.m_handled.end(), hwnd) ==
                self.m_handled.end()) {
                self.m_handled.push_back(hwnd);
                self.Answer(hwnd);
            }
        } else if (now - answered->second > 2000) {
            self.Answer(hwnd);
        }
        return TRUE;
    }

    void ClickButton(HWND box, int id) {
        if (!windriver::ClickButton(box, id)) {
            m_problems.push_back("a box without button " + std::to_string(id));
            PostMessageW(box, WM_COMMAND, id, 0);
        }
    }

    void Answer(HWND box) {
        m_answeredAt[box] = GetTickCount64();
        m_progressAt = m_answeredAt[box];
        switch (m_host.ShowingModal()) {
            case ui::CWin32Host::Modal::MessageBox: {
                const std::string shown = ui::FromWide(TextOf(GetDlgItem(box, kMessageTextId)));
                const std::string& asked = m_host.MessageBoxes().back().text;
                if (shown != asked) {
                    m_problems.push_back("the message box shows \"" + platform::AnsiToUtf8(shown) +
                                         "\", not \"" + platform::AnsiToUtf8(asked) + "\"");
                }
                const std::string caption = ui::FromWide(TextOf(box));
                if (caption != m_host.MessageBoxes().back().caption) {
                    m_problems.push_back("the message box is titled \"" +
                                         platform::AnsiToUtf8(caption) + "\"");
                }
                const ui::MessageBoxRecord& record = m_host.MessageBoxes().back();
                if (ui::IsQuestion(record.type)) {
                    // Unanswered, the user takes the button Enter would press.
                    bool answered = false;
                    bool yes = m_actions->AnswerQuestion(record, answered);
                    if (!answered)
                        yes = ui::DefaultButton(record.type) == IDYES;
                    ClickButton(box, yes ? IDYES : IDNO);
                    return;
                }
                ClickButton(box, GetDlgItem(box, IDOK) != nullptr ? IDOK : IDCANCEL);
                return;
            }
            case ui::CWin32Host::Modal::FileDialog:
                if (m_host.FileDialogs().size() > m_fileDialogsAnswered) {
                    m_fileDialogsAnswered = m_host.FileDialogs().size();
                    AnswerFileDialog(box);
                } else {
                    // A box of the file dialog's own: the question whether to replace a file.
                    ClickButton(box, GetDlgItem(box, IDYES) != nullptr ? IDYES : IDOK);
                }
                return;
            case ui::CWin32Host::Modal::None: {
                const std::wstring text = TextOf(box);
                m_problems.push_back(
                    "a box nobody asked for: \"" +
                    platform::WideToUtf8(std::u16string(text.begin(), text.end())) + "\"");
                PostMessageW(box, WM_CLOSE, 0, 0);
                return;
            }
        }
    }

    void AnswerFileDialog(HWND box) {
        std::string path;
        bool answered = false;
        const bool accepted =
            m_actions->AnswerFileDialog(m_host.FileDialogs().back().request, path, answered);
        if (!answered || !accepted) {
            ClickButton(box, IDCANCEL);
            return;
        }
        if (AnswerIsAFolder(path)) {
            m_skipReason = "a file dialog given a folder opens it instead of choosing it";
            ClickButton(box, IDCANCEL);
            return;
        }
        if (FileNameBox(box) == nullptr) {
            m_problems.push_back("a file dialog without a file name box");
            ClickButton(box, IDCANCEL);
            return;
        }
        // A user types the path as the system shows paths, without the long-path prefix the
        // runner gives the headless host.
        const std::string longPrefix = "\\\\?\\";
        if (path.compare(0, longPrefix.size(), longPrefix) == 0) {
            path.erase(0, longPrefix.size());
        }
        if (!TypeFileName(box, ui::ToWide(path)))
            ClickButton(box, IDOK);
    }

    static CWin32ScenarioHost* s_current;
    ui::CWin32Host m_host;
    IScenarioActions* m_actions = nullptr;
    std::vector<std::string> m_problems;
    std::string m_skipReason;
    std::vector<HWND> m_handled;
    std::vector<HWND> m_pending;
    std::map<HWND, ULONGLONG> m_answeredAt;
    size_t m_fileDialogsAnswered = 0;
    CWin32InputPlayer m_input;
    ULONGLONG m_progressAt = 0;  // when the program last came back for a line or a box came up
    bool m_gaveUp = false;
};

CWin32ScenarioHost* CWin32ScenarioHost::s_current = nullptr;

}  // namespace

std::unique_ptr<IScenarioHost> MakeWin32ScenarioHost() {
    return std::make_unique<CWin32ScenarioHost>();
}

}  // namespace scenarios
