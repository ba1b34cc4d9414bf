// The machinery every host runs a dialog with: the modal loop, the queue of the user's actions,
// the rule that makes a press and a release a click, and the skeleton of a blocking wait. A real
// host adds only what its toolkit does: it creates and shows the window, pushes the state into
// its widgets, turns the toolkit's events into Input records and pumps the events.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "ui/Dialog.h"

namespace ui {

// The dialog has ended or the program is quitting: its loop has nothing more to serve.
bool Stopped(const CDialog& dlg);

// The user's actions on one window, in the order they came. A list reports a new selection in
// steps (one row at a time, the focused row apart) and a field reports every key typed into
// it: the last report of a run of them on the same control says it all, so the run makes one.
// Every action is stamped as it is queued, so that a loop serving several windows takes them
// in the order they came across its windows.
class CInputQueue {
  public:
    void Queue(Input input);
    bool Take(Input& input);
    bool Empty() const { return m_inputs.empty(); }
    // The stamp of the oldest action; only while not empty.
    uint64_t FrontStamp() const { return m_inputs.front().first; }

  private:
    std::deque<std::pair<uint64_t, Input>> m_inputs;
};

// Whether a left-button release makes a click of the press before it. A control that had the
// press keeps the mouse, as a Windows control captures it: the release is addressed to it
// wherever the pointer is, and is a click only over it. The dialog itself keeps nothing: a
// release after a press on it is addressed to the control under the pointer. A release without
// a press is never a click.
class CClickRule {
  public:
    void Press(int id);
    bool Pressed() const { return m_pressed; }
    int PressedId() const { return m_pressId; }
    // `under`: the control the pointer is over (0: the dialog, or nothing of this window);
    // `overPressed`: the pointer is over the control that had the press, as the toolkit says.
    Input Release(int under, bool overPressed);

  private:
    bool m_pressed = false;
    int m_pressId = 0;  // the control the left button went down on (0: the dialog)
};

// Called whenever the loop has nothing left to do; false: the user is done, and the program is
// told to quit. Test drivers play their next action there.
using IdleHandler = std::function<bool(CDialog& topmost)>;

// What a host's window does for the modal loop.
class IModalWindow {
  public:
    virtual ~IModalWindow() = default;
    virtual CInputQueue& Inputs() = 0;
    // The queue is served: every widget shows what the dialog holds again, since the toolkit's
    // own reactions (a box toggled, a text typed) are not the dialog's.
    virtual void PushAll() {}
    // Serves events the toolkit has pending; true when there may be something to do now.
    virtual bool PumpEvents() = 0;
    // Nothing is left to do: the moment for what waits for a quiet loop (lists filled row by
    // row are shown now).
    virtual void Idle() {}
    // Sleeps until the toolkit has an event, or for at most timeoutMs (-1: no limit).
    virtual void WaitForEvents(int64_t timeoutMs) { (void)timeoutMs; }
};

// A window whose only events are the actions queued into it: a window without a screen, whose
// user is whoever queues (a test, the headless host's input source).
class CQueueWindow final : public IModalWindow {
  public:
    CInputQueue& Inputs() override { return m_inputs; }
    bool PumpEvents() override { return false; }

  private:
    CInputQueue m_inputs;
};

// Serves posted commands first, as a message queue does, then the queued actions in order,
// then the toolkit's events, then timers that are due (as WM_TIMER comes only when nothing else
// waits), until the dialog ends or the program quits. Beside its own dialog the loop serves the
// modeless windows opened while it is the innermost run: their posted commands, their actions
// (one order across all the windows), their timers. A window under the innermost run's window
// is served by nothing until that run ends. When the loop has nothing to do it waits in the
// toolkit until the next timer is due (on the real clock; a test's clock moves only when its
// driver moves it). When the run ends, the modeless windows opened over it close. Returns the
// dialog's result, or IDCANCEL when it did not end.
intptr_t RunModalLoop(CDialog& dlg, IModalWindow& window, const IdleHandler& idle);

// --- The windows of the innermost modal run, for hosts and their drivers.
// Registers a modeless window with the innermost run's loop (the window may be the loop's to
// keep); it becomes the window the user works in. False when no modal run is going on.
bool AddModeless(CDialog& dlg, IModalWindow& window);
bool AddModeless(CDialog& dlg, std::unique_ptr<IModalWindow> window);
void RemoveModeless(const CDialog& dlg);
// The innermost run's dialog, then its modeless windows in the order they opened.
std::vector<CDialog*> ServedDialogs();
// The window the user works in: the last one opened, turned to (Input::Activate) or brought
// to the front, of the innermost run; the run's own dialog when its modeless windows are gone.
// nullptr outside every run.
CDialog* ActiveWindow();
void SetActiveWindow(CDialog& dlg);
// Queues an action for a window the innermost run serves; false when it serves no such window.
bool QueueInput(const CDialog& dlg, Input input);
// When the innermost run's next timer is due, on the platform clock; false without one.
bool NextTimerDue(uint64_t& due);

// Takes a run's window off the host's stack, destroys it and then forgets the dialog's controls,
// however the run ends.
template <class Window>
class CModalFrame {
  public:
    CModalFrame(std::vector<Window*>& open, std::unique_ptr<Window> window)
        : m_open(open), m_owned(std::move(window)), m_dlg(m_owned->Dialog()) {
        m_open.push_back(m_owned.get());
    }
    // A window the frame does not own, standing for `dlg` on the stack.
    CModalFrame(std::vector<Window*>& open, Window& window, CDialog& dlg)
        : m_open(open), m_dlg(dlg) {
        m_open.push_back(&window);
    }
    ~CModalFrame() {
        m_open.pop_back();
        m_owned.reset();
        m_dlg.Destroy();
    }
    CModalFrame(const CModalFrame&) = delete;
    CModalFrame& operator=(const CModalFrame&) = delete;

  private:
    std::vector<Window*>& m_open;
    std::unique_ptr<Window> m_owned;
    CDialog& m_dlg;
};

// A host's blocking waits: the wait cursor for the outermost wait, the windows painted before
// and during it, and the user's input left queued for the loop after it. On a clock of a test
// the wait is the clock's alone.
class CHostWait : public platform::IWaitHandler {
  public:
    void Wait(platform::IClock& clock, uint32_t ms) final;
    bool Waiting() const { return m_waiting; }

  protected:
    ~CHostWait() override = default;
    virtual void BeginWait() {}
    virtual void ShowWaitCursor() = 0;
    // Paints what the program changed, without taking user input.
    virtual void PaintPending() = 0;
    // Sleeps at most `ms` on the real clock, painting meanwhile; may return early.
    virtual void WaitSlice(uint64_t ms) = 0;
    // The outermost wait is over.
    virtual void EndWait() = 0;

  private:
    bool m_waiting = false;
};

}  // namespace ui
