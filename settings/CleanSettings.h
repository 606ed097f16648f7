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
    CFolderList customFolders;

    // The sheet's OK and Cancel.
    void CommitPending() { applied = pending; }
    void RevertPending() { pending = applied; }
};
