// Modeless windows and timers: what one modal run's loop serves beside its own dialog. Runs nest
// as the modal dialogs do; only the innermost one is served, so a modal window over a modeless
// one keeps it from taking input and from ticking, as an application-modal window does.
#include <algorithm>
#include <limits>

#include "platform/Platform.h"
#include "ui/RunWindows.h"

namespace ui {
namespace {

struct Served {
    CDialog* dlg = nullptr;
    IModalWindow* window = nullptr;
    std::unique_ptr<IModalWindow> owned;
};

struct Run {
    CDialog* dlg = nullptr;
    IModalWindow* window = nullptr;
    std::vector<Served> modeless;
    CDialog* active = nullptr;
};

std::vector<Run>& Runs() {
    static std::vector<Run> runs;
    return runs;
}

Run* Innermost() {
    return Runs().empty() ? nullptr : &Runs().back();
}

// The windows of the innermost run, its own first.
std::vector<std::pair<CDialog*, IModalWindow*>> Windows() {
    std::vector<std::pair<CDialog*, IModalWindow*>> windows;
    if (Run* run = Innermost()) {
        windows.emplace_back(run->dlg, run->window);
        for (const Served& served : run->modeless)
            windows.emplace_back(served.dlg, served.window);
    }
    return windows;
}

bool Add(CDialog& dlg, IModalWindow& window, std::unique_ptr<IModalWindow> owned) {
    Run* run = Innermost();
    if (run == nullptr)
        return false;
    run->modeless.push_back({&dlg, &window, std::move(owned)});
    run->active = &dlg;
    return true;
}

}  // namespace

bool AddModeless(CDialog& dlg, IModalWindow& window) {
    return Add(dlg, window, nullptr);
}

bool AddModeless(CDialog& dlg, std::unique_ptr<IModalWindow> window) {
    IModalWindow& kept = *window;
    return Add(dlg, kept, std::move(window));
}

void RemoveModeless(const CDialog& dlg) {
    for (Run& run : Runs()) {
        auto found = std::find_if(run.modeless.begin(), run.modeless.end(),
                                  [&](const Served& served) { return served.dlg == &dlg; });
        if (found == run.modeless.end())
            continue;
        run.modeless.erase(found);
        // As Windows gives the activation back to the owner of a window that goes.
        if (run.active == &dlg)
            run.active = run.dlg;
        return;
    }
}

std::vector<CDialog*> ServedDialogs() {
    std::vector<CDialog*> dialogs;
    for (const auto& [dlg, window] : Windows())
        dialogs.push_back(dlg);
    return dialogs;
}

CDialog* ActiveWindow() {
    Run* run = Innermost();
    if (run == nullptr)
        return nullptr;
    return run->active != nullptr ? run->active : run->dlg;
}

void SetActiveWindow(CDialog& dlg) {
    if (Run* run = Innermost()) {
        for (const auto& [served, window] : Windows()) {
            if (served == &dlg)
                run->active = &dlg;
        }
    }
}

bool QueueInput(const CDialog& dlg, Input input) {
    for (const auto& [served, window] : Windows()) {
        if (served == &dlg) {
            window->Inputs().Queue(std::move(input));
            return true;
        }
    }
    return false;
}

bool NextTimerDue(uint64_t& due) {
    bool any = false;
    for (const auto& [dlg, window] : Windows()) {
        for (const CDialog::Timer& timer : dlg->Timers()) {
            if (!any || timer.due < due)
                due = timer.due;
            any = true;
        }
    }
    return any;
}

namespace detail {

namespace {

// The windows of the innermost run hear that a modal window came up over them, or went.
void EnableInnermost(bool enabled) {
    for (const auto& [dlg, window] : Windows())
        dlg->OnEnable(enabled);
}

}  // namespace

CRunWindows::CRunWindows(CDialog& dlg, IModalWindow& window) {
    EnableInnermost(false);
    Runs().push_back(Run{&dlg, &window, {}, &dlg});
}

CRunWindows::~CRunWindows() {
    // A window goes with the run it was opened over, as an owned window goes with its owner.
    for (;;) {
        Run& run = Runs().back();
        if (run.modeless.empty())
            break;
        CDialog* dlg = run.modeless.back().dlg;
        dlg->DestroyWindow();
        // A host that did not take it off the loop: it is gone all the same.
        if (!run.modeless.empty() && run.modeless.back().dlg == dlg)
            run.modeless.pop_back();
    }
    Runs().pop_back();
    // A program that is ending serves nothing more.
    if (!Quitting())
        EnableInnermost(true);
}

bool CRunWindows::ServeModelessPosted() {
    for (const Served& served : Innermost()->modeless) {
        if (!served.dlg->PostedCommands().empty()) {
            ServePosted(*served.dlg);
            return true;
        }
    }
    return false;
}

bool CRunWindows::TakeInput(CDialog*& target, Input& input) {
    IModalWindow* oldest = nullptr;
    for (const auto& [dlg, window] : Windows()) {
        CInputQueue& queue = window->Inputs();
        if (!queue.Empty() &&
            (oldest == nullptr || queue.FrontStamp() < oldest->Inputs().FrontStamp())) {
            oldest = window;
            target = dlg;
        }
    }
    return oldest != nullptr && oldest->Inputs().Take(input);
}

bool CRunWindows::QueuesEmpty() const {
    for (const auto& [dlg, window] : Windows()) {
        if (!window->Inputs().Empty())
            return false;
    }
    return true;
}

void CRunWindows::PushAll() {
    for (const auto& [dlg, window] : Windows())
        window->PushAll();
}

void CRunWindows::IdleAll() {
    for (const auto& [dlg, window] : Windows())
        window->Idle();
}

bool CRunWindows::FireDueTimer() {
    const uint64_t now = platform::Clock().NowMs();
    for (const auto& [dlg, window] : Windows()) {
        int id = 0;
        if (dlg->TakeDueTimer(now, id)) {
            dlg->OnTimer(id);
            return true;
        }
    }
    return false;
}

int64_t CRunWindows::WaitTimeout() const {
    uint64_t due = 0;
    // Only real time moves while the toolkit sleeps; a test's clock is its driver's to move.
    if (&platform::Clock() != &platform::RealClock() || !NextTimerDue(due))
        return -1;
    const uint64_t now = platform::Clock().NowMs();
    const uint64_t left = due > now ? due - now : 0;
    return static_cast<int64_t>(std::min<uint64_t>(left, std::numeric_limits<int32_t>::max()));
}

}  // namespace detail

// --- The dialog's side.

bool CDialog::CreateModeless() {
    if (m_created)
        return false;
    m_modeless = true;
    if (!Host().OpenModeless(*this)) {
        m_modeless = false;
        if (m_created)
            Destroy();
        return false;
    }
    return true;
}

void CDialog::DestroyWindow() {
    if (!m_modeless || !m_created)
        return;
    OnDestroy();
    m_timers.clear();
    Host().CloseModeless(*this);
    RemoveModeless(*this);
    if (m_created)
        Destroy();
    m_modeless = false;
}

void CDialog::BringToFront() {
    SetActiveWindow(*this);
    Host().BringToFront(*this);
}

void CDialog::OnDestroy() {}

void CDialog::OnTimer(int) {}

void CDialog::OnEnable(bool) {}

void CDialog::SetTimer(int id, uint32_t ms) {
    KillTimer(id);
    m_timers.push_back({id, ms, platform::Clock().NowMs() + ms});
}

void CDialog::KillTimer(int id) {
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [id](const Timer& timer) { return timer.id == id; }),
                   m_timers.end());
}

bool CDialog::TakeDueTimer(uint64_t now, int& id) {
    Timer* first = nullptr;
    for (Timer& timer : m_timers) {
        if (timer.due <= now && (first == nullptr || timer.due < first->due))
            first = &timer;
    }
    if (first == nullptr)
        return false;
    first->due = now + first->interval;
    id = first->id;
    return true;
}

bool IHost::OpenModeless(CDialog& dlg) {
    if (!dlg.IsCreated())
        dlg.Create();
    if (!AddModeless(dlg, std::make_unique<CQueueWindow>()))
        return false;
    InitDialog(dlg);
    return true;
}

void IHost::CloseModeless(CDialog& dlg) {
    RemoveModeless(dlg);
    dlg.Destroy();
}

}  // namespace ui
