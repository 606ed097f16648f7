// The program's configuration: every value in an applied copy, which the
// program acts on and the store writes, and a pending copy that the settings
// pages write, and the user's folder list. The main window's thread owns the
// program's record; the settings sheet works on a copy of its own.
#pragma once
#include "engine/Categories.h"
#include "settings/FolderList.h"

struct SettingValues {
    int autoClean = 0;
    int hotKeyEnabled = 1;
    // One flag per category, named and defaulted by its row.
#define CATEGORY(id, name, log, on, content, field, ...) int field = on;
#include "engine/Categories.def"
#undef CATEGORY
    int hotKeyCode = 27;
    int hotKeyModifier = 0;
    int hotKeyKeyCount = 1;
    int autoCleanMinutes = 1;
    // Whether the Run key starts this program: read from there when the sheet
    // opens, never kept in the settings key.
    int startWithWindows = 0;
    // A clean run when Windows ends the session: "EndSessionClean" = "1".
    int endSessionClean = 0;
};

// Each category's flag, in the table's order.
constexpr int SettingValues::*kCategoryFlags[] = {
#define CATEGORY(id, name, log, on, content, field, ...) &SettingValues::field,
#include "engine/Categories.def"
#undef CATEGORY
};
static_assert(sizeof(kCategoryFlags) / sizeof(kCategoryFlags[0]) == kCategoryCount, "a flag per category");

inline int& CategoryFlag(SettingValues& values, Category c)
{
    return values.*kCategoryFlags[Index(c)];
}
inline int CategoryFlag(const SettingValues& values, Category c)
{
    return values.*kCategoryFlags[Index(c)];
}

struct CleanSettings {
    SettingValues applied;
    SettingValues pending;
    CFolderList customFolders;
    // "EndSessionClean" is written only once the sheet changed it; until then
    // a save leaves the stored value (or its absence) as it is.
    bool writeEndSession = false;

    // The sheet's copy at its start: pending from applied.
    void StartSheet() { pending = applied; }
    // The sheet's OK, given its copy: takes over the pending values that
    // differ from the sheet's applied ones (what its pages changed), so that a
    // change made meanwhile elsewhere (the tray menu) stays unless a page
    // changed the same value; and the sheet's folder list.
    void CommitSheet(const CleanSettings& sheet);
    // The sheet's Cancel: only its folder list, which the Custom page edits at
    // once, is kept.
    void RevertSheet(const CleanSettings& sheet);
};
