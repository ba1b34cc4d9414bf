// The Win32 host with the editor's real window and real input messages: a button pressed by
// BM_CLICK, an open drop-down list that keeps Enter and Esc, and where modal windows and
// message boxes open.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "resources/Resource.h"
#include "ui/Placement.h"
#include "ui/win32/Win32Host.h"

#include <windows.h>

namespace {

// The editor's window with no program behind it: it notes what reaches it. "Standard..." opens
// the About box over it, "Detect" a message box.
class CProbe : public ui::CDialog {
  public:
    CProbe() : ui::CDialog(res::InputFormatTemplate()) {}
    bool OnCommand(int id) override {
        commands.push_back(id);
        if (id == res::IDC_STANDARD) {
            app::CAboutDlg about;
            about.DoModal();
        } else if (id == res::IDC_DETECT) {
            ui::MessageBox("Probe");
        }
        return true;
    }
    bool PreTranslateMessage(const ui::Message& message) override {
        if (message.kind == ui::Message::LButtonUp) {
            releases.push_back(message.targetId);
        }
        return false;
    }
    std::vector<int> commands;
    std::vector<int> releases;
};

ui::ScreenRect RectOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Where the framework would put `hwnd` over `owner` (nullptr: the work area).
ui::ScreenRect Centred(HWND hwnd, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : hwnd, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;
    const ui::ScreenRect around = owner != nullptr ? RectOf(owner) : ui::ScreenRect{};
    return ui::CentredWindow(RectOf(hwnd), owner != nullptr ? &around : nullptr,
                             {work.left, work.top, work.right, work.bottom});
}

void PostKey(HWND hwnd, UINT key, wchar_t character = 0) {
    PostMessageW(hwnd, WM_KEYDOWN, key, 1);
    if (character != 0) {
        PostMessageW(hwnd, WM_CHAR, character, 1);
    }
    PostMessageW(hwnd, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

bool Dropped(HWND box) {
    return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

// The message box of the test's thread, seen from a timer while it runs its own loop.
struct {
    HWND owner = nullptr;
    ui::ScreenRect shown;
    ui::ScreenRect expected;
    bool seen = false;
} g_box;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"#32770" && GetWindow(hwnd, GW_OWNER) == g_box.owner &&
        IsWindowVisible(hwnd)) {
        g_box.seen = true;
        g_box.shown = RectOf(hwnd);
        g_box.expected = Centred(hwnd, g_box.owner);
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    return TRUE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &FindBox, 0);
    if (g_box.seen) {
        KillTimer(nullptr, id);
    }
}

class Win32Input : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display to make windows on (the test script starts one)";
        }
        ui::ResetQuit();  // a run before this one may have ended with the program's end
        ui::SetHost(&m_host);
    }
    void TearDown() override {
        ui::SetHost(nullptr);
        ui::ResetQuit();
    }

    // Plays each step once the loop has nothing left to do, then ends the run.
    void Play(std::vector<std::function<void(ui::CDialog&)>> steps) {
        size_t next = 0;
        m_host.SetIdleHandler([&](ui::CDialog& top) {
            if (next >= steps.size()) {
                return false;
            }
            steps[next++](top);
            return true;
        });
        m_host.RunModal(m_probe);
        m_host.SetIdleHandler(nullptr);
    }
    HWND Control(int id) { return m_host.ControlWindow(m_probe, id); }

    ui::CWin32Host m_host{GetModuleHandleW(nullptr)};
    CProbe m_probe;
};

TEST_F(Win32Input, BmClickIsAClickThePreFilterSeesAndAGreyButtonIgnoresIt) {
    Play({[&](ui::CDialog&) {
              PostMessageW(Control(res::IDC_OK), BM_CLICK, 0, 0);
              PostMessageW(Control(res::IDC_RIGHT), BM_CLICK, 0, 0);
          },
          [&](ui::CDialog& dlg) {
              dlg.GetDlgItem(res::IDC_TEST).EnableWindow(false);
              PostMessageW(Control(res::IDC_TEST), BM_CLICK, 0, 0);
          },
          [](ui::CDialog&) {}});
    // The arrow has no command of its own: its release is what the editor acts on.
    EXPECT_EQ(m_probe.commands, (std::vector<int>{res::IDC_OK, res::IDC_RIGHT}));
    EXPECT_EQ(m_probe.releases, (std::vector<int>{res::IDC_OK, res::IDC_RIGHT}));
}

