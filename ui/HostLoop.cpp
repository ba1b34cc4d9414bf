#include "ui/HostLoop.h"

namespace ui {

bool Stopped(const CDialog& dlg) {
    return dlg.HasEnded() || Quitting();
}

void CInputQueue::Queue(Input input) {
    if (!m_inputs.empty()) {
        Input& last = m_inputs.back();
        if ((input.kind == Input::Select || input.kind == Input::Type) && last.kind == input.kind &&
            last.id == input.id) {
            last = std::move(input);
            return;
        }
    }
    m_inputs.push_back(std::move(input));
}

bool CInputQueue::Take(Input& input) {
    if (m_inputs.empty()) {
        return false;
    }
    input = std::move(m_inputs.front());
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
    CInputQueue& inputs = window.Inputs();
    for (;;) {
        ServePosted(dlg);
        if (Stopped(dlg)) {
            break;
        }
        Input input;
        if (inputs.Take(input)) {
            DispatchInput(dlg, input);
            // Earlier, a widget would be set back to a state that actions still waiting in the
            // queue are about to change.
            if (!Stopped(dlg) && inputs.Empty()) {
                window.PushAll();
            }
            continue;
        }
        if (window.PumpEvents()) {
            continue;
        }
        window.Idle();
        if (idle) {
            if (!idle(dlg)) {
                Quit(0);
                break;
            }
            continue;
        }
        window.WaitForEvents();
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
