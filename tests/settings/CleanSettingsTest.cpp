#include "settings/CleanSettings.h"

#include <gtest/gtest.h>

TEST(CleanSettings, OkTakesOverOnlyWhatThePagesChanged)
{
    CleanSettings s;
    s.StartSheet();
    // Meanwhile the tray menu turns auto mode on and the hot key off.
    s.applied.autoClean = 1;
    s.applied.hotKeyEnabled = 0;
    // The pages write every value they show; only the interval and one
    // category differ from what they started with.
    s.pending.autoCleanMinutes = 30;
    s.pending.cleanFavorites = 1;
    s.CommitPending();
    EXPECT_EQ(s.applied.autoClean, 1);
    EXPECT_EQ(s.applied.hotKeyEnabled, 0);
    EXPECT_EQ(s.applied.autoCleanMinutes, 30);
    EXPECT_EQ(s.applied.cleanFavorites, 1);
    EXPECT_EQ(s.pending.autoClean, 1) << "pending follows what is in force";

    // A page's change to a value that also changed outside wins.
    s.StartSheet();
    s.applied.hotKeyCode = 65;
    s.pending.hotKeyCode = 113;
    s.pending.hotKeyKeyCount = 2;
    s.CommitPending();
    EXPECT_EQ(s.applied.hotKeyCode, 113);
    EXPECT_EQ(s.applied.hotKeyKeyCount, 2);
}