TEST_F(Win32Input, TabMovesTheFocusTheDialogLayersWayAndTheWindowShowsIt) {
    std::vector<int> dialog;
    std::vector<bool> shown;  // the real focus is on the control the dialog says
    DWORD selection = 0;
    LRESULT cues = 0;
    auto look = [&](ui::CDialog& dlg) {
        dialog.push_back(dlg.GetFocus());
        shown.push_back(GetFocus() == Control(dlg.GetFocus()));
    };
    Play({[&](ui::CDialog& dlg) {
              look(dlg);
              dlg.SetDlgItemText(res::IDC_V_ACTIVE, "1080");
              PostKey(GetFocus(), VK_TAB, L'\t');
          },
          [&](ui::CDialog& dlg) {
              look(dlg);
              // Landing on an edit by Tab selects its whole text, and focus cues show.
              selection =
                  static_cast<DWORD>(SendMessageW(Control(res::IDC_V_ACTIVE), EM_GETSEL, 0, 0));
              cues = SendMessageW(m_host.WindowOf(dlg), WM_QUERYUISTATE, 0, 0);
              BYTE keys[256] = {};
              GetKeyboardState(keys);
              keys[VK_SHIFT] = 0x80;
              SetKeyboardState(keys);
              PostKey(GetFocus(), VK_TAB, L'\t');
          },
          [&](ui::CDialog& dlg) {
              BYTE keys[256] = {};
              GetKeyboardState(keys);
              keys[VK_SHIFT] = 0;
              SetKeyboardState(keys);
              look(dlg);
              SetFocus(Control(res::IDC_UP));
              PostKey(Control(res::IDC_UP), VK_DOWN);
          },
          [&](ui::CDialog& dlg) { look(dlg); }});
    // Shift+Tab went back; Down on "Up" went on to the next button of the window's one group.
    EXPECT_EQ(dialog, (std::vector<int>{res::IDC_H_ACTIVE, res::IDC_V_ACTIVE, res::IDC_H_ACTIVE,
                                        res::IDC_DOWN}));
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 4);
    EXPECT_EQ(cues & UISF_HIDEFOCUS, 0);
}

TEST_F(Win32Input, AnOpenDropDownListKeepsEnterAndEscForItself) {
    std::vector<bool> dropped;
    int chosen = -2;
    Play({[&](ui::CDialog&) {
              SetFocus(Control(res::IDC_H_POLARITY));
              PostKey(Control(res::IDC_H_POLARITY), VK_F4);
          },
          [&](ui::CDialog&) {
              dropped.push_back(Dropped(Control(res::IDC_H_POLARITY)));
              PostKey(Control(res::IDC_H_POLARITY), VK_ESCAPE, 27);
          },
          [&](ui::CDialog&) {
              dropped.push_back(Dropped(Control(res::IDC_H_POLARITY)));
              PostKey(Control(res::IDC_H_POLARITY), VK_F4);
          },
          [&](ui::CDialog&) {
              dropped.push_back(Dropped(Control(res::IDC_H_POLARITY)));
              PostKey(Control(res::IDC_H_POLARITY), VK_DOWN);
              PostKey(Control(res::IDC_H_POLARITY), VK_DOWN);
              PostKey(Control(res::IDC_H_POLARITY), VK_RETURN, L'\r');
          },
          [&](ui::CDialog& dlg) {
              dropped.push_back(Dropped(Control(res::IDC_H_POLARITY)));
              chosen = dlg.Control(res::IDC_H_POLARITY).curSel;
              // Closed, the list leaves the keys to the window again.
              PostKey(Control(res::IDC_H_POLARITY), VK_ESCAPE, 27);
          },
          [](ui::CDialog&) {}});
    EXPECT_EQ(dropped, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(chosen, 1);  // "Positive", the item highlighted when Enter closed the list
    EXPECT_EQ(m_probe.commands, (std::vector<int>{IDCANCEL}));
}

TEST_F(Win32Input, ModalWindowsAndMessageBoxesOpenCentredOnTheirOwner) {
    ui::ScreenRect main, mainExpected, about, aboutExpected;
    Play({[&](ui::CDialog& dlg) {
              HWND window = m_host.WindowOf(dlg);
              main = RectOf(window);
              mainExpected = Centred(window, nullptr);
              PostMessageW(Control(res::IDC_STANDARD), BM_CLICK, 0, 0);
          },
          [&](ui::CDialog& dlg) {
              HWND window = m_host.WindowOf(dlg);
              about = RectOf(window);
              aboutExpected = Centred(window, m_host.WindowOf(m_probe));
              PostMessageW(m_host.ControlWindow(dlg, IDOK), BM_CLICK, 0, 0);
          },
          [&](ui::CDialog&) {
              g_box = {};
              g_box.owner = m_host.WindowOf(m_probe);
              SetTimer(nullptr, 0, 50, &LookForBox);
              PostMessageW(Control(res::IDC_DETECT), BM_CLICK, 0, 0);
          },
          [](ui::CDialog&) {}});
    EXPECT_EQ(main, mainExpected);
    EXPECT_EQ(about, aboutExpected);
    EXPECT_NE(about.left, 0);
    EXPECT_TRUE(g_box.seen);
    EXPECT_EQ(g_box.shown, g_box.expected);
    EXPECT_EQ(m_probe.commands, (std::vector<int>{res::IDC_STANDARD, res::IDC_DETECT}));
}

}  // namespace
