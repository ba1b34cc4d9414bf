#include "ui/HostLoop.h"

#include "ui/RunWindows.h"

namespace ui {

bool Stopped(const CDialog& dlg) {
    return dlg.HasEnded() || Quitting();
}

namespace {

// One count for every queue of the process: the order in which the user acted, whatever window.
uint64_t g_stamps = 0;

}  // namespace

void CInputQueue::Queue(Input input) {
    if (!m_inputs.empty()) {
        Input& last = m_inputs.back().second;
        if ((input.kind == Input::Select || input.kind == Input::Type) && last.kind == input.kind &&
            last.id == input.id) {
            last = std::move(input);
            return;
        }
    }
    m_inputs.emplace_back(++g_stamps, std::move(input));
}

bool CInputQueue::Take(Input& input) {
    if (m_inputs.empty()) {
        return false;
    }
    input = std::move(m_inputs.front().second);
    m_inputs.pop_front();
    return true;
}

void CClickRule::Press(int id) {
    m_pressed = true;
    m_pressId = id;
}

Input CClickRule::Release(int under, bool overPressed) {
    Input input;
    if (!m_pressed) {
        input.kind = Input::Release;
        input.id = under;
    } else if (m_pressId != 0) {
        input.kind = overPressed ? Input::Click : Input::Release;
        input.id = m_pressId;
    } else {
        input.kind = under == 0 ? Input::Click : Input::Release;
        input.id = under;
    }
    m_pressed = false;
    return input;
}

intptr_t RunModalLoop(CDialog& dlg, IModalWindow& window, const IdleHandler& idle) {
    detail::CRunWindows windows(dlg, window);
    for (;;) {
        ServePosted(dlg);
        if (Stopped(dlg)) {
            break;
        }
        if (windows.ServeModelessPosted()) {
            continue;
        }
        CDialog* target = nullptr;
        Input input;
        if (windows.TakeInput(target, input)) {
            if (input.kind == Input::Activate) {
                // The window whose queue it came through, when it names that one; else the
                // first window of that template.
                CDialog* turned = target->Template().id == input.id ? target : nullptr;
                for (CDialog* served : ServedDialogs()) {
                    if (turned == nullptr && served->Template().id == input.id)
                        turned = served;
                }
                if (turned != nullptr)
                    SetActiveWindow(*turned);
            } else {
                DispatchInput(*target, input);
            }
            // Earlier, a widget would be set back to a state that actions still waiting in the
            // queue are about to change.
            if (!Stopped(dlg) && windows.QueuesEmpty()) {
                windows.PushAll();
            }
            continue;
        }
        if (window.PumpEvents() || windows.FireDueTimer()) {
            continue;
        }
        windows.IdleAll();
        if (idle) {
            if (!idle(*ActiveWindow())) {
                Quit(0);
                break;
            }
            continue;
        }
        window.WaitForEvents(windows.WaitTimeout());
    }
    return dlg.HasEnded() ? dlg.Result() : IDCANCEL;
}

void CHostWait::Wait(platform::IClock& clock, uint32_t ms) {
    BeginWait();
    const bool nested = m_waiting;
    m_waiting = true;
    if (!nested) {
        ShowWaitCursor();
    }
    PaintPending();
    if (&clock == &platform::RealClock()) {
        const uint64_t end = clock.NowMs() + ms;
        for (uint64_t now = clock.NowMs(); now < end; now = clock.NowMs()) {
            WaitSlice(end - now);
        }
    } else {
        clock.Sleep(ms);
    }
    m_waiting = nested;
    if (!nested) {
        EndWait();
    }
}

}  // namespace ui
