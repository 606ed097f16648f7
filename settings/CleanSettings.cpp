#include "settings/CleanSettings.h"

void CleanSettings::CommitSheet(const CleanSettings& sheet)
{
    static int SettingValues::*const kValues[] = {
        &SettingValues::autoClean,      &SettingValues::hotKeyEnabled,
#define CATEGORY(id, name, log, on, content, field, ...) &SettingValues::field,
#include "engine/Categories.def"
#undef CATEGORY
        &SettingValues::hotKeyCode,     &SettingValues::hotKeyModifier,
        &SettingValues::hotKeyKeyCount, &SettingValues::autoCleanMinutes,
        &SettingValues::startWithWindows, &SettingValues::endSessionClean,
    };
    static_assert(sizeof(kValues) / sizeof(kValues[0]) * sizeof(int) == sizeof(SettingValues),
                  "every value of SettingValues is listed");
    for (int SettingValues::*value : kValues)
        if (sheet.pending.*value != sheet.applied.*value)
            applied.*value = sheet.pending.*value;
    if (sheet.pending.endSessionClean != sheet.applied.endSessionClean)
        writeEndSession = true;
    pending = applied;
    customFolders = sheet.customFolders;
}

void CleanSettings::RevertSheet(const CleanSettings& sheet)
{
    pending = applied;
    customFolders = sheet.customFolders;
}
