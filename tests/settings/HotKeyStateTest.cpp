#include "settings/HotKeyState.h"

#include <gtest/gtest.h>

#include "controls/Messages.h"
#include "framework/Thread.h"
#include "tests/support/Windows.h"

namespace {
// What the hook functions were called with: how often, and on which thread.
struct HookCalls {
    int installs = 0;
    int removals = 0;
    DWORD lastThread = 0;
};
HookCalls g_calls;

void CountInstall()
{
    ++g_calls.installs;
    g_calls.lastThread = ::GetCurrentThreadId();
}

void CountRemove()
{
    ++g_calls.removals;
    g_calls.lastThread = ::GetCurrentThreadId();
}

CleanSettings* Switched(CleanSettings& s, int enabled)
{
    s.applied.hotKeyEnabled = enabled;
    s.pending.hotKeyEnabled = 1 - enabled; // only the applied copy counts
    return &s;
}

// A window whose procedure hands WM_APPLY_HOTKEY_STATE to its CHotKeyState, as
// the main window does.
struct OwnerWindow {
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_APPLY_HOTKEY_STATE && s_pState)
            return s_pState->OnApplyMessage(wp, lp);
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    }
    explicit OwnerWindow(CHotKeyState* state)
    {
        s_pState = state;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "HotKeyStateOwner";
        ::RegisterClassA(&wc);
        hWnd = ::CreateWindowExA(0, wc.lpszClassName, "owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~OwnerWindow()
    {
        ::DestroyWindow(hWnd);
        s_pState = nullptr;
    }
    HWND hWnd = nullptr;
    static CHotKeyState* s_pState;
};
CHotKeyState* OwnerWindow::s_pState = nullptr;

// Runs Apply on a worker started the program's way while this thread pumps.
struct ApplyJob {
    CHotKeyState* state;
    CleanSettings* settings;
    volatile LONG done;
};

UINT ApplyOnWorker(LPVOID param)
{
    auto* job = static_cast<ApplyJob*>(param);
    job->state->Apply(*job->settings);
    ::InterlockedExchange(&job->done, 1);
    return 0;
}

void ApplyFromWorker(CHotKeyState& state, CleanSettings* settings)
{
    ApplyJob job = {&state, settings, 0};
    ASSERT_TRUE(AfxBeginThread(ApplyOnWorker, &job));
    ASSERT_TRUE(PumpUntil([&] { return job.done != 0; }));
}

class HotKeyState : public ::testing::Test {
protected:
    void SetUp() override { g_calls = HookCalls(); }
};

TEST_F(HotKeyState, FollowsTheAppliedSwitchAndNeverInstallsTwice)
{
    CHotKeyState state(CountInstall, CountRemove);
    CleanSettings s;
    EXPECT_FALSE(state.IsInstalled());

    state.Apply(*Switched(s, 0)); // off and not installed: nothing
    EXPECT_EQ(g_calls.installs + g_calls.removals, 0);

    state.Apply(*Switched(s, 1));
    state.Apply(*Switched(s, 1));
    EXPECT_EQ(g_calls.installs, 1);
    EXPECT_TRUE(state.IsInstalled());

    s.applied.hotKeyCode = 65; // a changed key needs no new hook
    state.Apply(s);
    EXPECT_EQ(g_calls.installs, 1);

    state.Apply(*Switched(s, 0));
    state.Apply(*Switched(s, 0));
    EXPECT_EQ(g_calls.removals, 1);
    EXPECT_FALSE(state.IsInstalled());

    state.Apply(*Switched(s, 1));
    state.Remove();
    state.Remove();
    EXPECT_EQ(g_calls.installs, 2);
    EXPECT_EQ(g_calls.removals, 2);
    EXPECT_FALSE(state.IsInstalled());
}

TEST_F(HotKeyState, RunsWhereCalledUntilTheOwnerWindowIsKnown)
{
    CHotKeyState state(CountInstall, CountRemove);
    CleanSettings s;
    ApplyFromWorker(state, Switched(s, 1));
    EXPECT_EQ(g_calls.installs, 1);
    EXPECT_NE(g_calls.lastThread, ::GetCurrentThreadId());
}

TEST_F(HotKeyState, WorkerCallsAreHandedToTheOwnerWindowsThread)
{
    CHotKeyState state(CountInstall, CountRemove);
    OwnerWindow owner(&state);
    ASSERT_TRUE(owner.hWnd);
    state.SetOwnerWindow(owner.hWnd);
    CleanSettings s;

    ApplyFromWorker(state, Switched(s, 1));
    EXPECT_EQ(g_calls.installs, 1);
    EXPECT_EQ(g_calls.lastThread, ::GetCurrentThreadId());
    EXPECT_TRUE(state.IsInstalled()); // done by the time Apply returned

    ApplyFromWorker(state, Switched(s, 1));
    EXPECT_EQ(g_calls.installs, 1);

    ApplyFromWorker(state, Switched(s, 0));
    EXPECT_EQ(g_calls.removals, 1);
    EXPECT_EQ(g_calls.lastThread, ::GetCurrentThreadId());

    // On the owner's own thread it runs at once.
    state.Apply(*Switched(s, 1));
    EXPECT_EQ(g_calls.installs, 2);
    state.Remove();
    EXPECT_EQ(g_calls.removals, 2);
}

TEST_F(HotKeyState, IgnoresMessagesItDidNotSend)
{
    CHotKeyState state(CountInstall, CountRemove);
    OwnerWindow owner(&state);
    state.SetOwnerWindow(owner.hWnd);

    EXPECT_EQ(::SendMessageA(owner.hWnd, WM_APPLY_HOTKEY_STATE, 1, 12345), 0);
    EXPECT_EQ(::SendMessageA(owner.hWnd, WM_APPLY_HOTKEY_STATE, 1, 0), 0);
    EXPECT_EQ(g_calls.installs, 0);
    EXPECT_EQ(::SendMessageA(owner.hWnd, WM_APPLY_HOTKEY_STATE, 1, reinterpret_cast<LPARAM>(&state)), 1);
    EXPECT_EQ(g_calls.installs, 1);
}

TEST_F(HotKeyState, AGoneOwnerWindowLeavesTheHookAlone)
{
    CHotKeyState state(CountInstall, CountRemove);
    CleanSettings s;
    {
        OwnerWindow owner(&state);
        state.SetOwnerWindow(owner.hWnd);
    }
    ApplyFromWorker(state, Switched(s, 1));
    EXPECT_EQ(g_calls.installs, 0);
    EXPECT_FALSE(state.IsInstalled());
}
} // namespace
