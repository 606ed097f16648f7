#include "settings/HotKeyState.h"

#include <gtest/gtest.h>

namespace {
// How often the hook functions were called.
struct HookCalls {
    int installs = 0;
    int removals = 0;
};
HookCalls g_calls;

void CountInstall()
{
    ++g_calls.installs;
}

void CountRemove()
{
    ++g_calls.removals;
}

CleanSettings* Switched(CleanSettings& s, int enabled)
{
    s.applied.hotKeyEnabled = enabled;
    s.pending.hotKeyEnabled = 1 - enabled; // only the applied copy counts
    return &s;
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
} // namespace
