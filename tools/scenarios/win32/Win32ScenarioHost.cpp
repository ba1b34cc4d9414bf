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
#include "ui/win32/Win32Host.h"

namespace scenarios {
namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static of a message box that holds its text
constexpr int kFileNameBox = 0x47C;     // the file name box of the explorer-style dialog
constexpr int kFileNameEdit = 0x480;    // ... and of the older one

std::wstring TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// A press and release at one point of a window, as the mouse makes them.
void PostClick(HWND hwnd, int x, int y, WPARAM keys = 0) {
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, Point(x, y));
    PostMessageW(hwnd, WM_LBUTTONUP, keys, Point(x, y));
}

void PostKey(HWND hwnd, UINT key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(hwnd, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(hwnd, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

POINT CentreOf(HWND hwnd) {
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class CWin32ScenarioHost final : public IScenarioHost {
  public:
    CWin32ScenarioHost() : m_host(GetModuleHandleW(nullptr)) {}

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
        RECT rect;
        GetWindowRect(window, &rect);
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        // What the screen shows there, once every control has painted.
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // The system shows what was painted once the program waits for messages: a moment of it.
        MsgWaitForMultipleObjectsEx(0, nullptr, 200, QS_ALLINPUT, 0);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const std::string file = path.substr(0, path.rfind('.')) + ".bmp";
        const DWORD size = static_cast<DWORD>(width) * height * 4;
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + size;
        bool written = false;
        if (FILE* out = std::fopen(file.c_str(), "wb")) {
            written = std::fwrite(&header, sizeof header, 1, out) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                      std::fwrite(bits, size, 1, out) == 1;
            written = std::fclose(out) == 0 && written;
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return written;
    }

    std::vector<std::string> TakeProblems() override { return std::move(m_problems); }
    std::string TakeSkipReason() override { return std::move(m_skipReason); }

  private:
    static void ReadCombo(HWND box, ShownControl& shown) {
        const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, i, 0);
            std::wstring item(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
            SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
            shown.items.push_back(ui::FromWide(item));
        }
        shown.curSel = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    }

    static std::wstring CellOf(HWND list, int row, int column) {
        std::vector<wchar_t> text(1024, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return text.data();
    }

    static void ReadList(HWND list, ShownControl& shown) {
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        const int columns =
            header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
        for (int c = 0; c < columns; ++c) {
            std::vector<wchar_t> title(260, L'\0');
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT;
            column.pszText = title.data();
            column.cchTextMax = static_cast<int>(title.size());
            SendMessageW(list, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
            shown.columns.push_back(ui::FromWide(title.data()));
        }
        const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        const bool boxes =
            (SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
        for (int r = 0; r < rows; ++r) {
            ShownRow row;
            for (int c = 0; c < std::max(columns, 1); ++c) {
                row.texts.push_back(ui::FromWide(CellOf(list, r, c)));
            }
            const UINT state = static_cast<UINT>(
                SendMessageW(list, LVM_GETITEMSTATE, r, LVIS_SELECTED | LVIS_STATEIMAGEMASK));
            row.selected = (state & LVIS_SELECTED) != 0;
            row.checked = boxes && (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
            shown.rows.push_back(std::move(row));
        }
    }

    // The next line of the script, played on the topmost window as real input.
    bool Step(ui::CDialog& topmost) {
        m_progressAt = GetTickCount64();
        if (m_gaveUp) {
            return false;
        }
        if (m_pendingPick.box != nullptr) {
            // The second half of a pick: the list the line opened is showing now.
            const Pick pick = m_pendingPick;
            m_pendingPick = Pick{};
            ClickListEntry(pick);
            return true;
        }
        ui::Input input;
        if (!m_actions->NextInput(topmost, input)) {
            return false;
        }
        Perform(topmost, input);
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

    // Where a user's click on control `id` lands: the control itself, or the dialog under it
    // when the control cannot take the mouse (missing, hidden, disabled, or a static that lets
    // it through), as the system's hit test decides.
    void Aim(ui::CDialog& dlg, int id, HWND& target, POINT& at) const {
        HWND window = m_host.WindowOf(dlg);
        HWND control = m_host.ControlWindow(dlg, id);
        target = window;
        at = CentreOf(window);
        if (control == nullptr) {
            return;
        }
        at = CentreOf(control);
        const ui::ControlKind kind = dlg.Control(id).kind;
        const bool transparent = kind == ui::ControlKind::Static ||
                                 kind == ui::ControlKind::GroupBox || kind == ui::ControlKind::Icon;
        const bool live =
            IsWindowEnabled(control) && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
        if (live && !transparent) {
            target = control;
            return;
        }
        MapWindowPoints(control, window, &at, 1);
    }

    void Perform(ui::CDialog& dlg, const ui::Input& input) {
        HWND window = m_host.WindowOf(dlg);
        if (window == nullptr) {
            return;
        }
        // Another program on the same desktop may have taken the activation: the user brings
        // the window back to the front before going on.
        if (GetActiveWindow() != window) {
            SetForegroundWindow(window);
            SetActiveWindow(window);
        }
        HWND target = nullptr;
        POINT at{};
        switch (input.kind) {
            case ui::Input::Click:
                Aim(dlg, input.id, target, at);
                PostClick(target, at.x, at.y);
                break;
            case ui::Input::Check:
                if ((dlg.Control(input.id).check != 0) != input.on) {
                    Aim(dlg, input.id, target, at);
                    PostClick(target, at.x, at.y);
                }
                break;
            case ui::Input::Release:
                Aim(dlg, input.id, target, at);
                PostMessageW(target, WM_LBUTTONUP, 0, Point(at.x, at.y));
                break;
            case ui::Input::Press:
                // What a screen reader, UI Automation's Invoke or a test tool sends a button.
                if (HWND control = m_host.ControlWindow(dlg, input.id)) {
                    PostMessageW(control, BM_CLICK, 0, 0);
                }
                break;
            case ui::Input::KeyEnter:
            case ui::Input::KeyEsc:
            case ui::Input::KeySpace:
                PressKey(dlg, input);
                break;
            case ui::Input::Type:
                TypeText(dlg, input.id, input.text);
                break;
            case ui::Input::Choose:
                ChooseItem(dlg, input.id, input.text);
                break;
            case ui::Input::Tick:
                TickRow(dlg, input.id, input.row, input.on);
                break;
            case ui::Input::Select:
                SelectRows(dlg, input.id, input.rows);
                break;
            case ui::Input::DblClick:
                DoubleClickRow(dlg, input.id, input.row);
                break;
            case ui::Input::Header:
                ClickHeader(dlg, input.id, input.row);
                break;
            case ui::Input::SysMenu:
                PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(input.id), 0);
                break;
            case ui::Input::Close:
                PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            case ui::Input::Minimize:
                PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                break;
            case ui::Input::Restore:
                PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
                break;
        }
    }

    HWND LiveControl(ui::CDialog& dlg, int id) const {
        HWND control = m_host.ControlWindow(dlg, id);
        if (control == nullptr || !IsWindowEnabled(control) ||
            (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) == 0) {
            return nullptr;
        }
        return control;
    }

    void PressKey(ui::CDialog& dlg, const ui::Input& input) {
        // The user moves the focus there first (with Tab, or a click that is not part of the
        // story), then presses the key.
        if (HWND control = LiveControl(dlg, input.id)) {
            SetFocus(control);
        }
        HWND focus = GetFocus();
        if (focus == nullptr) {
            focus = m_host.WindowOf(dlg);
        }
        const UINT key = input.kind == ui::Input::KeyEnter ? VK_RETURN
                         : input.kind == ui::Input::KeyEsc ? VK_ESCAPE
                                                           : VK_SPACE;
        PostKey(focus, key);
        if (key == VK_RETURN) {
            PostMessageW(focus, WM_CHAR, L'\r', 1);
        } else if (key == VK_ESCAPE) {
            PostMessageW(focus, WM_CHAR, 27, 1);
        } else {
            PostMessageW(focus, WM_CHAR, L' ', 1);
        }
    }

    void TypeText(ui::CDialog& dlg, int id, const std::string& text) {
        HWND control = LiveControl(dlg, id);
        if (control == nullptr) {
            return;
        }
        HWND edit = control;
        if (dlg.Control(id).kind == ui::ControlKind::ComboBox) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(control, &info) && info.hwndItem != nullptr) {
                edit = info.hwndItem;
            }
        }
        // As a user selects what is there and types over it.
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        const std::wstring wide = ui::ToWide(text);
        if (wide.empty()) {
            PostKey(edit, VK_DELETE);
            return;
        }
        for (wchar_t c : wide) {
            PostMessageW(edit, WM_CHAR, c, 1);
        }
    }

    void ChooseItem(ui::CDialog& dlg, int id, const std::string& text) {
        HWND box = LiveControl(dlg, id);
        const ui::ControlState& state = dlg.Control(id);
        const auto found = std::find(state.items.begin(), state.items.end(), text);
        if (box == nullptr || found == state.items.end()) {
            return;  // the box does not offer it
        }
        const int index = static_cast<int>(found - state.items.begin());
        if (state.kind == ui::ControlKind::ComboBox) {
            // A box one can type into: its entry follows the text typed last, and Wine's walks
            // down the entries from there stop at an entry without a name. The user opens the
            // list with its arrow and clicks the entry; the click waits until the list shows.
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (!GetComboBoxInfo(box, &info) || info.hwndList == nullptr) {
                m_problems.push_back("no list to open in box " + std::to_string(id));
                return;
            }
            const RECT& arrow = info.rcButton;
            PostClick(box, (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2);
            m_pendingPick = Pick{box, info.hwndList, index, id};
            return;
        }
        // With the keyboard on the closed list: Down and Up walk the items (Down from no item
        // takes the first), as far as the one the user wants.
        HWND keys = box;
        SetFocus(keys);
        int at = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
        if (at < 0) {
            PostKey(keys, VK_DOWN);
            at = 0;
        }
        for (; at < index; ++at) {
            PostKey(keys, VK_DOWN);
        }
        for (; at > index; --at) {
            PostKey(keys, VK_UP);
        }
    }

    struct Pick {
        HWND box = nullptr;
        HWND list = nullptr;
        int index = -1;
        int id = 0;
    };

    void ClickListEntry(const Pick& pick) {
        if (!IsWindowVisible(pick.list)) {
            m_problems.push_back("the list of box " + std::to_string(pick.id) + " did not open");
            return;
        }
        // Scrolled to, as the user turns the wheel to an entry further down.
        RECT client;
        GetClientRect(pick.list, &client);
        RECT item{};
        SendMessageW(pick.list, LB_GETITEMRECT, pick.index, reinterpret_cast<LPARAM>(&item));
        if (item.top < client.top || item.bottom > client.bottom) {
            SendMessageW(pick.list, LB_SETTOPINDEX, pick.index, 0);
            SendMessageW(pick.list, LB_GETITEMRECT, pick.index, reinterpret_cast<LPARAM>(&item));
        }
        // The part of the entry the list shows: a long name runs past the list's right edge.
        RECT shown;
        if (!IntersectRect(&shown, &item, &client)) {
            m_problems.push_back("no entry " + std::to_string(pick.index) +
                                 " to click in the list of box " + std::to_string(pick.id));
            return;
        }
        PostClick(pick.list, (shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2);
    }

    static bool RowRect(HWND list, int row, UINT part, RECT& rect) {
        rect = RECT{};
        rect.left = static_cast<LONG>(part);
        return SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect)) != FALSE;
    }

    void TickRow(ui::CDialog& dlg, int id, int row, bool on) {
        HWND list = LiveControl(dlg, id);
        if (list == nullptr || row < 0 || row >= SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) {
            return;
        }
        const UINT state =
            static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
        if ((state == INDEXTOSTATEIMAGEMASK(2)) == on) {
            return;
        }
        SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
        RECT bounds;
        RowRect(list, row, LVIR_BOUNDS, bounds);
        // The box is where the list's own hit test says it is.
        const int y = (bounds.top + bounds.bottom) / 2;
        for (int x = bounds.left; x < bounds.left + 48; ++x) {
            LVHITTESTINFO hit{};
            hit.pt = POINT{x, y};
            SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
                PostClick(list, x + 3, y);
                return;
            }
        }
        m_problems.push_back("no check box to click in row " + std::to_string(row));
    }

    void SelectRows(ui::CDialog& dlg, int id, const std::vector<int>& rows) {
        HWND list = LiveControl(dlg, id);
        if (list == nullptr) {
            return;
        }
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        bool first = true;
        for (int row : rows) {
            if (row < 0 || row >= count) {
                continue;
            }
            SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
            RECT label;
            RowRect(list, row, LVIR_LABEL, label);
            PostClick(list, (label.left + label.right) / 2, (label.top + label.bottom) / 2,
                      first ? 0 : MK_CONTROL);
            first = false;
        }
        if (first) {
            // No row: a click on the empty area below the rows clears the selection.
            POINT empty;
            if (EmptyArea(list, empty)) {
                PostClick(list, empty.x, empty.y);
            } else {
                m_problems.push_back("no empty area to click in list " + std::to_string(id));
            }
        }
    }

    static bool EmptyArea(HWND list, POINT& at) {
        RECT client;
        GetClientRect(list, &client);
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        int below = 0;
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        if (header != nullptr) {
            RECT rect;
            GetWindowRect(header, &rect);
            below = rect.bottom - rect.top;
        }
        if (count > 0) {
            RECT last;
            RowRect(list, count - 1, LVIR_BOUNDS, last);
            below = std::max<int>(below, last.bottom);
        }
        at = POINT{std::min<LONG>(client.right - 1, 20), below + 4};
        return at.y < client.bottom;
    }

    void DoubleClickRow(ui::CDialog& dlg, int id, int row) {
        HWND list = LiveControl(dlg, id);
        if (list == nullptr) {
            return;
        }
        POINT at{};
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        if (row >= 0 && row < count) {
            SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
            RECT label;
            RowRect(list, row, LVIR_LABEL, label);
            at = POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
        } else if (!EmptyArea(list, at)) {
            m_problems.push_back("no empty area to double click in list " + std::to_string(id));
            return;
        }
        const LPARAM point = Point(at.x, at.y);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(list, WM_LBUTTONUP, 0, point);
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        PostMessageW(list, WM_LBUTTONUP, 0, point);
    }

    void ClickHeader(ui::CDialog& dlg, int id, int column) {
        HWND list = LiveControl(dlg, id);
        HWND header = list != nullptr
                          ? reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0))
                          : nullptr;
        RECT rect{};
        if (header == nullptr ||
            !SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect))) {
            return;
        }
        PostClick(header, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
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
        HWND button = GetDlgItem(box, id);
        if (button == nullptr) {
            m_problems.push_back("a box without button " + std::to_string(id));
            PostMessageW(box, WM_COMMAND, id, 0);
            return;
        }
        const POINT at = CentreOf(button);
        PostClick(button, at.x, at.y);
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
            case ui::CWin32Host::Modal::None:
                m_problems.push_back(
                    "a box nobody asked for: \"" +
                    platform::WideToUtf8(std::u16string(TextOf(box).begin(), TextOf(box).end())) +
                    "\"");
                PostMessageW(box, WM_CLOSE, 0, 0);
                return;
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
        HWND name = GetDlgItem(box, kFileNameBox);
        if (name == nullptr) {
            name = GetDlgItem(box, kFileNameEdit);
        }
        if (name == nullptr) {
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
        SetWindowTextW(name, ui::ToWide(path).c_str());
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
    Pick m_pendingPick;
    ULONGLONG m_progressAt = 0;  // when the program last came back for a line or a box came up
    bool m_gaveUp = false;
};

CWin32ScenarioHost* CWin32ScenarioHost::s_current = nullptr;

}  // namespace

std::unique_ptr<IScenarioHost> MakeWin32ScenarioHost() {
    return std::make_unique<CWin32ScenarioHost>();
}

}  // namespace scenarios
