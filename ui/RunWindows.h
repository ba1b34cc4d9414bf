// The windows one modal run's loop serves, as the loop itself works with them (internal to the
// dialog layer; hosts use the functions of HostLoop.h).
#pragma once

#include <cstdint>

#include "ui/Dialog.h"
#include "ui/HostLoop.h"

namespace ui::detail {

// One modal run's windows for as long as its loop runs: entering makes it the innermost run,
// leaving closes the modeless windows opened over it.
class CRunWindows {
  public:
    CRunWindows(CDialog& dlg, IModalWindow& window);
    ~CRunWindows();
    CRunWindows(const CRunWindows&) = delete;
    CRunWindows& operator=(const CRunWindows&) = delete;

    // Serves the posted commands of the modeless windows; true when it served any.
    bool ServeModelessPosted();
    // The oldest queued action of all the windows, and the dialog it is for.
    bool TakeInput(CDialog*& target, Input& input);
    bool QueuesEmpty() const;
    void PushAll();
    void IdleAll();
    // Fires the first timer that is due; true when one fired.
    bool FireDueTimer();
    // How long the toolkit may sleep before a timer is due (-1: until an event comes).
    int64_t WaitTimeout() const;
};

}  // namespace ui::detail
