#include "settings/CleanSettings.h"

#include <gtest/gtest.h>

TEST(CleanSettings, OkTakesOverOnlyWhatThePagesChanged)
{
    CleanSettings s;
    CleanSettings sheet = s;
    sheet.StartSheet();
    // Meanwhile the tray menu turns auto mode on and the hot key off.
    s.applied.autoClean = 1;
    s.applied.hotKeyEnabled = 0;
    // The pages write every value they show; only the interval and one
    // category differ from what they started with.
    sheet.pending.autoCleanMinutes = 30;
    sheet.pending.cleanFavorites = 1;
    sheet.customFolders.Append("C:\\one");
    s.CommitSheet(sheet);
    EXPECT_EQ(s.applied.autoClean, 1);
    EXPECT_EQ(s.applied.hotKeyEnabled, 0);
    EXPECT_EQ(s.applied.autoCleanMinutes, 30);
    EXPECT_EQ(s.applied.cleanFavorites, 1);
    EXPECT_EQ(s.pending.autoClean, 1) << "pending follows what is in force";
    EXPECT_EQ(s.customFolders.Snapshot(), std::vector<std::string>{"C:\\one"});

    // A page's change to a value that also changed outside wins.
    sheet = s;
    sheet.StartSheet();
    s.applied.hotKeyCode = 65;
    sheet.pending.hotKeyCode = 113;
    sheet.pending.hotKeyKeyCount = 2;
    s.CommitSheet(sheet);
    EXPECT_EQ(s.applied.hotKeyCode, 113);
    EXPECT_EQ(s.applied.hotKeyKeyCount, 2);
}

TEST(CleanSettings, CancelKeepsOnlyTheFolderList)
{
    CleanSettings s;
    CleanSettings sheet = s;
    sheet.StartSheet();
    s.applied.autoClean = 1; // the tray menu, meanwhile
    sheet.pending.cleanCache = 0;
    sheet.pending.autoClean = 0;
    sheet.customFolders.Append("C:\\one");
    s.RevertSheet(sheet);
    EXPECT_EQ(s.applied.cleanCache, 1);
    EXPECT_EQ(s.applied.autoClean, 1);
    EXPECT_EQ(s.pending.autoClean, 1);
    EXPECT_EQ(s.customFolders.Size(), 1u);
}
