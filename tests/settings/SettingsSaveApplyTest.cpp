// Saves that keep the key readable throughout, and the record handed to the
// clean run's folder table.
#include "app/CleanRunner.h"
#include "settings/SettingsStore.h"

#include <atomic>
#include <thread>

#include "engine/FolderTable.h"
#include "settings/ValueFormats.h"
#include "tests/settings/SettingsTestKey.h"
#include "tests/support/Registry.h"
#include "tests/support/Scratch.h"

namespace {
using SettingsStore = SettingsKeyTest;

TEST_F(SettingsStore, EndSessionCleanIsWrittenOnlyOnceTheSheetChangesIt)
{
    CleanSettings s;
    LoadSettings(s); // first start: the three values only
    EXPECT_EQ(SettingValueNames(), (std::vector<std::string>{"Content", "HotKey", "Mode"}));
    EXPECT_EQ(s.applied.endSessionClean, 0);
    SaveSettings(s);
    EXPECT_EQ(Stored("EndSessionClean"), "<missing>");

    Store("EndSessionClean", "yes"); // not "1": off, and kept as it is
    CleanSettings loaded;
    LoadSettings(loaded);
    EXPECT_EQ(loaded.applied.endSessionClean, 0);
    SaveSettings(loaded);
    EXPECT_EQ(Stored("EndSessionClean"), "yes");

    CleanSettings sheet = loaded;
    sheet.StartSheet();
    sheet.pending.endSessionClean = 1;
    loaded.CommitSheet(sheet);
    SaveSettings(loaded);
    EXPECT_EQ(Stored("EndSessionClean"), "1");
    CleanSettings again;
    LoadSettings(again);
    EXPECT_EQ(again.applied.endSessionClean, 1);
    EXPECT_EQ(again.pending.endSessionClean, 1);
}

TEST_F(SettingsStore, SaveKeepsTheKeyAndItsValuesPresentThroughout)
{
    CleanSettings s;
    for (int k = 0; k < 4; ++k)
        s.customFolders.Append("C:\\folder" + std::to_string(k));
    SaveSettings(s);

    // A handle opened before the save still names the same, living key.
    HKEY before;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &before), ERROR_SUCCESS);
    s.applied.hotKeyCode = 65;
    SaveSettings(s);
    EXPECT_EQ(ReadSettingText(before, "HotKey"), "16500");
    ::RegCloseKey(before);

    // A reader never finds a value missing that every save writes, while saves
    // that grow and shrink the list go on.
    std::atomic<bool> stop(false);
    std::atomic<int> reads(0), misses(0);
    std::thread reader([&] {
        const char* always[] = {"Content", "Mode",    "HotKey",  "CustomNumber",
                                "Custom1", "Custom2", "Custom3", "Custom4"};
        while (!stop) {
            for (const char* name : always) {
                DWORD type = 0;
                std::string data;
                if (!ReadValue(HKEY_CURRENT_USER, kSettingsKey, name, &type, &data))
                    ++misses;
                ++reads;
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        s.applied.hotKeyCode = 40 + i % 50;
        if (i % 2)
            s.customFolders.Append("C:\\extra");
        else
            s.customFolders.RemoveFirst("C:\\extra");
        SaveSettings(s);
    }
    stop = true;
    reader.join();
    EXPECT_GT(reads.load(), 20);
    EXPECT_EQ(misses.load(), 0);

    // A key that went away meanwhile is made again.
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsParent);
    SaveSettings(s);
    EXPECT_EQ(Stored("Content"), "11111100");
}

TEST_F(SettingsStore, ApplyContentFlagsSetsExactlyTheMatchingTableFlags)
{
    CFolderTable table;
    // The eight first categories keep their characters of "Content": a value
    // an earlier version stored means what it meant. Later rows come after.
    const Category stored[] = {Category::Cache,  Category::History, Category::Cookies,   Category::TypedUrls,
                               Category::Recent, Category::Temp,    Category::Favorites, Category::Custom};
    int position = 0;
    for (Category c : stored)
        EXPECT_EQ(Row(c).content, position++) << Row(c).name;
    for (int on = 0; on < kCategoryCount; ++on) {
        SCOPED_TRACE(on);
        int flags[kCategoryCount] = {};
        flags[on] = 1;
        // Through the stored form, so that each row's character is checked
        // against what the store reads and the table enables.
        StoreValidTriple();
        Store("Content", FormatContent(flags));
        CleanSettings s;
        LoadSettings(s);
        ApplyContentFlags(s, table);
        for (const CategoryRow& row : kCategories)
            EXPECT_EQ(table.Enabled(row.id), row.content == on ? TRUE : FALSE) << row.name;
    }

    // Only a flag equal to 1 enables its category.
    CleanSettings odd;
    odd.applied.cleanCache = 2;
    odd.applied.cleanHistory = -1;
    ApplyContentFlags(odd, table);
    EXPECT_EQ(table.Enabled(Category::Cache), FALSE);
    EXPECT_EQ(table.Enabled(Category::History), FALSE);
    EXPECT_EQ(table.Enabled(Category::Cookies), TRUE);
}
} // namespace
