// The Win32 host through a blocking wait of the program: the wait cursor shows while it lasts,
// and what the user did meanwhile stays queued, in order, for the modal loop afterwards.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "ui/win32/Win32Host.h"

namespace {

// A clock that notes what the screen showed while the program slept on it.
class CWatchingClock final : public platform::IClock {
  public:
    explicit CWatchingClock(ui::CWin32Host& host) : m_host(host) {}
    uint64_t NowMs() override { return m_now; }
    void Sleep(uint32_t ms) override {
        m_now += ms;
        cursorDuring = GetCursor();
        waitingDuring = m_host.Waiting();
    }
    HCURSOR cursorDuring = nullptr;
    bool waitingDuring = false;

  private:
    ui::CWin32Host& m_host;
    uint64_t m_now = 0;
};

TEST(Win32Wait, TheWaitCursorShowsAndTheUsersInputWaitsInOrder) {
    ui::CWin32Host host(GetModuleHandleW(nullptr));
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    // A click and a key made while the program is busy.
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);

    CWatchingClock clock(host);
    host.Wait(clock, 500);
    EXPECT_EQ(clock.NowMs(), 500u);
    EXPECT_TRUE(clock.waitingDuring);
    EXPECT_EQ(clock.cursorDuring, LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_FALSE(host.Waiting());
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));

    std::vector<UINT> served;
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_PAINT) {
            served.push_back(msg.message);
        }
    }
    EXPECT_EQ(served, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN}));
    DestroyWindow(window);
}

TEST(Win32Wait, EveryBlockingWaitOfTheProgramGoesThroughTheHost) {
    ui::CWin32Host host(GetModuleHandleW(nullptr));
    CWatchingClock clock(host);
    platform::SetClock(&clock);
    platform::SetWaitHandler(&host);
    platform::Sleep(1000);
    platform::SetWaitHandler(nullptr);
    platform::SetClock(nullptr);
    EXPECT_EQ(clock.NowMs(), 1000u);
    EXPECT_TRUE(clock.waitingDuring);
}

}  // namespace
