// The program's configuration: every value in an applied copy, which the
// program acts on and the store writes, and a pending copy that the settings
// pages write; the user's folder list exists once and is edited in place.
#pragma once
#include "engine/FolderList.h"

struct SettingValues {
    int autoClean = 0;
    int hotKeyEnabled = 1;
    int cleanCache = 1;
    int cleanHistory = 1;
    int cleanCookies = 1;
    int cleanTypedUrls = 1;
    int cleanRecent = 1;
    int cleanSystemTemp = 1;
    int cleanFavorites = 0;
    int cleanCustomFolders = 0;
    int hotKeyCode = 27;
    int hotKeyModifier = 0;
    int hotKeyKeyCount = 1;
    int autoCleanMinutes = 1;
};

struct CleanSettings {
    SettingValues applied;
    SettingValues pending;
    // The applied values when the sheet opened: OK takes over only the pending
    // values that differ from them, so that a change made meanwhile elsewhere
    // (the tray menu, a button) stays unless a page changed the same value.
    SettingValues sheetStart;
    CFolderList customFolders;

    // The sheet's start, OK and Cancel.
    void StartSheet() { pending = sheetStart = applied; }
    void CommitPending();
    void RevertPending() { pending = applied; }
};
