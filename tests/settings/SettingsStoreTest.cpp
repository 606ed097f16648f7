#include "settings/SettingsStore.h"

#include <cstring>

#include "settings/ValueFormats.h"
#include "tests/settings/SettingsTestKey.h"
#include "tests/support/Registry.h"

namespace {
using Names = std::vector<std::string>;

using SettingsStore = SettingsKeyTest;

void ExpectBothCopies(const CleanSettings& s)
{
    EXPECT_TRUE(SameValues(s.applied, s.pending));
}

TEST_F(SettingsStore, FirstStartWritesExactlyTheThreeDefaults)
{
    CleanSettings s;
    s.applied.cleanFavorites = s.pending.cleanFavorites = 1; // the load must overwrite both
    s.applied.hotKeyCode = s.pending.hotKeyCode = 65;
    LoadSettings(s);

    EXPECT_EQ(SettingValueNames(), (Names{"Content", "HotKey", "Mode"}));
    const struct {
        const char* name;
        const char* text;
    } defaults[] = {{"Content", "11111100"}, {"Mode", "00001"}, {"HotKey", "12700"}};
    for (const auto& d : defaults) {
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kSettingsKey, d.name, &type, &data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(data, std::string(d.text, std::strlen(d.text) + 1)) << "written with its NUL";
    }

    SettingValues expected; // the defaults
    EXPECT_TRUE(SameValues(s.applied, expected));
    ExpectBothCopies(s);
    EXPECT_EQ(s.customFolders.Size(), 0u);

    // The next start finds the same.
    CleanSettings again;
    LoadSettings(again);
    EXPECT_TRUE(SameValues(again.applied, expected));
    EXPECT_EQ(SettingValueNames(), (Names{"Content", "HotKey", "Mode"}));
}

TEST_F(SettingsStore, ContentIsReadOrReplacedByItsDefault)
{
    const struct {
        std::string stored;
        const char* after;
        int cache, history, custom;
    } cases[] = {
        {"x0000000", "x0000000", 1, 0, 0},                                    // any character but '0' is on
        {"00000001", "00000001", 0, 0, 1},  {"1111110", "11111100", 1, 1, 0}, // too short
        {"111111000", "11111100", 1, 1, 0},                                   // too long
        {"", "11111100", 1, 1, 0},          {"Error", "11111100", 1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        StoreValidTriple();
        Store("Content", c.stored);
        CleanSettings s;
        LoadSettings(s);
        EXPECT_EQ(Stored("Content"), c.after);
        EXPECT_EQ(s.applied.cleanCache, c.cache);
        EXPECT_EQ(s.applied.cleanHistory, c.history);
        EXPECT_EQ(s.applied.cleanCustomFolders, c.custom);
        ExpectBothCopies(s);
        // The other values are neither touched nor ignored.
        EXPECT_EQ(Stored("Mode"), "10030");
        EXPECT_EQ(Stored("HotKey"), "18117");
        EXPECT_EQ(s.applied.autoCleanMinutes, 30);
        EXPECT_EQ(s.applied.hotKeyCode, 81);
    }
}

TEST_F(SettingsStore, ModeIsReadOrReplacedByItsDefault)
{
    const struct {
        std::string stored;
        const char* after;
        int autoClean, minutes;
    } cases[] = {
        {"00090", "00090", 0, 90}, {"12880", "12880", 1, 2880}, {"x0007", "x0007", 1, 7},
        {"1 42x", "1 42x", 1, 42}, // atoi reading: blanks, then digits up to the first other character
        {"10000", "00001", 0, 1},  // a zero interval also turns auto-clean off
        {"1abcd", "00001", 0, 1},  // no digits: zero
        {"1-005", "00001", 0, 1},  // a negative interval is no interval either
        {"1003", "00001", 0, 1},   {"100300", "00001", 0, 1},   {"", "00001", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        StoreValidTriple();
        Store("Mode", c.stored);
        CleanSettings s;
        LoadSettings(s);
        EXPECT_EQ(Stored("Mode"), c.after);
        EXPECT_EQ(s.applied.autoClean, c.autoClean);
        EXPECT_EQ(s.applied.autoCleanMinutes, c.minutes);
        ExpectBothCopies(s);
        EXPECT_EQ(Stored("Content"), "01010101");
        EXPECT_EQ(Stored("HotKey"), "18117");
        EXPECT_EQ(s.applied.cleanHistory, 1);
        EXPECT_EQ(s.applied.hotKeyModifier, 17);
    }
}

TEST_F(SettingsStore, HotKeyIsReadOrReplacedByItsDefault)
{
    const struct {
        std::string stored;
        const char* after;
        int enabled, code, modifier, count;
    } cases[] = {
        {"12700", "12700", 1, 27, 0, 1},
        {"11816", "11816", 1, 18, 16, 2},
        {"13517", "13517", 1, 35, 17, 2},
        {"10016", "10016", 1, 27, 0, 1}, // no main key: Esc alone, value left as it is
        {"10000", "10000", 1, 27, 0, 1},
        {"08818", "08818", 0, 88, 18, 2}, // a disabled key keeps its keys
        {"00017", "00017", 0, 27, 0, 1},
        {"x6500", "x6500", 1, 65, 0, 1},
        {"1-5-1", "12700", 1, 27, 0, 1}, // negative codes name no key
        {"0-117", "02700", 0, 27, 0, 1}, //   and the switch stays as it was
        {"165-1", "16500", 1, 65, 0, 1},
        {"111200", "12700", 1, 27, 0, 1}, // a three-digit code makes six characters
        {"1270", "12700", 1, 27, 0, 1},
        {"Error", "12700", 1, 27, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        StoreValidTriple();
        Store("HotKey", c.stored);
        CleanSettings s;
        LoadSettings(s);
        EXPECT_EQ(Stored("HotKey"), c.after);
        EXPECT_EQ(s.applied.hotKeyEnabled, c.enabled);
        EXPECT_EQ(s.applied.hotKeyCode, c.code);
        EXPECT_EQ(s.applied.hotKeyModifier, c.modifier);
        EXPECT_EQ(s.applied.hotKeyKeyCount, c.count);
        ExpectBothCopies(s);
        EXPECT_EQ(Stored("Content"), "01010101");
        EXPECT_EQ(Stored("Mode"), "10030");
    }
}

TEST_F(SettingsStore, MissingValuesAreRepairedEachOnItsOwn)
{
    StoreValidTriple();
    DeleteValue(HKEY_CURRENT_USER, kSettingsKey, "Mode");
    CleanSettings s;
    LoadSettings(s);
    EXPECT_EQ(SettingValueNames(), (Names{"Content", "HotKey", "Mode"}));
    EXPECT_EQ(Stored("Mode"), "00001");
    EXPECT_EQ(Stored("Content"), "01010101");
    EXPECT_EQ(Stored("HotKey"), "18117");

    // A key that holds nothing at all is no first start, but gets the same.
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    SetDword(HKEY_CURRENT_USER, kSettingsKey, "Other", 1);
    CleanSettings empty;
    LoadSettings(empty);
    EXPECT_EQ(Stored("Content"), "11111100");
    EXPECT_EQ(Stored("Mode"), "00001");
    EXPECT_EQ(Stored("HotKey"), "12700");
    EXPECT_TRUE(SameValues(empty.applied, SettingValues()));
}

TEST_F(SettingsStore, ValueTypeIsIgnoredAndDataNeedNotEndInNul)
{
    StoreValidTriple();
    HKEY hKey;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    ::RegSetValueExA(hKey, "Mode", 0, REG_BINARY, reinterpret_cast<const BYTE*>("10045"), 5);
    ::RegSetValueExA(hKey, "HotKey", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("13517\0zz"), 9);
    EXPECT_EQ(ReadSettingText(hKey, "Mode"), "10045");
    EXPECT_EQ(ReadSettingText(hKey, "HotKey"), "13517");
    EXPECT_EQ(ReadSettingText(hKey, "NoSuchValue"), "Error");
    ::RegCloseKey(hKey);

    CleanSettings s;
    LoadSettings(s);
    EXPECT_EQ(s.applied.autoClean, 1);
    EXPECT_EQ(s.applied.autoCleanMinutes, 45);
    EXPECT_EQ(s.applied.hotKeyCode, 35);
}

void ExpectRoundTrip(const char* name, const std::string& text)
{
    SCOPED_TRACE(text);
    StoreValidTriple();
    Store(name, text);
    CleanSettings s;
    LoadSettings(s);
    Store("Content", "garbage");
    Store("Mode", "garbage");
    Store("HotKey", "garbage");
    SaveSettings(s);
    EXPECT_EQ(Stored(name), text);
}

TEST_F(SettingsStore, SavedValuesLoadAsTheyWere)
{
    ExpectRoundTrip("Mode", "00090");
    ExpectRoundTrip("Mode", "12880");
    ExpectRoundTrip("HotKey", "11816");
    ExpectRoundTrip("HotKey", "08818");
    ExpectRoundTrip("HotKey", "10905");
    ExpectRoundTrip("Content", "00000000");
    ExpectRoundTrip("Content", "10011011");

    // Flags are written as "1" whatever their value; the interval gets four digits.
    CleanSettings s;
    s.applied.cleanCache = 5;
    s.applied.cleanHistory = 0;
    s.applied.autoClean = 0;
    s.applied.autoCleanMinutes = 7;
    s.applied.hotKeyCode = 9;
    s.applied.hotKeyModifier = 0;
    s.pending.autoCleanMinutes = 55; // the pending copy is never written
    SaveSettings(s);
    EXPECT_EQ(Stored("Content"), "10111100");
    EXPECT_EQ(Stored("Mode"), "00007");
    EXPECT_EQ(Stored("HotKey"), "10900");
    s.applied.autoClean = 1;
    s.applied.autoCleanMinutes = 2880;
    SaveSettings(s);
    EXPECT_EQ(Stored("Mode"), "12880");
}

TEST_F(SettingsStore, ThreeDigitKeyCodeIsLostAtTheNextStart)
{
    CleanSettings s;
    s.applied.hotKeyCode = 112; // F1
    s.applied.hotKeyModifier = 0;
    SaveSettings(s);
    EXPECT_EQ(Stored("HotKey"), "111200");
    CleanSettings next;
    LoadSettings(next);
    EXPECT_EQ(Stored("HotKey"), "12700");
    EXPECT_EQ(next.applied.hotKeyCode, 27);
    EXPECT_EQ(next.applied.hotKeyKeyCount, 1);
}

std::vector<std::string> Folders(const CleanSettings& s)
{
    return s.customFolders.Snapshot();
}

TEST_F(SettingsStore, FolderListLoadsInOrderAndShrinksWithoutLeftovers)
{
    StoreValidTriple();
    SetDword(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber", 3);
    Store("Custom1", "C:\\one");
    Store("Custom2", "C:\\two");
    Store("Custom3", "C:\\three");
    Store("Unknown", "kept by nobody");
    CleanSettings s;
    LoadSettings(s);
    EXPECT_EQ(Folders(s), (Names{"C:\\one", "C:\\two", "C:\\three"}));

    ASSERT_TRUE(s.customFolders.RemoveFirst("C:\\two"));
    SaveSettings(s);
    EXPECT_EQ(SettingValueNames(),
              (Names{"Content", "Custom1", "Custom2", "CustomNumber", "HotKey", "Mode"}));
    EXPECT_EQ(Stored("Custom1"), "C:\\one");
    EXPECT_EQ(Stored("Custom2"), "C:\\three");
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x02\0\0\0", 4));

    CleanSettings reloaded;
    LoadSettings(reloaded);
    EXPECT_EQ(Folders(reloaded), (Names{"C:\\one", "C:\\three"}));

    // An empty list still stores its count of 0.
    reloaded.customFolders.Clear();
    SaveSettings(reloaded);
    EXPECT_EQ(SettingValueNames(), (Names{"Content", "CustomNumber", "HotKey", "Mode"}));
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber", &type, &data));
    EXPECT_EQ(data, std::string("\0\0\0\0", 4));
}

TEST_F(SettingsStore, AnnouncedFolderCountIsNotTrusted)
{
    const struct {
        DWORD count;
        int present;
        size_t loaded;
    } cases[] = {
        {5, 2, 2},          {0x7FFFFFFF, 1, 1}, // ends at the first missing value, at once
        {0xFFFFFFFD, 3, 0},                     // negative: none
        {0, 3, 0},          {2, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
        StoreValidTriple();
        SetDword(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber", c.count);
        for (int k = 1; k <= c.present; ++k)
            Store(("Custom" + std::to_string(k)).c_str(), "C:\\f" + std::to_string(k));
        CleanSettings s;
        EndsWithin(60000, [&] { LoadSettings(s); });
        ASSERT_EQ(s.customFolders.Size(), c.loaded);
        for (size_t i = 0; i < c.loaded; ++i)
            EXPECT_EQ(Folders(s)[i], "C:\\f" + std::to_string(i + 1));
    }

    // A gap ends the list; a count that is no 4-byte number reads up to the gap.
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    StoreValidTriple();
    Store("CustomNumber", "3");
    Store("Custom1", "C:\\a");
    Store("Custom2", "C:\\b");
    Store("Custom4", "C:\\d");
    CleanSettings s;
    LoadSettings(s);
    EXPECT_EQ(Folders(s), (Names{"C:\\a", "C:\\b"}));

    // No count at all: no folders, silently.
    DeleteValue(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber");
    CleanSettings none;
    LoadSettings(none);
    EXPECT_EQ(none.customFolders.Size(), 0u);
}
} // namespace
