// The input lines of a story played on real Win32 windows: each line becomes the messages a
// user's mouse and keyboard would make, posted to the control under the point they would reach.
#pragma once

#include <string>
#include <vector>

#include "ui/win32/Win32Host.h"

namespace scenarios {

class CWin32InputPlayer {
  public:
    // What cannot be played (a control without the part to click) goes to `problems`.
    CWin32InputPlayer(const ui::CWin32Host& host, std::vector<std::string>& problems)
        : m_host(host), m_problems(problems) {}

    void Perform(ui::CDialog& dlg, const ui::Input& input);
    // The second half of a pick in a box one can type into, once the list the last line opened
    // shows; false when no pick waits.
    bool FinishPick();

  private:
    struct Pick {
        HWND box = nullptr;
        HWND list = nullptr;
        int index = -1;
        int id = 0;
        int clicks = 1;  // on the arrow, so far
    };

    void Aim(ui::CDialog& dlg, int id, HWND& target, POINT& at) const;
    HWND LiveControl(ui::CDialog& dlg, int id) const;
    void PressKey(ui::CDialog& dlg, const ui::Input& input);
    static UINT KeyOf(ui::Input::Kind kind);
    void HoldShift(bool down);
    void TypeText(ui::CDialog& dlg, int id, const std::string& text);
    void ChooseItem(ui::CDialog& dlg, int id, const std::string& text);
    void TickRow(ui::CDialog& dlg, int id, int row, bool on);
    void SelectRows(ui::CDialog& dlg, int id, const std::vector<int>& rows);
    void DoubleClickRow(ui::CDialog& dlg, int id, int row);
    void ClickHeader(ui::CDialog& dlg, int id, int column);
    void TurnTo(const ui::Input& input);

    const ui::CWin32Host& m_host;
    std::vector<std::string>& m_problems;
    Pick m_pendingPick;
    bool m_shiftHeld = false;
};

}  // namespace scenarios
