// The signal window: what the locked card sees, live. For each input the status its driver
// reports; the size, line-length count and line frequency the card measures (the reads of the
// editor's Detect, without its settling pause); the standard timings that agree, as "From
// input" finds them; and a way from the chosen one to a new format. A modeless window beside
// the main window, read again every second on the platform clock while it is open.
#pragma once

#include <vector>

#include "standards/Timing.h"
#include "timing/InputSignal.h"
#include "ui/Dialog.h"

namespace app {

class CVuverezeDlg;

extern const char* const kMsgSignalGone;
extern const char* const kMsgSignalNone;
extern const char* const kMsgSignalPaused;
extern const char* const kMsgSignalChoose;
extern const char* const kMsgSignalOne;

class CSignalDlg : public ui::CDialog {
  public:
    static constexpr int kRefreshTimer = 1;
    static constexpr int kCatchUpTimer = 2;  // once, as soon as the window is free again
    static constexpr uint32_t kRefreshMs = 1000;

    explicit CSignalDlg(CVuverezeDlg& owner);

    bool OnInitDialog() override;
    bool OnCommand(int id) override;
    bool OnNotify(const ui::Notify& notify) override;
    void OnUserChange(int id) override;
    void OnTimer(int id) override;
    void OnEnable(bool enabled) override;
    void OnOK() override;

    // Reads the card and shows what it sees now.
    void Refresh();
    // The timing editor for a new format, filled from the chosen timing as "Standard..." and
    // OK fill it; the user then tests and stores it as always.
    void AddFormat();

  private:
    void ShowReading(const timing::InputReading& r);
    // The list follows the matches; the chosen one stays chosen while it still agrees, and
    // a match that is alone is chosen at once.
    void ShowMatches(const std::vector<standards::Listed>& matches);
    int SelectedMatch();
    void EnableAdd();

    CVuverezeDlg& m_owner;
    std::vector<standards::Listed> m_matches;
    bool m_paused = false;
};

}  // namespace app
