#include "settings/CleanSettings.h"

void CleanSettings::CommitPending()
{
    static int SettingValues::*const kValues[] = {
        &SettingValues::autoClean,      &SettingValues::hotKeyEnabled,    &SettingValues::cleanCache,
        &SettingValues::cleanHistory,   &SettingValues::cleanCookies,     &SettingValues::cleanTypedUrls,
        &SettingValues::cleanRecent,    &SettingValues::cleanSystemTemp,  &SettingValues::cleanFavorites,
        &SettingValues::cleanCustomFolders, &SettingValues::hotKeyCode,   &SettingValues::hotKeyModifier,
        &SettingValues::hotKeyKeyCount, &SettingValues::autoCleanMinutes,
    };
    static_assert(sizeof(kValues) / sizeof(kValues[0]) * sizeof(int) == sizeof(SettingValues),
                  "every value of SettingValues is listed");
    for (int SettingValues::*value : kValues)
        if (pending.*value != sheetStart.*value)
            applied.*value = pending.*value;
    pending = applied;
}
